% make_fit_data: writes the measurements of the fitting examples into
% examples/data/: plate_tests.csv, shear_tests.csv and wheel_runs.csv, the
% fitted laws at known values plus Gaussian noise from a fixed seed. The
% files are committed; run this again (Octave, with the built functions on
% the path) only to change them:
%   addpath build/octave; cd examples; make_fit_data

here = fileparts(mfilename('fullpath'));
randn('state', 16);  % Octave's generator: the committed files came from this seed

% Plate sinkage: LETE sand, plates 5 and 10 cm wide, sinkage 2.5-50 mm,
% noise 5 kPa.
truth = struct('sinkage_exponent', 0.79, 'k_c', 102e3, 'k_phi', 5301e3);
fid = fopen(fullfile(here, 'data', 'plate_tests.csv'), 'w');
fprintf(fid, '# Plate-sinkage tests, synthetic: p = (k_c/b + k_phi) z^n with n = %g,\n', ...
        truth.sinkage_exponent);
fprintf(fid, '# k_c = %g N/m^(n+1), k_phi = %g N/m^(n+2) (LETE sand), plus noise of 5 kPa.\n', ...
        truth.k_c, truth.k_phi);
fprintf(fid, 'width,sinkage,pressure\n');
for b = [0.05 0.10]
  for z = 0.0025:0.0025:0.05
    p = z ^ truth.sinkage_exponent * (truth.k_c / b + truth.k_phi) + 5e3 * randn();
    fprintf(fid, '%.10g,%.10g,%.10g\n', b, z, p);
  end
end
fclose(fid);

% Shear: LETE sand's c and phi, K = 12 mm, normal stresses 10, 25 and 40 kPa,
% displacement 0-60 mm, noise 0.3 kPa.
truth = struct('cohesion', 1.3e3, 'friction_angle', 31.1 * pi / 180, 'shear_modulus', 0.012);
fid = fopen(fullfile(here, 'data', 'shear_tests.csv'), 'w');
fprintf(fid, '# Shear tests, synthetic: tau = (c + sigma tan phi)(1 - exp(-j/K)) with\n');
fprintf(fid, '# c = %g Pa, phi = %.17g rad, K = %g m, plus noise of 0.3 kPa.\n', ...
        truth.cohesion, truth.friction_angle, truth.shear_modulus);
fprintf(fid, 'normal_stress,displacement,shear_stress\n');
for sigma = [10e3 25e3 40e3]
  for j = 0:0.002:0.06
    tau = (sigma * tan(truth.friction_angle) + truth.cohesion) * (1 - exp(-(j / truth.shear_modulus)));
    fprintf(fid, '%.10g,%.10g,%.10g\n', sigma, j, tau + 300 * randn());
  end
end
fclose(fid);

% Single wheel: the rover wheel of the other examples (r = 0.13 m, b = 0.16
% m) on dry sand with c1..c4 = 0.35, 0.3, 0.15, 0.05; loads 60 and 100 N,
% slip -0.2 to 0.6; noise 0.3 N, 0.03 N m and 0.3 mm.
truth = struct('c1', 0.35, 'c2', 0.3, 'c3', 0.15, 'c4', 0.05);
radius = 0.13;
vx = 0.1;
wheel = talvor_input(soil_parameters('dry_sand'), truth, 'radius', radius, 'width', 0.16, ...
                     'centre_height', radius, 'vx', vx, 'gravity', 9.81);
slip = -0.2:0.05:0.6;
u = vx * (1 + slip);
u(slip > 0) = vx ./ (1 - slip(slip > 0));
P = repmat(wheel(:), 1, numel(slip));
P(5, :) = u / radius;
fid = fopen(fullfile(here, 'data', 'wheel_runs.csv'), 'w');
fprintf(fid, '# Single-wheel runs, synthetic: r = 0.13 m, b = 0.16 m, dry sand, vx = 0.1 m/s,\n');
fprintf(fid, '# c1 = %g, c2 = %g, c3 = %g, c4 = %g, each run at its operating point;\n', ...
        truth.c1, truth.c2, truth.c3, truth.c4);
fprintf(fid, '# noise 0.3 N, 0.03 N m, 0.3 mm. Torque: -(rim_my + side_my).\n');
fprintf(fid, 'slip,load,drawbar_pull,torque,sinkage\n');
for W = [60 100]
  [~, L, info] = talvor_equilibrium(P, W);
  pull = L(1, :) + L(7, :) + 0.3 * randn(1, numel(slip));
  torque = -(L(5, :) + L(11, :)) + 0.03 * randn(1, numel(slip));
  sinkage = [info.sinkage] + 0.3e-3 * randn(1, numel(slip));
  for k = 1:numel(slip)
    fprintf(fid, '%.10g,%.10g,%.10g,%.10g,%.10g\n', slip(k), W, pull(k), torque(k), sinkage(k));
  end
end
fclose(fid);
printf('wrote %s\n', fullfile(here, 'data'));
