function fit_plot(r, file, hump)
% fit_plot(R, FILE, HUMP): the data of the soil_fit result R against its
% fitted curves, one curve per plate size, normal stress or wheel load,
% printed to the PNG FILE. Draws without a display (Octave's gnuplot
% toolkit where it is installed).
  dpi = 100;
  if exist('OCTAVE_VERSION', 'builtin') && any(strcmp(available_graphics_toolkits(), 'gnuplot'))
    warning('off', 'Octave:gnuplot-graphics', 'local');
    graphics_toolkit('gnuplot');
    dpi = 72;  % gnuplot's cairo terminal lays out the page at 72 dpi
  end
  panels = 1 + 2 * strcmp(r.kind, 'wheel');
  h = figure('Visible', 'off');
  set(h, 'PaperUnits', 'inches', 'PaperPosition', [0 0 800 (250 * panels + 150)] / dpi);
  v = r.values;
  D = r.data;
  colours = lines(8);
  switch r.kind
    case 'plate'
      groups = unique(D(:, 1))';
      hold on;
      for g = 1:numel(groups)
        b = groups(g);
        rows = D(:, 1) == b;
        z = linspace(0, max(D(rows, 2)), 100);
        p = z .^ v.sinkage_exponent * (v.k_c / b + v.k_phi);
        c = colours(mod(g - 1, 8) + 1, :);
        plot(1e3 * D(rows, 2), 1e-3 * D(rows, 3), 'o', 'Color', c, 'MarkerFaceColor', c);
        plot(1e3 * z, 1e-3 * p, '-', 'Color', c, 'LineWidth', 2);
      end
      labels = arrayfun(@(b) sprintf('b = %g m', b), groups, 'UniformOutput', false);
      legend(reshape([labels; strcat(labels, ', fitted')], 1, []), 'Location', 'northwest');
      xlabel('sinkage z (mm)');
      ylabel('pressure p (kPa)');
      title(sprintf('Plate sinkage: n = %.3g, k_c = %.4g, k_{phi} = %.4g', ...
                    v.sinkage_exponent, v.k_c, v.k_phi));
      grid on;
    case 'shear'
      groups = unique(D(:, 1))';
      kr = 1;
      if hump
        kr = v.kr;
      end
      hold on;
      for g = 1:numel(groups)
        sigma = groups(g);
        rows = D(:, 1) == sigma;
        j = linspace(0, max(D(rows, 2)), 200);
        e = exp(-(j / v.shear_modulus));
        if hump
          f = (((1.582 / kr - 1) * e + 1) * kr) .* (1 - e);
        else
          f = 1 - e;
        end
        tau = (sigma * tan(v.friction_angle) + v.cohesion) * f;
        c = colours(mod(g - 1, 8) + 1, :);
        plot(1e3 * D(rows, 2), 1e-3 * D(rows, 3), 'o', 'Color', c, 'MarkerFaceColor', c);
        plot(1e3 * j, 1e-3 * tau, '-', 'Color', c, 'LineWidth', 2);
      end
      labels = arrayfun(@(s) sprintf('sigma = %g kPa', 1e-3 * s), groups, 'UniformOutput', false);
      legend(reshape([labels; strcat(labels, ', fitted')], 1, []), 'Location', 'southeast');
      xlabel('shear displacement j (mm)');
      ylabel('shear stress tau (kPa)');
      title(sprintf('Shear: c = %.4g Pa, phi = %.4g rad, K = %.4g m', v.cohesion, ...
                    v.friction_angle, v.shear_modulus));
      grid on;
    case 'wheel'
      t = wheelsoil_slots('talvor_input');
      p = reshape(r.given(1:29), 29, 1);
      for name = fieldnames(v)'
        if strcmp(name{1}, 'shear_modulus')
          p(strcmp(t.names, 'kx')) = v.shear_modulus;
          p(strcmp(t.names, 'ky')) = v.shear_modulus;
        else
          p(strcmp(t.names, name{1})) = v.(name{1});
        end
      end
      vx = p(1);
      radius = p(7);
      loads = unique(D(:, 2))';
      slip = linspace(min(D(:, 1)), max(D(:, 1)), 41);
      % The rim speed of each slip, as the fit sets it.
      u = vx * (1 + slip);
      u(slip > 0) = vx ./ (1 - slip(slip > 0));
      P = repmat(p, 1, numel(slip));
      P(5, :) = u / radius;
      P(1, slip == 1) = 0;
      P(5, slip == 1) = vx / radius;
      measured = {D(:, 3), D(:, 4), 1e3 * D(:, 5)};
      names = {'drawbar pull rim_fx + side_fx (N)', 'driving torque -(rim_my + side_my) (N m)', ...
               'sinkage at the mid-plane (mm)'};
      curves = cell(numel(loads), 3);
      for g = 1:numel(loads)
        [~, L, info] = talvor_equilibrium(P, loads(g));
        curves(g, :) = {L(1, :) + L(7, :), -(L(5, :) + L(11, :)), 1e3 * [info.sinkage]};
      end
      for q = 1:3
        subplot(3, 1, q);
        hold on;
        labels = {};
        for g = 1:numel(loads)
          c = colours(mod(g - 1, 8) + 1, :);
          rows = D(:, 2) == loads(g);
          plot(D(rows, 1), measured{q}(rows), 'o', 'Color', c, 'MarkerFaceColor', c);
          plot(slip, curves{g, q}, '-', 'Color', c, 'LineWidth', 2);
          labels = [labels, {sprintf('W = %g N', loads(g)), sprintf('W = %g N, fitted', loads(g))}];
        end
        grid on;
        ylabel(names{q}, 'Interpreter', 'none');
        legend(labels, 'Location', 'eastoutside');
      end
      xlabel('slip s (-)');
  end
  if exist('OCTAVE_VERSION', 'builtin') && strcmp(graphics_toolkit(h), 'gnuplot')
    warning('off', 'print:nogs', 'local');
    try
      print(h, '-dpngcairo', file);
    catch
      print(h, '-dpng', '-r72', file);
    end
  else
    print(h, '-dpng', sprintf('-r%d', dpi), file);
  end
  close(h);
end
