% pindrel_vs_talvor: the simplified model's vertical load against the full
% model's rim vertical load, for the same straight-driving wheel on dry sand.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; pindrel_vs_talvor
% It prints a table and writes pindrel_vs_talvor.png into the current
% folder, or into out_dir if that variable is set beforehand.
%
% The same wheel for both models: an untilted wheel driving straight ahead
% (vy = 0) with sinkage z = radius - centre_height and slip ratio s. talvor
% computes its contact angles itself; pindrel is given them:
%   radius, width             the same
%   rim_entry_angle           theta_1 = acos(1 - z/radius), talvor's entry angle
%   peak_stress_angle         (c1 + c2*s)*theta_1, talvor's maximum-stress angle
%   rear_angle                -(c3 + c4*s)*theta_1, talvor's exit angle
%   front_angle, band_entry_angle, band_radius   their defaults: theta_1,
%                             theta_1 and radius (no separate band, like
%                             talvor's band_ratio 1)
%   slip                      s; both models define it alike:
%                             1 - vx/(wy*r) driving, wy*r/vx - 1 skidding
%   slip_angle                0
%   shear_modulus             kx (talvor's kr = 1 gives the same exponential
%                             shear law)
%   soil                      the same n, k_c, k_phi, cohesion, friction angle
% pindrel integrates quadratic fits through five stress samples where
% talvor integrates the stresses with 30 x 30 Gauss-Legendre points, so the
% difference shows the cost of the simplification.

if ~exist('out_dir', 'var')
  out_dir = pwd;
end

radius = 0.13;        % m
width = 0.16;         % m
u = 0.1;              % rim speed wy*r, m/s
c = [0.4, 0.15, 0.1, 0];     % c1..c4
soil = soil_parameters('dry_sand');
soil_p = soil_parameters('dry_sand', 'pindrel');
slips = [0, 0.2, 0.5];
sinkage = 0.003:0.001:0.040;  % m

talvor_fz = zeros(numel(slips), numel(sinkage));
pindrel_fz = zeros(numel(slips), numel(sinkage));
for i = 1:numel(slips)
  s = slips(i);
  wheel = struct('radius', radius, 'width', width, 'vx', u * (1 - s), 'wy', u / radius, ...
                 'c1', c(1), 'c2', c(2), 'c3', c(3), 'c4', c(4), 'gravity', 9.81);
  P = zeros(29, numel(sinkage));
  for k = 1:numel(sinkage)
    z = sinkage(k);
    P(:, k) = talvor_input(soil, wheel, 'centre_height', radius - z).';
    theta_1 = acos(1 - z / radius);
    pindrel_fz(i, k) = pindrel(pindrel_input(soil_p, 'radius', radius, 'width', width, ...
        'rim_entry_angle', theta_1, ...
        'peak_stress_angle', (c(1) + c(2) * s) * theta_1, ...
        'rear_angle', -((c(3) + c(4) * s) * theta_1), ...
        'slip', s));
  end
  loads = talvor_output(talvor_columns(P));
  talvor_fz(i, :) = loads.rim_fz;
end
difference = 100 * (pindrel_fz ./ talvor_fz - 1);

fprintf('Vertical load (N), rover wheel r = %.2f m, b = %.2f m on dry sand\n', radius, width);
fprintf('%8s %6s %12s %12s %10s\n', 'z (mm)', 'slip', 'talvor', 'pindrel', 'diff (%)');
for i = 1:numel(slips)
  for k = [1 8 18 28 38]
    fprintf('%8.0f %6.1f %12.3f %12.3f %10.2f\n', sinkage(k) * 1000, slips(i), ...
            talvor_fz(i, k), pindrel_fz(i, k), difference(i, k));
  end
end

h = headless_figure(800, 800);
colours = {'b', 'r', 'k'};
subplot(2, 1, 1);
names = {};
for i = 1:numel(slips)
  plot(sinkage * 1000, talvor_fz(i, :), [colours{i} '-'], 'LineWidth', 2);
  hold on;
  every = 1:3:numel(sinkage);
  plot(sinkage(every) * 1000, pindrel_fz(i, every), [colours{i} 'o'], 'MarkerSize', 5);
  names = [names, {sprintf('talvor rim_fz, s = %.1f', slips(i)), ...
                   sprintf('pindrel, s = %.1f', slips(i))}];
end
hold off;
grid on;
ylabel('vertical load (N)');
title(sprintf('Vertical load, wheel r = %.2f m, b = %.2f m on dry sand', radius, width));
set(legend(names{:}, 'Location', 'northwest'), 'Interpreter', 'none');
subplot(2, 1, 2);
for i = 1:numel(slips)
  plot(sinkage * 1000, difference(i, :), [colours{i} '-'], 'LineWidth', 2);
  hold on;
end
hold off;
grid on;
xlabel('sinkage z (mm)');
ylabel('pindrel / talvor - 1 (%)');
legend(arrayfun(@(s) sprintf('s = %.1f', s), slips, 'UniformOutput', false), ...
       'Location', 'southeast');
png = fullfile(out_dir, 'pindrel_vs_talvor.png');
save_png(h, png);
close(h);
fprintf('Plot written to %s\n', png);
