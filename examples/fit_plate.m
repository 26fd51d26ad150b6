% fit_plate: k_c, k_phi and n from plate-sinkage tests with two plate sizes
% (data/plate_tests.csv: LETE sand's values plus noise of 5 kPa), and what a
% single plate size gives: an ill-posed fit, not a result.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; fit_plate
% It prints the fit against the values the data came from and writes
% fit_plate.png into the current folder. Stops with an error if a value is
% not recovered within three standard errors.

data = fullfile(fileparts(mfilename('fullpath')), 'data', 'plate_tests.csv');
truth = struct('sinkage_exponent', 0.79, 'k_c', 102e3, 'k_phi', 5301e3);
r = soil_fit('plate', data, 'plot', 'fit_plate.png');
fit_report(r, truth);

% One plate size cannot separate k_c from k_phi: only k_c/b + k_phi shows.
one = r.data(r.data(:, 1) == 0.1, :);
r1 = soil_fit('plate', one);
fprintf('One plate size (b = 0.1 m): %s: %s\n', r1.status, r1.message);
if r1.ok || ~strcmp(r1.status, 'ill_posed')
  error('fit_plate: one plate size must be reported as ill-posed');
end
