function fit_report(r, truth)
%FIT_REPORT  Print a soil_fit result against the values its data came from.
%   fit_report(R, TRUTH) prints each fitted value with its standard error
%   beside the true value of the struct TRUTH, and the goodness of fit; it
%   stops with an error unless the fit converged and every value lies
%   within three standard errors of the truth.

  if ~r.ok
    error('fit_report:noFit', '%s fit: %s: %s', r.kind, r.status, r.message);
  end
  fprintf('%s fit: %s\n', r.kind, r.message);
  fprintf('  %-18s %-12s %-24s %s\n', 'parameter', 'true', 'fitted +- std. error', 'off by');
  names = fieldnames(truth);
  bad = {};
  for k = 1:numel(names)
    v = r.values.(names{k});
    se = r.errors.(names{k});
    off = (v - truth.(names{k})) / se;
    fprintf('  %-18s %-12.6g %-24s %+.2f SE\n', names{k}, truth.(names{k}), ...
            sprintf('%.6g +- %.3g', v, se), off);
    if ~(abs(off) < 3)
      bad{end + 1} = names{k};
    end
  end
  for q = r.quantities
    if q.observations > 0
      fprintf('  %s: %d readings, RMSE %.4g %s, R^2 %.5f\n', q.name, q.observations, q.rmse, ...
              q.unit, q.r_squared);
    end
  end
  if ~isempty(bad)
    error('fit_report:notRecovered', '%s fit: %s not within three standard errors', ...
          r.kind, strjoin(bad, ', '));
  end
end
