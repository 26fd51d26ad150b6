% talvor_contact: the contact geometry and the stress profiles, as Octave and
% MATLAB users call it.

%!shared p, soil
%! soil = soil_parameters('dry_sand');
%! p = talvor_input(soil, 'radius', 0.13, 'width', 0.16, 'centre_height', 0.12, ...
%!                  'vx', 0.08, 'wy', 0.1 / 0.13, 'c1', 0.4, 'c2', 0.15, 'c3', 0.1, ...
%!                  'c4', 0, 'gravity', 9.81);

%!test
%! c = talvor_contact(p);
%! assert(abs(c.slip_ratio - 0.2) < 1e-12);
%! for f = {'y', 'sinkage', 'entry_angle', 'max_stress_angle', 'exit_angle', ...
%!          'band_entry_angle', 'band_max_stress_angle', 'band_exit_angle'}
%!   assert(size(c.(f{1})), [1 30]);
%! end
%! assert(all(diff(c.y) < 0));                        % from +b/2 towards -b/2
%! assert(all(abs(c.sinkage - 0.01) < 1e-12));        % 10 mm everywhere
%! assert(all(abs(c.entry_angle - acos(1 - 0.01 / 0.13)) < 1e-12));
%! assert(all(abs(c.max_stress_angle - (0.4 + 0.15 * 0.2) * c.entry_angle) < 1e-12));
%! assert(all(abs(c.exit_angle + 0.1 * c.entry_angle) < 1e-12));
%! assert(abs(c.side_sinkage_plus - 0.01) < 1e-12);
%! assert(~isfield(c, 'normal_stress'));

%!test
%! theta = linspace(-0.1, 0.45, 111);
%! c = talvor_contact(p, [0; 0.05; -0.05], theta);
%! assert(size(c.normal_stress), [3 111]);
%! assert(size(c.profile_y), [3 1]);
%! assert(size(c.theta), [1 111]);
%! % no stress outside the contact, the peak at the maximum-stress angle
%! outside = theta < c.exit_angle(1) | theta > c.entry_angle(1);
%! assert(all(c.normal_stress(:, outside)(:) == 0));
%! [~, k] = max(c.normal_stress(1, :));
%! assert(abs(theta(k) - c.max_stress_angle(1)) <= theta(2) - theta(1));
%! % a straight-running wheel: no lateral shear, the same profile at every y
%! assert(all(c.shear_stress_y(:) == 0));
%! assert(isequal(c.normal_stress(2, :), c.normal_stress(1, :)));
%! assert(all(c.shear_stress_x(1, ~outside) > 0));   % driving: traction forward

%!test
%! % mirrored: the reversing wheel's entry behind the bottom, stresses mirrored
%! q = p;
%! q([1 5]) = -q([1 5]);
%! theta = linspace(-0.4, 0.4, 41);
%! f = talvor_contact(p, 0, theta, 'DirectionAware', true);
%! b = talvor_contact(q, 0, -theta, 'DirectionAware', true);
%! assert(isequal(b.entry_angle, -f.entry_angle));
%! assert(isequal(b.normal_stress, f.normal_stress));
%! assert(isequal(b.shear_stress_x, -f.shear_stress_x));
%! plain = talvor_contact(q);
%! assert(all(plain.entry_angle > 0));
%! assert(isequal(talvor_contact(p, 'DirectionAware', false), talvor_contact(p)));

%!test
%! c = talvor_contact(p, [], []);
%! assert(size(c.normal_stress), [0 0]);

%!error <one or three input arguments> talvor_contact()
%!error <one or three input arguments> talvor_contact(p, 0)
%!error <at least 29 elements> talvor_contact(p(1:28))
%!error <at least 29 elements> talvor_contact(single(p))
%!error <real double vectors> talvor_contact(p, 'a' + 0 > 0, 0)
%!error <real double vectors> talvor_contact(p, zeros(2), 0)
%!error <in pairs> talvor_contact(p, 'DirectionAware')
%!error <unknown option> talvor_contact(p, 'Rule', 'split')
%!error <true or false> talvor_contact(p, 'DirectionAware', 3)
