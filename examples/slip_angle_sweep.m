% slip_angle_sweep: lateral force on a rover wheel on dry sand against the
% slip angle, from the rim and from the two sidewalls.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; slip_angle_sweep
% It prints a table and writes slip_angle_sweep.png into the current
% folder, or into out_dir if that variable is set beforehand.
%
% Operating points: sinkage 20 mm, the rim turning at wy*r = 0.1 m/s and the
% centre moving forward at vx = 0.08 m/s (slip ratio 0.2). The slip angle
% beta is set through the lateral velocity, vy = vx*tan(beta): the wheel
% slides towards +y (to its left) as it rolls, and the soil pushes back, so
% the lateral loads rim_fy and side_fy are negative. Only the sidewall on the
% +y side moves into the soil; its passive earth pressure does not grow with
% the sliding speed, so side_fy steps to its full value as soon as the wheel
% slides sideways at all (beyond 1e-5 m/s) and then stays constant.

if ~exist('out_dir', 'var')
  out_dir = pwd;
end

soil = soil_parameters('dry_sand');
radius = 0.13;        % m
width = 0.16;         % m
sinkage = 0.020;      % m
u = 0.1;              % rim speed wy*r, m/s
slip = 0.2;
wheel = struct('radius', radius, 'width', width, 'centre_height', radius - sinkage, ...
               'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81, ...
               'wy', u / radius, 'vx', u * (1 - slip));

beta_deg = 0:1:30;
P = zeros(29, numel(beta_deg));
for k = 1:numel(beta_deg)
  P(:, k) = talvor_input(soil, wheel, 'vy', wheel.vx * tan(beta_deg(k) * pi / 180)).';
end
loads = talvor_output(talvor_columns(P));
lateral = loads.rim_fy + loads.side_fy;

fprintf('Rover wheel r = %.2f m, b = %.2f m on dry sand, sinkage %.0f mm, slip %.1f\n', ...
        radius, width, sinkage * 1000, slip);
fprintf('%10s %14s %14s %14s %14s\n', 'beta (deg)', 'rim_fy (N)', 'side_fy (N)', ...
        'total (N)', 'rim_fz (N)');
for k = 1:5:numel(beta_deg)
  fprintf('%10.0f %14.3f %14.3f %14.3f %14.3f\n', beta_deg(k), loads.rim_fy(k), ...
          loads.side_fy(k), lateral(k), loads.rim_fz(k));
end

h = headless_figure(800, 500);
plot(beta_deg, lateral, 'k-', 'LineWidth', 2);
hold on;
plot(beta_deg, loads.rim_fy, 'b--', 'LineWidth', 2);
plot(beta_deg, loads.side_fy, 'r-.', 'LineWidth', 2);
hold off;
grid on;
xlabel('slip angle beta = atan(vy/vx) (deg)');
ylabel('lateral force on the wheel (N)');
title(sprintf('Lateral force, rover wheel on dry sand, sinkage %.0f mm, slip %.1f', ...
              sinkage * 1000, slip));
set(legend('rim_fy + side_fy', 'rim_fy (rim)', 'side_fy (sidewalls)', ...
           'Location', 'southwest'), 'Interpreter', 'none');
png = fullfile(out_dir, 'slip_angle_sweep.png');
save_png(h, png);
close(h);
fprintf('Plot written to %s\n', png);
