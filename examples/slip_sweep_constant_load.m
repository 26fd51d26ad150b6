% slip_sweep_constant_load: a rover wheel on dry sand carrying a constant
% load while its slip is swept from braking to nearly spinning in place.
% At each slip talvor_equilibrium finds the centre height at which the soil
% carries the load, so the sinkage follows the slip instead of being fixed
% (compare slip_sweep, which holds the sinkage).
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; slip_sweep_constant_load
% It prints a summary per load and writes slip_sweep_constant_load.png
% (drawbar pull rim_fx + side_fx, driving torque -rim_my and the sinkage at
% the wheel's mid-plane, against slip) into the current folder, or into
% out_dir if that variable is set beforehand. Runs headless.

if ~exist('out_dir', 'var')
  out_dir = pwd;
end

% The wheel: r = 0.13 m, b = 0.16 m, moving forward at 0.1 m/s on Earth.
radius = 0.13;
vx = 0.1;
% talvor_input needs a centre height; talvor_equilibrium replaces it by the
% one at which the soil carries the load.
base = struct('radius', radius, 'width', 0.16, 'centre_height', radius, 'vx', vx, ...
              'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
soil = soil_parameters('dry_sand');

% Slip ratio s of the rim speed u = wy*r against vx: braking (s < 0) gives
% u = vx*(1 + s), driving (s > 0) u = vx/(1 - s).
slip = linspace(-0.5, 0.9, 57);
u = vx * (1 + slip);
u(slip > 0) = vx ./ (1 - slip(slip > 0));
P = zeros(29, numel(slip));
for j = 1:numel(slip)
  P(:, j) = talvor_input(soil, base, 'wy', u(j) / radius).';
end

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
  named = talvor_output(L);
  pull(k, :) = named.rim_fx + named.side_fx;
  torque(k, :) = -named.rim_my;    % the motor's torque balances the soil's rim_my
  sinkage(k, :) = [info.sinkage];
  fprintf('W = %3g N: sinkage %.1f-%.1f mm, drawbar pull %.1f to %.1f N, %d model evaluations a solve at most\n', ...
          loads(k), 1e3 * min(sinkage(k, :)), 1e3 * max(sinkage(k, :)), ...
          min(pull(k, :)), max(pull(k, :)), max([info.iterations]));
end

names = arrayfun(@(w) sprintf('W = %g N', w), loads, 'UniformOutput', false);
panels = {pull, 'drawbar pull (N)', ...
          sprintf('Drawbar pull rim_fx + side_fx, wheel r = %.2f m, b = %.2f m on dry sand', ...
                  radius, base.width), 'southeast'; ...
          torque, 'driving torque (N m)', 'Driving torque -rim_my', 'southeast'; ...
          1e3 * sinkage, 'sinkage (mm)', 'Sinkage at the mid-plane', 'northwest'};
h = headless_figure(800, 900);
for k = 1:size(panels, 1)
  subplot(3, 1, k);
  plot(slip, panels{k, 1}, 'LineWidth', 2);
  grid on;
  xlim(slip([1 end]));
  ylabel(panels{k, 2});
  title(panels{k, 3}, 'Interpreter', 'none');
  legend(names, 'Location', panels{k, 4});
end
xlabel('slip ratio s (-): < 0 braking, > 0 driving');
png = fullfile(out_dir, 'slip_sweep_constant_load.png');
save_png(h, png);
close(h);
fprintf('Plot written to %s\n', png);
