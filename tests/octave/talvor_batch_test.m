% talvor_batch: one input vector per column, bit for bit as single calls.

%!shared P
%! data = fullfile(getenv('WHEELSOIL_TEST_DATA'), 'talvor.txt');
%! lines = strsplit(fileread(data), "\n");
%! lines = lines(~cellfun(@isempty, lines) & ~strncmp(lines, '#', 1));
%! P = zeros(29, numel(lines));
%! for k = 1:numel(lines)
%!   words = strsplit(strtrim(lines{k}));
%!   v = str2double(words(2:end));
%!   P(:, k) = v(1:29)';
%! end

%!test
%! L = talvor_batch(P);
%! assert(size(L), [18 columns(P)]);
%! for k = 1:columns(P)
%!   assert(isequaln(L(:, k)', talvor(P(:, k))));
%! end

%!test
%! assert(isequaln(talvor_batch(P, 1), talvor_batch(P, 2)));
%! assert(isequaln(talvor_batch(P, 0), talvor_batch(P)));

%!test
%! assert(size(talvor_batch(zeros(29, 0))), [18 0]);

%!test
%! % the trailing pair 'Math', 'standard' (the default) or 'vector'
%! assert(isequaln(talvor_batch(P, 'Math', 'standard'), talvor_batch(P)));
%! built = true;
%! try
%!   V = talvor_batch(P, 2, 'math', 'vector');
%! catch err
%!   % build_mex.m builds without SLEEF: the option is refused, and says so
%!   assert(! isempty(strfind(err.message, 'built without vector maths')));
%!   built = false;
%! end
%! if built
%!   assert(isequaln(V, talvor_batch(P, 'Math', 'Vector')));
%!   L = talvor_batch(P);
%!   finite = all(isfinite(L), 1);
%!   scale = max(1, max(abs(L(:, finite)), [], 1));
%!   assert(all(max(abs(V(:, finite) - L(:, finite)), [], 1) ./ scale <= 1e-11));
%! end

%!error <One to eight input arguments required.> talvor_batch()
%!error <Unknown option> talvor_batch(P, 'Maths', 'vector')
%!error <Math must be 'standard' or 'vector'.> talvor_batch(P, 'Math', 'fast')
%!error <Thread count> talvor_batch(P, 'Math', 'standard', 2)
%!error <Too many output arguments.> [a, b] = talvor_batch(P)
%!error <29 rows> talvor_batch(P')
%!error <29 rows> talvor_batch(single(P))
%!error <Thread count> talvor_batch(P, -1)
%!error <Thread count> talvor_batch(P, 1.5)

%!test
%! % A batch longer than one chunk runs in several calls: the same bits as
%! % single calls, in any column, on any thread count, with any options.
%! Q = repmat(P, 1, ceil(600 / columns(P)));
%! L = talvor_batch(Q, 1, 'Progress', false);
%! assert(size(L), [18 columns(Q)]);
%! for k = [1:40 columns(Q) - 40:columns(Q)]
%!   assert(isequaln(L(:, k)', talvor(Q(:, k))));
%! end
%! assert(isequaln(talvor_batch(Q, 'Progress', true, 'Math', 'standard'), L));
%! assert(isequaln(talvor_batch(Q(:, 1:17), 2, 'progress', 0), L(:, 1:17)));

%!error <talvor_batch: Progress must be true or false.> talvor_batch(P, 'Progress', 'yes')
%!error <talvor_batch: Progress must be true or false.> talvor_batch(P, 1, 'Progress', [true true])

%!test
%! % 'DirectionAware', true: a wheel travelling in -x gets the mirrored loads
%! % of its forward image (fx, my, mz negated; vx, wy, wz negated in the input)
%! Q = P;
%! Q([1 5 6], :) = -Q([1 5 6], :);
%! F = talvor_batch(P, 'DirectionAware', true);
%! B = talvor_batch(Q, 'DirectionAware', true);
%! flip = ones(18, 1);
%! flip([1 5 6 7 11 12 13 17 18]) = -1;
%! backward = Q(1, :) < 0 | (Q(1, :) == 0 & Q(5, :) < 0);
%! assert(isequaln(B(:, backward), F(:, backward) .* flip));
%! forward = P(1, :) > 0 | (P(1, :) == 0 & P(5, :) >= 0);
%! assert(isequaln(F(:, forward), talvor_batch(P(:, forward))));
%! assert(isequaln(talvor_batch(P, 'DirectionAware', false), talvor_batch(P)));

%!test
%! % 'Rule', 'split': the sidewalls as by default, the rim close to the fixed rule
%! S = talvor_batch(P, 'Rule', 'split');
%! L = talvor_batch(P);
%! assert(isequaln(S(7:12, :), L(7:12, :)));
%! assert(isequaln(S(13:18, :), S(1:6, :)));
%! finite = all(isfinite(L), 1) & abs(L(3, :)) > 1;
%! assert(max(abs(S(3, finite) - L(3, finite)) ./ abs(L(3, finite))) < 1e-2);
%! assert(isequaln(talvor_batch(P, 'Rule', 'fixed'), L));

%!error <Rule must be 'fixed' or 'split'.> talvor_batch(P, 'Rule', 'smooth')
%!error <DirectionAware must be true or false.> talvor_batch(P, 'DirectionAware', 2)
%!error <cannot be combined> talvor_batch(P, 'Rule', 'split', 'Math', 'vector')
