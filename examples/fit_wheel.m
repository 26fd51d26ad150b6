% fit_wheel: c1 to c4, the coefficients that place the peak-stress and exit
% angles, from single-wheel runs: drawbar pull, driving torque and sinkage
% against slip at 60 and 100 N (data/wheel_runs.csv: the rover wheel of
% slip_sweep on dry sand with c1..c4 = 0.35, 0.3, 0.15, 0.05, plus noise).
% Each run is solved at the centre height that carries its load.
%
% Run in Octave or MATLAB with the built functions on the path, for example
%   addpath build/octave; addpath examples; fit_wheel
% It prints the fit against the values the data came from and writes
% fit_wheel.png into the current folder (about half a minute on two cores).
% Stops with an error if a value is not recovered within three standard
% errors.

data = fullfile(fileparts(mfilename('fullpath')), 'data', 'wheel_runs.csv');
truth = struct('c1', 0.35, 'c2', 0.3, 'c3', 0.15, 'c4', 0.05);
% The wheel and the soil are known; c1..c4 start from 0.4, 0.15, 0.1, 0.
wheel = struct('radius', 0.13, 'width', 0.16, 'vx', 0.1, 'gravity', 9.81);
r = soil_fit('wheel', data, 'soil', 'dry_sand', 'set', wheel, 'plot', 'fit_wheel.png');
fit_report(r, truth);
