% soil_parameters: the published values in SI, and their merge into
% talvor_input and pindrel_input.

%!shared wheel, names
%! wheel = {'radius', 0.13, 'width', 0.16, 'centre_height', 0.12, 'c1', 0.4, ...
%!          'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81};
%! names = soil_parameters();

## The published table, converted as the literature gives it: kN x 1000,
## kPa x 1000, degrees x pi/180 (the reference vectors use the same bits).
%!test
%! s = soil_parameters('dry_sand');
%! assert(s, struct('sinkage_exponent', 1.1, 'k_c', 990, 'k_phi', 1528430, ...
%!                  'cohesion', 1040, 'friction_angle', 0.48869219055841229, ...
%!                  'kx', 0.025, 'ky', 0.025, 'soil_density', 1600));
%!test
%! s = soil_parameters('lunar_soil');
%! assert([s.sinkage_exponent s.k_c s.k_phi s.cohesion s.kx s.soil_density], ...
%!        [1 1400 820000 170 0.018 1600]);
%! assert(s.friction_angle, 0.6108652381980153);
%!test
%! s = soil_parameters('snow');
%! assert([s.sinkage_exponent s.k_c s.k_phi s.cohesion s.kx s.soil_density], ...
%!        [1.6 4370 196720 1030 0.04 400]);
%! assert(s.friction_angle, 0.3438298626428829);
%!test
%! s = soil_parameters('clayey_soil');
%! assert([s.sinkage_exponent s.k_c s.k_phi s.cohesion s.kx s.soil_density], ...
%!        [0.5 13190 692150 4140 0.006 1800]);
%! assert(s.friction_angle, 13 * pi / 180);
%!test
%! s = soil_parameters('sandy_loam');
%! assert([s.sinkage_exponent s.k_c s.k_phi s.cohesion], [0.7 5270 1515040 1720]);
%! assert(s.friction_angle, 29 * pi / 180);
%! s = soil_parameters('mars_simulant');
%! assert([s.sinkage_exponent s.k_c s.k_phi s.cohesion], [0.8 5790 180000 300]);
%! assert(s.friction_angle, 17.8 * pi / 180);
%! s = soil_parameters('toyoura_sand');
%! assert([s.k_c s.k_phi s.cohesion s.kx], [1370 814000 800 0.025]);

## Every soil is complete, physical, sourced, and merges into both models.
%!test
%! for required = {'dry_sand', 'sandy_loam', 'clayey_soil', 'snow', 'lunar_soil', 'mars_simulant'}
%!   assert(any(strcmp(names, required{1})), required{1});
%! end
%! for k = 1:numel(names)
%!   [s, info] = soil_parameters(names{k});
%!   v = struct2cell(s);
%!   assert(all(cellfun(@(x) isscalar(x) && x > 0 && isfinite(x), v)), names{k});
%!   assert(s.friction_angle < pi / 2);
%!   assert(s.kx, s.ky);
%!   assert(info.name, names{k});
%!   assert(~isempty(info.source) && ~isempty(info.description) && ~isempty(info.notes));
%!   p = talvor_input(s, wheel{:});
%!   assert(p([14 15 16 12 13 17 18 11]), [s.sinkage_exponent s.k_c s.k_phi s.cohesion ...
%!                                         s.friction_angle s.kx s.ky s.soil_density]);
%!   q = soil_parameters(names{k}, 'pindrel');
%!   assert(fieldnames(q).', {'sinkage_exponent', 'k_c', 'k_phi', 'cohesion', ...
%!                            'friction_angle', 'shear_modulus'});
%!   assert(q.shear_modulus, s.kx);
%!   p = pindrel_input(q, 'radius', 0.13, 'width', 0.16, 'rim_entry_angle', 0.4, ...
%!                     'peak_stress_angle', 0.17, 'rear_angle', -0.04);
%!   assert(p([8 9 10 6 7 11]), [q.sinkage_exponent q.k_c q.k_phi q.cohesion ...
%!                               q.friction_angle q.shear_modulus]);
%! end

## Without arguments and outputs it prints the table.
%!test
%! text = evalc('soil_parameters()');
%! for k = 1:numel(names)
%!   assert(~isempty(strfind(text, names{k})), names{k});
%! end

%!error <unknown soil 'sand'; known soils: dry_sand, sandy_loam> soil_parameters('sand')
%!error id=soil_parameters:badArgument soil_parameters('dry_sand', 'full')
%!error id=soil_parameters:badArgument soil_parameters(3)
%!error <model must be 'talvor' or 'pindrel' \(got a 1x1 cell\)> soil_parameters('dry_sand', {'pindrel'})
%!test
%! % with no name, the names and every soil's record, in the same order
%! [n, info] = soil_parameters();
%! assert(size(info), size(n));
%! assert({info.name}, n);
%! assert(all(cellfun(@(s) !isempty(s), {info.source})));
