% pindrel_batch: one input vector per column, bit for bit as single calls.

%!shared P
%! lines = strsplit(fileread(fullfile(getenv('WHEELSOIL_TEST_DATA'), 'pindrel.txt')), "\n");
%! lines = lines(~cellfun(@isempty, lines) & ~strncmp(lines, '#', 1));
%! P = zeros(20, numel(lines));
%! for k = 1:numel(lines)
%!   words = strsplit(strtrim(lines{k}));
%!   v = str2double(words(2:end));
%!   P(:, k) = v(1:20)';
%! end

%!test
%! W = pindrel_batch(P);
%! assert(size(W), [1 columns(P)]);
%! for k = 1:columns(P)
%!   assert(isequaln(W(k), pindrel(P(:, k))));
%! end
%! assert(isequaln(pindrel_batch(P, 1), pindrel_batch(P, 2)));
%! assert(size(pindrel_batch(zeros(20, 0))), [1 0]);

%!error <One or two input arguments required.> pindrel_batch()
%!error <Too many output arguments.> [a, b] = pindrel_batch(P)
%!error <20 rows> pindrel_batch(P')
%!error <20 rows> pindrel_batch(int8(P))
%!error <Thread count> pindrel_batch(P, [1 2])

%!test
%! % A batch longer than one chunk runs in several calls: the same bits as
%! % single calls, on any thread count.
%! Q = repmat(P, 1, ceil(20000 / columns(P)));
%! W = pindrel_batch(Q, 'Progress', false);
%! assert(size(W), [1 columns(Q)]);
%! for k = [1:200 columns(Q) - 200:columns(Q)]
%!   assert(isequaln(W(k), pindrel(Q(:, k))));
%! end
%! assert(isequaln(pindrel_batch(Q, 1, 'Progress', true), W));

%!error <pindrel_batch: Progress must be true or false.> pindrel_batch(P, 'Progress', 2)
%!error <One or two input arguments required.> pindrel_batch(P, 1, 'Math', 'vector')
