% fit_shear: cohesion, friction angle and K from shear tests at three normal
% stresses (data/shear_tests.csv: LETE sand's c and phi, K = 12 mm, plus
% noise of 0.3 kPa), and what a single normal stress gives: an ill-posed
% fit, not a result.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; fit_shear
% It prints the fit against the values the data came from and writes
% fit_shear.png into the current folder. Stops with an error if a value is
% not recovered within three standard errors.

data = fullfile(fileparts(mfilename('fullpath')), 'data', 'shear_tests.csv');
truth = struct('cohesion', 1.3e3, 'friction_angle', 31.1 * pi / 180, 'shear_modulus', 0.012);
r = soil_fit('shear', data, 'plot', 'fit_shear.png');
fit_report(r, truth);

% One normal stress cannot separate cohesion from friction: only
% c + sigma tan(phi) shows.
one = r.data(r.data(:, 1) == 25e3, :);
r1 = soil_fit('shear', one);
fprintf('One normal stress (25 kPa): %s: %s\n', r1.status, r1.message);
if r1.ok || ~strcmp(r1.status, 'ill_posed')
  error('fit_shear: one normal stress must be reported as ill-posed');
end
