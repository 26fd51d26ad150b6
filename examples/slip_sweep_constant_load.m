% slip_sweep_constant_load: a rover wheel on dry sand carrying a constant
% load while its slip is swept from braking to nearly spinning in place.
% At each slip talvor_equilibrium finds the centre height at which the soil
% carries the load, so the sinkage follows the slip instead of being fixed
% (compare slip_sweep, which holds the sinkage).
%
% Writes three PNG files into output_dir (default: the current folder):
%   slip_sweep_constant_load_drawbar.png   drawbar pull rim_fx + side_fx
%   slip_sweep_constant_load_torque.png    driving torque -rim_my
%   slip_sweep_constant_load_sinkage.png   sinkage at the wheel's mid-plane
% Needs build/octave (or build/matlab) on the path. Runs headless.

if ~exist('output_dir', 'var')
  output_dir = pwd;
end

% The wheel: r = 0.13 m, b = 0.16 m, moving forward at 0.1 m/s on Earth.
radius = 0.13;
vx = 0.1;
base = talvor_input(soil_parameters('dry_sand'), ...
                    'radius', radius, 'width', 0.16, 'centre_height', radius, ...
                    'vx', vx, 'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, ...
                    'gravity', 9.81);

% Slip ratio s of the rim speed u = wy*r against vx: braking (s < 0) gives
% u = vx*(1 + s), driving (s > 0) u = vx/(1 - s).
slip = linspace(-0.5, 0.9, 57);
u = vx * (1 + slip);
u(slip > 0) = vx ./ (1 - slip(slip > 0));
P = repmat(base(:), 1, numel(slip));
P(5, :) = u / radius;  % slot 5: wy

loads = [50 100 150];  % N: a 15-45 kg rover share per wheel under Earth gravity
pull = zeros(numel(loads), numel(slip));
torque = pull;
sinkage = pull;
for k = 1:numel(loads)
  [~, L, info] = talvor_equilibrium(P, loads(k));
  failed = find(~[info.converged]);
  for j = failed
    fprintf('W = %g N, slip %.3f: %s\n', loads(k), slip(j), info(j).message);
  end
  pull(k, :) = L(1, :) + L(7, :);  % rim_fx + side_fx
  torque(k, :) = -L(5, :);         % the motor's torque balances the soil's rim_my
  sinkage(k, :) = [info.sinkage];
  fprintf('W = %3g N: sinkage %.1f-%.1f mm, drawbar pull %.1f to %.1f N, %d model evaluations a solve at most\n', ...
          loads(k), 1e3 * min(sinkage(k, :)), 1e3 * max(sinkage(k, :)), ...
          min(pull(k, :)), max(pull(k, :)), max([info.iterations]));
end

names = arrayfun(@(w) sprintf('W = %g N', w), loads, 'UniformOutput', false);
plots = {pull, 'drawbar pull rim_fx + side_fx (N)', 'drawbar', 'Drawbar pull', 'southeast'; ...
         torque, 'driving torque -rim_my (N m)', 'torque', 'Driving torque', 'southeast'; ...
         1e3 * sinkage, 'sinkage at the mid-plane (mm)', 'sinkage', 'Sinkage', 'northwest'};
for k = 1:size(plots, 1)
  f = figure('visible', 'off');
  plot(slip, plots{k, 1}, 'LineWidth', 1.5);
  grid on;
  xlim([min(slip) max(slip)]);
  xlabel('slip ratio s (-)');
  ylabel(plots{k, 2}, 'Interpreter', 'none');
  title(sprintf('%s, constant load: r 0.13 m, b 0.16 m wheel, dry sand', plots{k, 4}), ...
        'FontSize', 10);
  legend(names, 'Location', plots{k, 5});
  file = fullfile(output_dir, ['slip_sweep_constant_load_' plots{k, 3} '.png']);
  print(f, '-dpng', '-r100', file);
  close(f);
  fprintf('wrote %s\n', file);
end
