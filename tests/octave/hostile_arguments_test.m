% Every kind of argument at every gateway: talvor, pindrel, talvor_batch and
% pindrel_batch each give the documented result or refuse with their message,
% and no argument ends the session, not even 1024 threads in a process that
% cannot start them all.

%!function v = first_case(file, n)
%!  lines = strsplit(fileread(file), "\n");
%!  lines = lines(~cellfun(@isempty, lines) & ~strncmp(lines, '#', 1));
%!  words = strsplit(strtrim(lines{1}));
%!  v = str2double(words(2:end));
%!  v = v(1:n);
%!endfunction

%!function msg = refusal(f)
%!  % The error message of f(), or '' when it returned.
%!  msg = '';
%!  try
%!    f();
%!  catch err
%!    msg = err.message;
%!  end
%!endfunction

%!function assert_refused(f, expected, label)
%!  msg = refusal(f);
%!  assert(! isempty(strfind(msg, expected)), ...
%!         sprintf('%s: expected "%s", got "%s"', label, expected, msg));
%!endfunction

%!function b = bits(x)
%!  b = typecast(x(:), 'uint64');
%!endfunction

%!function kinds = wrong_kinds(v)
%!  % Every class and kind the gateways do not take, each holding as many
%!  % elements as v, with a label.
%!  kinds = {'single', single(v); 'int8', int8(v); 'uint8', uint8(v); ...
%!           'int16', int16(v); 'uint16', uint16(v); 'int32', int32(v); ...
%!           'uint32', uint32(v); 'int64', int64(v); 'uint64', uint64(v); ...
%!           'logical', true(size(v)); 'char', repmat('a', size(v)); ...
%!           'cell', num2cell(v); 'struct', struct('p', v); ...
%!           'function handle', @sin; 'complex double', complex(v, 0); ...
%!           'sparse double', sparse(v); 'complex single', complex(single(v), 0); ...
%!           'sparse logical', sparse(true(size(v))); 'empty', []; ...
%!           'empty 0x0 double', zeros(0, 0); 'empty cell', {}};
%!endfunction

%!shared p, q, bad_talvor, bad_pindrel, bad_tbatch, bad_pbatch, bad_threads, specials
%! data = getenv('WHEELSOIL_TEST_DATA');
%! p = first_case(fullfile(data, 'talvor.txt'), 29);
%! q = first_case(fullfile(data, 'pindrel.txt'), 20);
%! bad_talvor = 'Input must be a real double array of at least 29 elements.';
%! bad_pindrel = 'Input must be a real double array of at least 20 elements.';
%! bad_tbatch = 'Input must be a real double matrix with 29 rows, one input vector per column.';
%! bad_pbatch = 'Input must be a real double matrix with 20 rows, one input vector per column.';
%! bad_threads = 'Thread count must be a whole number from 0 (one per core) to 1024.';
%! % NaN, both infinities, the extremes of the normal range, subnormals, zeros
%! specials = [NaN -NaN Inf -Inf realmax -realmax realmin -realmin ...
%!             realmin / 2^52 -realmin / 2^52 realmin / 3 0 -0 1e300 1e-300];

## ---- argument counts, in their order ----

%!test
%! for f = {@talvor, @pindrel}
%!   g = f{1};
%!   assert_refused(@() g(), 'One input argument required.', func2str(g));
%!   assert_refused(@() g(p, p), 'One input argument required.', func2str(g));
%!   assert_refused(@() g(p, p, p), 'One input argument required.', func2str(g));
%! end
%! assert_refused(@() talvor_batch(), 'One to eight input arguments required.', 'talvor_batch');
%! assert_refused(@() talvor_batch(p', 1, 1, 1, 1, 1, 1, 1, 1), 'One to eight input arguments required.', 'talvor_batch');
%! assert_refused(@() pindrel_batch(), 'One or two input arguments required.', 'pindrel_batch');
%! assert_refused(@() pindrel_batch(q', 1, 1), 'One or two input arguments required.', 'pindrel_batch');

%!error <One input argument required.> [a, b] = talvor(p, p)
%!error <Too many output arguments.> [a, b] = talvor(p)
%!error <One input argument required.> [a, b] = pindrel(q, q)
%!error <Too many output arguments.> [a, b] = pindrel(q)
%!error <Too many output arguments.> [a, b] = talvor_batch(p')
%!error <Too many output arguments.> [a, b] = pindrel_batch(q')
%!error <One or two input arguments required.> [a, b] = pindrel_batch()

## ---- shapes that hold the vector: the documented result ----

%!test
%! expected = bits(talvor(p));
%! pad = [p 1 2 3 NaN];
%! for a = {p, p(:), pad, pad', reshape([p p], 1, 29, 2), [p' p']}
%!   out = talvor(a{1});
%!   assert(size(out), [1 18]);
%!   assert(isreal(out) && isa(out, 'double'));
%!   assert(bits(out), expected);
%! end
%! % a vector of a million elements: only the first 29 are read
%! assert(bits(talvor([p zeros(1, 1e6)])), expected);

%!test
%! expected = bits(pindrel(q));
%! for a = {q, q(:), [q 1 2 3], reshape([q q], 1, 20, 2), [q zeros(1, 1e6)]}
%!   out = pindrel(a{1});
%!   assert(size(out), [1 1]);
%!   assert(bits(out), expected);
%! end

%!test
%! % Octave hands ranges and diagonal matrices over as full double matrices.
%! assert(bits(talvor(1:29)), bits(talvor(full(1:29))));
%! assert(bits(pindrel(1:20)), bits(pindrel(full(1:20))));
%! assert(bits(talvor_batch(eye(29))), bits(talvor_batch(full(eye(29)))));
%! assert(bits(pindrel_batch(eye(20))), bits(pindrel_batch(full(eye(20)))));

%!test
%! % batch: 29 (20) rows; N-d arrays count all trailing columns; no columns is no error
%! P = repmat(p', 1, 6);
%! L = talvor_batch(reshape(P, 29, 2, 3));
%! assert(size(L), [18 6]);
%! assert(bits(L), bits(talvor_batch(P)));
%! assert(bits(L(:, 4)), bits(talvor(p)));
%! assert(size(talvor_batch(zeros(29, 0))), [18 0]);
%! assert(size(talvor_batch(zeros(29, 0, 3))), [18 0]);
%! Q = repmat(q', 1, 6);
%! W = pindrel_batch(reshape(Q, 20, 3, 2));
%! assert(size(W), [1 6]);
%! assert(bits(W), bits(repmat(pindrel(q), 1, 6)));
%! assert(size(pindrel_batch(zeros(20, 0))), [1 0]);

## ---- kinds refused ----

%!test
%! kinds = [wrong_kinds(p); {'one element short', p(1:28); 'one element', 1; 'empty row', zeros(1, 0)}];
%! for k = 1:rows(kinds)
%!   assert_refused(@() talvor(kinds{k, 2}), bad_talvor, ['talvor ' kinds{k, 1}]);
%! end
%! kinds = [wrong_kinds(q); {'one element short', q(1:19); 'one element', 1}];
%! for k = 1:rows(kinds)
%!   assert_refused(@() pindrel(kinds{k, 2}), bad_pindrel, ['pindrel ' kinds{k, 1}]);
%! end

%!test
%! P = [p' p'];
%! kinds = [wrong_kinds(P); {'a row', p; 'one row short', P(1:28, :); 'one row more', [P; P(1, :)]; ...
%!                           'transposed', P'; 'a range', 1:29; '0 x 29', zeros(0, 29)}];
%! for k = 1:rows(kinds)
%!   assert_refused(@() talvor_batch(kinds{k, 2}), bad_tbatch, ['talvor_batch ' kinds{k, 1}]);
%! end
%! Q = [q' q'];
%! kinds = [wrong_kinds(Q); {'a row', q; 'one row short', Q(1:19, :); 'one row more', [Q; Q(1, :)]; ...
%!                           'transposed', Q'; 'a range', 1:20; '0 x 20', zeros(0, 20)}];
%! for k = 1:rows(kinds)
%!   assert_refused(@() pindrel_batch(kinds{k, 2}), bad_pbatch, ['pindrel_batch ' kinds{k, 1}]);
%! end

%!test
%! % the input is checked before the thread count
%! assert_refused(@() talvor_batch(single(p'), -1), bad_tbatch, 'talvor_batch');
%! assert_refused(@() pindrel_batch(q, NaN), bad_pbatch, 'pindrel_batch');

## ---- thread counts ----

%!test
%! bad = {-1, 1.5, 1025, 1e300, NaN, Inf, -Inf, -realmin, 1 + eps, [1 2], [], zeros(1, 0), ...
%!        int32(2), uint8(1), single(2), true, '2', {2}, struct('n', 2), @() 2, ...
%!        complex(2, 0), sparse(2)};
%! for k = 1:numel(bad)
%!   label = sprintf('thread count %d', k);
%!   assert_refused(@() talvor_batch(p', bad{k}), bad_threads, ['talvor_batch ' label]);
%!   assert_refused(@() pindrel_batch(q', bad{k}), bad_threads, ['pindrel_batch ' label]);
%! end

%!test
%! % 0 (one per core), -0, 1 and 1024 threads, on more columns than threads:
%! % the same bits as one thread
%! P = repmat(p', 1, 1100);
%! P(8, 2:2:end) = P(8, 2:2:end) * 1.5;  % every other wheel wider
%! Q = repmat(q', 1, 1100);
%! Q(6, 2:2:end) = 2 * Q(6, 2:2:end);    % every other soil more cohesive
%! L = talvor_batch(P, 1);
%! W = pindrel_batch(Q, 1);
%! for t = {0, -0, 2, 3, 1024}
%!   assert(bits(talvor_batch(P, t{1})), bits(L));
%!   assert(bits(pindrel_batch(Q, t{1})), bits(W));
%! end

%!test
%! % A session with 1.5 GB of address space cannot give 1024 threads their
%! % 8 MB stacks: the batches still complete, with the bits of one thread.
%! file = [tempname() '.mat'];
%! P = repmat(p', 1, 2000);
%! Q = repmat(q', 1, 2000);
%! save('-binary', file, 'P', 'Q');
%! unwind_protect
%!   script = sprintf(['addpath(''%s''); load(''%s''); ' ...
%!                     'ok = isequal(talvor_batch(P, 1024), talvor_batch(P, 1)) && ' ...
%!                     'isequal(pindrel_batch(Q, 1024), pindrel_batch(Q, 1)); ' ...
%!                     'printf(''limited session done\n''); exit(~ok)'], ...
%!                    fileparts(which('talvor_batch')), file);
%!   octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
%!   [status, out] = system(sprintf(['ulimit -v 1500000 && ulimit -s 8192 && ' ...
%!                                   '"%s" --norc --quiet --no-window-system --eval "%s" 2>&1'], ...
%!                                  octave, script));
%!   assert(status, 0, out);
%!   assert(! isempty(strfind(out, 'limited session done')), out);
%! unwind_protect_cleanup
%!   unlink(file);
%! end_unwind_protect

## ---- any value in any slot: a result of the documented shape ----

%!test
%! % talvor: every special value in every slot, one at a time; single calls
%! % agree with the batch bit for bit and out(13:18) copies out(1:6)
%! P = repmat(p', 1, 29 * numel(specials));
%! c = 0;
%! for k = 1:29
%!   for v = specials
%!     c = c + 1;
%!     P(k, c) = v;
%!   end
%! end
%! L = talvor_batch(P, 2);
%! assert(size(L), [18 columns(P)]);
%! assert(isreal(L));
%! for c = 1:columns(P)
%!   out = talvor(P(:, c));
%!   assert(bits(out), bits(L(:, c)));
%!   assert(bits(out(13:18)), bits(out(1:6)));
%! end

%!test
%! % the same value in every slot
%! for v = specials
%!   out = talvor(repmat(v, 1, 29));
%!   assert(size(out), [1 18]);
%!   assert(bits(out(13:18)), bits(out(1:6)));
%!   assert(size(pindrel(repmat(v, 1, 20))), [1 1]);
%! end

%!test
%! % pindrel: every special value in every slot; the spare slots spare_4,
%! % spare_18 and spare_19 (p(5), p(19), p(20)) change nothing
%! Q = repmat(q', 1, 20 * numel(specials));
%! c = 0;
%! for k = 1:20
%!   for v = specials
%!     c = c + 1;
%!     Q(k, c) = v;
%!   end
%! end
%! W = pindrel_batch(Q, 2);
%! assert(size(W), [1 columns(Q)]);
%! for c = 1:columns(Q)
%!   assert(bits(pindrel(Q(:, c))), bits(W(c)));
%! end
%! spare = ismember(1:20, [5 19 20]);
%! cols = find(repmat(spare, numel(specials), 1)(:)');
%! assert(bits(W(cols)), bits(repmat(pindrel(q), 1, numel(cols))));
