% split_rule_slip_curve: the drawbar pull of a rover wheel against the slip,
% integrated by the fixed 30 x 30 rule and by the split rule.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; split_rule_slip_curve
% It prints the slope breaks and writes split_rule_slip_curve.png into the
% current folder, or into the folder named by the variable out_dir if that is
% set beforehand.
%
% The normal stress has a kink at the maximum-stress angle. The fixed rule
% lays one 30-point rule across it, so its slip curve bends wherever a node
% crosses the kink: for the README's wheel (r = 0.13 m, b = 0.16 m, dry sand,
% 10 mm sinkage) near s = 0.145 and s = 0.522, where the slope jumps. The
% split rule ('Rule', 'split') integrates each side of the kink by itself:
% its curve is smooth, and within about 1e-7 of the exact integral.

if ~exist('out_dir', 'var')
  out_dir = pwd;
end

soil = soil_parameters('dry_sand');
radius = 0.13;
wheel = struct('radius', radius, 'width', 0.16, 'centre_height', radius - 0.010, ...
               'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
slip = 0.05:0.0025:0.65;
P = zeros(29, numel(slip));
for k = 1:numel(slip)
  P(:, k) = talvor_input(soil, wheel, 'vx', 0.1 * (1 - slip(k)), 'wy', 0.1 / radius).';
end
fixed = talvor_output(talvor_batch(P));
split = talvor_output(talvor_batch(P, 'Rule', 'split'));
pull_fixed = fixed.rim_fx + fixed.side_fx;
pull_split = split.rim_fx + split.side_fx;

% the curvature d2(pull)/ds2 by second differences: a break in the slope
% shows as a spike of one or two points
h2 = (slip(2) - slip(1))^2;
inner = slip(2:end - 1);
curv_fixed = diff(pull_fixed, 2) / h2;
curv_split = diff(pull_split, 2) / h2;
fprintf('Rover wheel r = 0.13 m, b = 0.16 m on dry sand, sinkage 10 mm\n');
fprintf('curvature d2(pull)/ds2 (N) where the fixed rule bends most near each break:\n');
fprintf('%8s %14s %14s\n', 'slip', 'fixed rule', 'split rule');
for s = [0.145 0.522]
  near = find(abs(inner - s) < 0.01);
  [~, w] = max(abs(curv_fixed(near) - curv_split(near)));
  k = near(w);
  fprintf('%8.4f %14.2f %14.2f\n', inner(k), curv_fixed(k), curv_split(k));
end
fprintf('largest |fixed - split| drawbar pull: %.2e N (rim_fz up to %.1f N)\n', ...
        max(abs(pull_fixed - pull_split)), max(split.rim_fz));

h = headless_figure(800, 800);
subplot(2, 1, 1);
plot(slip, pull_fixed, 'r-', 'LineWidth', 2);
hold on;
plot(slip, pull_split, 'b--', 'LineWidth', 2);
hold off;
grid on;
ylabel('drawbar pull (N)');
legend('fixed 30 x 30 rule', 'split rule', 'Location', 'southeast');
title('Rover wheel r = 0.13 m, b = 0.16 m on dry sand, sinkage 10 mm');
subplot(2, 1, 2);
plot(inner, curv_fixed, 'r-', 'LineWidth', 2);
hold on;
plot(inner, curv_split, 'b--', 'LineWidth', 2);
hold off;
grid on;
xlabel('slip ratio s (-)');
ylabel('curvature d^2(pull)/ds^2 (N)');
legend('fixed: slope breaks near s = 0.145 and 0.522', 'split: smooth', 'Location', 'southeast');
png = fullfile(out_dir, 'split_rule_slip_curve.png');
save_png(h, png);
close(h);
fprintf('Plot written to %s\n', png);
