function fit_print(r)
% fit_print(R): the result of soil_fit as a short table.
  printf('soil_fit %s: %s: %s\n', r.kind, r.status, r.message);
  printf('  %-18s %-14s %-12s %s\n', 'parameter', 'value', 'std. error', 'unit');
  for p = r.parameters
    if ~p.fitted
      se = 'held';
    elseif p.at_bound
      se = 'at bound';
    else
      se = sprintf('%.3g', p.standard_error);
    end
    printf('  %-18s %-14.6g %-12s %s\n', p.name, p.value, se, p.unit);
  end
  for q = r.quantities
    if q.observations > 0
      printf('  %s: %d readings, RMSE %.4g %s, R^2 %.5f\n', q.name, q.observations, q.rmse, ...
             q.unit, q.r_squared);
    end
  end
end
