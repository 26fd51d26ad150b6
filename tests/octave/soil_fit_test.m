% soil_fit as MATLAB users call it: files, structs and matrices; the
% struct it returns; ill-posed, refused and held inputs.

%!shared d
%! d = fullfile(fileparts(fileparts(fileparts(which('soil_fit_test.m')))), 'examples', 'data');

%!test
%! r = soil_fit('plate', fullfile(d, 'plate_tests.csv'));
%! assert(r.ok);
%! assert(r.status, 'converged');
%! assert(abs(r.values.k_c - 102e3) < 3 * r.errors.k_c);
%! assert(abs(r.values.k_phi - 5301e3) < 3 * r.errors.k_phi);
%! assert(abs(r.values.sinkage_exponent - 0.79) < 3 * r.errors.sinkage_exponent);
%! assert({r.parameters.name}, {'sinkage_exponent', 'k_c', 'k_phi'});
%! assert(r.quantities.name, 'pressure');
%! q = r.quantities;
%! assert(q.residuals, q.measured - q.fitted, 1e-9);
%! assert(r.observations, 40);
%! assert(r.degrees_of_freedom, 37);

%!test
%! % The same data as a struct (radius for circular plates) and as a matrix.
%! r = soil_fit('plate', fullfile(d, 'plate_tests.csv'));
%! s = struct('radius', r.data(:, 1), 'sinkage', r.data(:, 2), 'pressure', r.data(:, 3));
%! assert(soil_fit('plate', s).values, r.values);
%! assert(soil_fit('plate', r.data).values, r.values);

%!test
%! r = soil_fit('shear', fullfile(d, 'shear_tests.csv'), 'set', struct('cohesion', 1300));
%! assert(r.ok);
%! assert(r.values.cohesion, 1300);
%! assert(isnan(r.errors.cohesion));
%! assert([r.parameters.fitted], [false true true]);
%! assert(abs(r.values.friction_angle - 31.1 * pi / 180) < 3 * r.errors.friction_angle);

%!test
%! % One plate size, one normal stress: reported, not fitted.
%! r = soil_fit('plate', struct('width', [0.1; 0.1; 0.1; 0.1], 'sinkage', (1:4)' / 100, ...
%!                               'pressure', [2e4; 4e4; 6e4; 8.1e4]));
%! assert(r.ok, false);
%! assert(r.status, 'ill_posed');
%! assert(r.undetermined, {'k_c', 'k_phi'});
%! assert(isnan(r.values.k_c));
%! r = soil_fit('shear', [1e4 0 0; 1e4 0.01 4e3; 1e4 0.02 6e3; 1e4 0.04 7e3]);
%! assert(r.status, 'ill_posed');
%! assert(r.undetermined, {'cohesion', 'friction_angle'});

%!test
%! % The wheel from pull alone, c1 and c3 fitted, the others given.
%! w = struct('radius', 0.13, 'width', 0.16, 'gravity', 9.81, 'c2', 0.3, 'c4', 0.05);
%! data = dlmread(fullfile(d, 'wheel_runs.csv'), ',', 4, 0);
%! r = soil_fit('wheel', data(:, 1:3), 'soil', 'dry_sand', 'set', w, 'fit', {'c1', 'c3'});
%! assert(r.ok, true, r.message);
%! assert(abs(r.values.c1 - 0.35) < 3 * r.errors.c1);
%! assert(abs(r.values.c3 - 0.15) < 3 * r.errors.c3);
%! assert([r.quantities.observations], [34 0 0]);

%!error <KIND must be> soil_fit('bevameter', [1 2 3])
%!error <unknown option 'plott'> soil_fit('plate', [1 2 3], 'plott', 'x.png')
%!error <are for the wheel fit> soil_fit('plate', [1 2 3], 'soil', 'dry_sand')
%!error <needs the column pressure> soil_fit('plate', struct('width', 1, 'sinkage', 1))
%!error <has no column depth> soil_fit('plate', struct('width', 1, 'depth', 1, 'pressure', 1))
%!error <cannot open> soil_fit('plate', '/nonexistent/plate.csv')
%!test
%! f = [tempname() '.csv'];
%! fid = fopen(f, 'w');
%! fprintf(fid, 'width,sinkage,pressure\n0.1,0.01,x\n');
%! fclose(fid);
%! try
%!   soil_fit('plate', f);
%!   error('no error');
%! catch err
%!   assert(err.identifier, 'soil_fit:badFile');
%!   assert(~isempty(strfind(err.message, ':2: value 3 ''x'' is not a number')), err.message);
%! end
%! delete(f);
%!test
%! % Refused by the fit itself: a status, not an error.
%! r = soil_fit('plate', [0.1 0.01 1; -0.1 0.02 2; 0.2 0.03 3; 0.2 0.04 4]);
%! assert(r.status, 'invalid_data');
%! assert(r.message, 'row 2: size is -0.1, not a positive number');
