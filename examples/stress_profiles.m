% stress_profiles: normal and shear stress along the rim of a rover wheel on
% dry sand at three slips, with the entry, maximum-stress and exit angles
% marked: where the loads of talvor come from.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; stress_profiles
% It prints the angles and writes stress_profiles.png into the current
% folder, or into the folder named by the variable out_dir if that is set
% beforehand.
%
% The wheel is the README's (r = 0.13 m, b = 0.16 m, 10 mm sinkage); the rim
% turns at wy*r = 0.1 m/s and the centre moves at vx = 0.1*(1 - s). Angles are
% measured from the downward vertical, positive forward: the rim enters the
% soil at the entry angle in front and leaves it at the exit angle behind the
% bottom. The profiles are taken at the wheel's mid-plane (y = 0).

if ~exist('out_dir', 'var')
  out_dir = pwd;
end

soil = soil_parameters('dry_sand');
radius = 0.13;
wheel = struct('radius', radius, 'width', 0.16, 'centre_height', radius - 0.010, ...
               'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
slips = [0.1 0.3 0.6];
colours = {[0 0.45 0.74], [0.85 0.33 0.1], [0.47 0.67 0.19]};

fprintf('Rover wheel r = 0.13 m, b = 0.16 m on dry sand, sinkage 10 mm, at y = 0\n');
fprintf('%6s %12s %16s %12s %18s %18s\n', 'slip', 'entry (deg)', 'max stress (deg)', ...
        'exit (deg)', 'peak sigma (kPa)', 'peak tau_x (kPa)');
h = headless_figure(800, 800);
none = {'Interpreter', 'none'};
names = cell(1, numel(slips));
for k = 1:numel(slips)
  p = talvor_input(soil, wheel, 'vx', 0.1 * (1 - slips(k)), 'wy', 0.1 / radius);
  c = talvor_contact(p);
  mid = 15;  % a strip next to the mid-plane: the wheel runs straight and untilted
  angles = [c.entry_angle(mid) c.max_stress_angle(mid) c.exit_angle(mid)];
  theta = linspace(angles(3), angles(1), 400);   % exit to entry
  c = talvor_contact(p, 0, theta);
  marks = talvor_contact(p, 0, angles);   % the stresses at the three angles
  deg = theta * 180 / pi;
  fprintf('%6.2f %12.2f %16.2f %12.2f %18.2f %18.2f\n', slips(k), angles * 180 / pi, ...
          max(c.normal_stress) / 1000, max(c.shear_stress_x) / 1000);
  names{k} = sprintf('s = %.1f', slips(k));
  subplot(2, 1, 1);
  hold on;
  plot(deg, c.normal_stress / 1000, '-', 'Color', colours{k}, 'LineWidth', 2);
  plot(angles * 180 / pi, marks.normal_stress / 1000, 'o', 'Color', colours{k}, ...
       'MarkerFaceColor', colours{k}, 'HandleVisibility', 'off');
  subplot(2, 1, 2);
  hold on;
  plot(deg, c.shear_stress_x / 1000, '-', 'Color', colours{k}, 'LineWidth', 2);
  plot(angles * 180 / pi, marks.shear_stress_x / 1000, 'o', 'Color', colours{k}, ...
       'MarkerFaceColor', colours{k}, 'HandleVisibility', 'off');
end
subplot(2, 1, 1);
grid on;
ylabel('normal stress sigma (kPa)');
title('Rover wheel on dry sand, 10 mm sinkage: markers at exit, maximum-stress and entry angles');
legend(names, 'Location', 'northwest');
subplot(2, 1, 2);
grid on;
xlabel('rim angle theta (deg): < 0 behind the bottom, > 0 in front');
ylabel('shear stress tau_x (kPa)');
set(legend(names, 'Location', 'northwest'), none{:});
png = fullfile(out_dir, 'stress_profiles.png');
save_png(h, png);
close(h);
fprintf('Plot written to %s\n', png);
