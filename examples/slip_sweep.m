% slip_sweep: drawbar pull, moment about the axle and vertical load of a rover
% wheel on dry sand against the slip ratio, at a fixed sinkage.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; slip_sweep
% It prints a table and writes slip_sweep.png into the current folder, or
% into the folder named by the variable out_dir if that is set beforehand.
%
% Operating points: the wheel centre stays 10 mm below its radius above the
% soil (sinkage 10 mm) and the slip ratio s runs from -0.5 (skidding) to 0.9
% (driving). talvor takes the slip from vx and wy: for s >= 0 the rim turns
% at wy*r = u and the centre moves at vx = u*(1 - s); for s < 0 the centre
% moves at vx = u and the rim at wy*r = u*(1 + s), u = 0.1 m/s.
%
% Signs: loads are those the soil exerts on the wheel, x forward, y along
% the axle, z up. The drawbar pull rim_fx + side_fx is positive when the
% soil pushes the wheel forward; rim_my, the soil's moment about the axle,
% is negative when it resists a driving torque (a driven wheel must be
% given -rim_my); rim_fz is the vertical load the soil carries.

if ~exist('out_dir', 'var')
  out_dir = pwd;
end

soil = soil_parameters('dry_sand');
radius = 0.13;        % m
width = 0.16;         % m
sinkage = 0.010;      % m
u = 0.1;              % m/s
wheel = struct('radius', radius, 'width', width, 'centre_height', radius - sinkage, ...
               'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);

slip = (-20:36) * 0.025;          % -0.5 to 0.9, with 0 exactly
P = zeros(29, numel(slip));
for k = 1:numel(slip)
  if slip(k) >= 0
    wy = u / radius;                 % s = (wy*r - vx) / (wy*r)
    vx = u * (1 - slip(k));
  else
    vx = u;                          % s = (wy*r - vx) / vx
    wy = u * (1 + slip(k)) / radius;
  end
  P(:, k) = talvor_input(soil, wheel, 'vx', vx, 'wy', wy).';
end
loads = talvor_output(talvor_columns(P));
drawbar = loads.rim_fx + loads.side_fx;

fprintf('Rover wheel r = %.2f m, b = %.2f m on dry sand, sinkage %.0f mm\n', ...
        radius, width, sinkage * 1000);
fprintf('%8s %14s %14s %14s\n', 'slip', 'drawbar (N)', 'rim_my (N m)', 'rim_fz (N)');
for k = 1:4:numel(slip)
  fprintf('%8.2f %14.3f %14.4f %14.3f\n', slip(k), drawbar(k), loads.rim_my(k), loads.rim_fz(k));
end

h = headless_figure(800, 900);
none = {'Interpreter', 'none'};   % names with underscores, printed as they are
subplot(3, 1, 1);
plot(slip, drawbar, 'b-', 'LineWidth', 2);
hold on;
plot(slip([1 end]), [0 0], 'k:');
hold off;
grid on;
xlim(slip([1 end]));
ylabel('drawbar pull (N)');
set(legend('rim_fx + side_fx', 'Location', 'southeast'), none{:});
title(sprintf('Rover wheel r = %.2f m, b = %.2f m on dry sand, sinkage %.0f mm', ...
              radius, width, sinkage * 1000));
subplot(3, 1, 2);
plot(slip, loads.rim_my, 'r-', 'LineWidth', 2);
grid on;
xlim(slip([1 end]));
ylabel('moment about the axle (N m)');
set(legend('rim_my (< 0: resists the driving torque)', 'Location', 'southwest'), none{:});
subplot(3, 1, 3);
plot(slip, loads.rim_fz, 'k-', 'LineWidth', 2);
grid on;
xlim(slip([1 end]));
xlabel('slip ratio s (-): < 0 skidding, > 0 driving');
ylabel('vertical load (N)');
set(legend('rim_fz', 'Location', 'southwest'), none{:});
png = fullfile(out_dir, 'slip_sweep.png');
save_png(h, png);
close(h);
fprintf('Plot written to %s\n', png);
