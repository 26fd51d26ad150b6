% talvor_input and pindrel_input as Octave and MATLAB users call them: named
% fields give the raw vectors bit for bit, defaults fill the optional slots,
% and every kind of mistake is an error that names the field.

%!function cases = read_cases(file, n_in)
%!  % Each reference case: its name and its raw input vector.
%!  fid = fopen(fullfile(getenv('WHEELSOIL_TEST_DATA'), file));
%!  cases = struct('name', {}, 'p', {});
%!  line = fgetl(fid);
%!  while ischar(line)
%!    if ~isempty(line) && line(1) ~= '#'
%!      words = strsplit(strtrim(line));
%!      v = str2double(words(2:end));
%!      cases(end + 1) = struct('name', words{1}, 'p', v(1:n_in));
%!    end
%!    line = fgetl(fid);
%!  end
%!  fclose(fid);
%!endfunction

%!function s = as_struct(names, p)
%!  s = struct();
%!  for k = 1:numel(names)
%!    s.(names{k}) = p(k);
%!  end
%!endfunction

%!function same_bits(a, b)
%!  assert(size(a), size(b));
%!  assert(typecast(a(:), 'uint64'), typecast(b(:), 'uint64'));
%!endfunction

%!shared talvor_names, pindrel_names, required_talvor, required_pindrel
%! t = wheelsoil_slots('talvor_input');
%! talvor_names = t.names;
%! required_talvor = {'radius', 0.13, 'width', 0.16, 'soil_density', 1600, ...
%!   'cohesion', 1040, 'friction_angle', 0.49, 'sinkage_exponent', 1.1, ...
%!   'k_c', 990, 'k_phi', 1528430, 'kx', 0.025, 'ky', 0.02, ...
%!   'centre_height', 0.12, 'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0.05, 'gravity', 9.81};
%! t = wheelsoil_slots('pindrel_input');
%! pindrel_names = t.names;
%! required_pindrel = {'width', 0.16, 'radius', 0.13, 'cohesion', 1040, ...
%!   'friction_angle', 0.49, 'sinkage_exponent', 1.1, 'k_c', 990, 'k_phi', 1528430, ...
%!   'shear_modulus', 0.025, 'rim_entry_angle', 0.39, 'peak_stress_angle', 0.17, ...
%!   'rear_angle', -0.04};

## Round trip: every reference vector, by name, gives the same vector and
## the same loads bit for bit.
%!test
%! for c = read_cases('talvor.txt', 29)
%!   p = talvor_input(as_struct(talvor_names, c.p));
%!   same_bits(p, c.p);
%!   same_bits(talvor(p), talvor(c.p));
%! end
%!test
%! for c = read_cases('pindrel.txt', 20)
%!   p = pindrel_input(as_struct(pindrel_names, c.p));
%!   same_bits(p, c.p);
%!   same_bits(pindrel(p), pindrel(c.p));
%! end

## Name-value pairs in any order equal the struct.
%!test
%! c = read_cases('talvor.txt', 29);
%! args = [talvor_names(end:-1:1); num2cell(c(1).p(end:-1:1))];
%! same_bits(talvor_input(args{:}), c(1).p);

## Documented defaults fill what is left out.
%!test
%! p = talvor_input(required_talvor{:});
%! assert(size(p), [1 29]);
%! assert(p([1:6 9 10 19 20 22 27 28]), [0 0 0 0 0 0 1 0 1 0 0 0 0]);
%! assert(p([7 8 11:18 21 23:26 29]), cell2mat(required_talvor(2:2:end)));
%!test
%! p = pindrel_input(required_pindrel{:});
%! assert(size(p), [1 20]);
%! assert(p(1), 0.13);                     % band_radius = radius
%! assert(p(13:14), [0.39 0.39]);          % band_entry_angle, front_angle = rim_entry_angle
%! assert(p([3 5 17:20]), [1 0 0 0 0 0]);  % band_ratio 1, spares, slip, slip_angle 0
%! p = pindrel_input(required_pindrel{:}, 'band_radius', 0.12, 'front_angle', 0.3);
%! assert(p([1 13 14]), [0.12 0.39 0.3]);

## Left to right: a struct completed and overridden, several structs merged.
%!test
%! s = struct(required_talvor{:});
%! p = talvor_input(s, 'radius', 0.2, 'vx', 0.05);
%! assert(p([1 7]), [0.05 0.2]);
%! p = talvor_input(struct('radius', 0.3), s);
%! assert(p(7), 0.13);
%! p = talvor_input(s, 'radius', 0.3, 'radius', 0.4);
%! assert(p(7), 0.4);

## Values pass unchanged: NaN, Inf, negative zero; other numeric classes
## become the same double.
%!test
%! p = talvor_input(required_talvor{:}, 'vy', NaN, 'vz', -Inf, 'wx', -0, ...
%!                  'wz', single(0.1), 'spare_26', int8(-3));
%! assert(isnan(p(2)));
%! assert(p(3), -Inf);
%! assert(1 / p(4), -Inf);
%! assert(p(6), double(single(0.1)));
%! assert(p(27), -3);
%! assert(class(p), 'double');

## Errors name the field.
%!error <talvor_input: unknown field 'radus'> talvor_input('radus', 1)
%!error <did you mean 'radius'> talvor_input('Radius', 1)
%!error id=talvor_input:unknownField talvor_input(struct('radius', 1, 'shear_modulus', 2))
%!error id=pindrel_input:unknownField pindrel_input('kx', 1)
%!error <missing required field\(s\): radius, width, soil_density> talvor_input('vx', 1)
%!error id=pindrel_input:missingField pindrel_input()
%!error <field 'radius' must be a real numeric scalar, not a 1x2 double> talvor_input('radius', [1 2])
%!error <field 'width' must be a real numeric scalar, not a complex number> talvor_input('width', 1i)
%!error <not a 1x1 char> talvor_input('width', 'a')
%!error <not a 1x1 logical> talvor_input('width', true)
%!error <not a 0x0 double> talvor_input('width', [])
%!error <not a 1x1 cell> pindrel_input('width', {1})
%!error id=talvor_input:badValue talvor_input(struct('radius', {[1 2]}))
%!error <field 'radius' has no value after it> talvor_input('vx', 1, 'radius')
%!error id=pindrel_input:missingValue pindrel_input('width')
%!error <argument 1 must be a field name or a struct of fields, not a 1x1 double> talvor_input(3, 4)
%!error <argument 1 is a 1x2 struct array> talvor_input(struct('radius', {1, 2}))
%!error id=talvor_input:badArgument talvor_input(['ab'; 'cd'], 1)
%!error id=pindrel_input:badArgument pindrel_input({'width'}, 1)
