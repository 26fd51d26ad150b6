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
