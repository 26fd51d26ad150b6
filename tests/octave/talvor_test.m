% talvor as Octave and MATLAB users call it.

%!shared P, E, p
%! lines = strsplit(fileread(fullfile(getenv('WHEELSOIL_TEST_DATA'), 'talvor.txt')), "\n");
%! lines = lines(~cellfun(@isempty, lines) & ~strncmp(lines, '#', 1));
%! P = zeros(numel(lines), 29); E = zeros(numel(lines), 18);
%! for k = 1:numel(lines)
%!   words = strsplit(strtrim(lines{k}));
%!   v = str2double(words(2:end));
%!   P(k, :) = v(1:29); E(k, :) = v(30:47);
%! end
%! p = P(1, :);

%!test
%! % every reference case: finite slots within 1e-12 of the largest, the
%! % others of the same kind
%! for k = 1:rows(P)
%!   out = talvor(P(k, :));
%!   assert(size(out), [1 18]);
%!   e = E(k, :); fin = isfinite(e);
%!   assert(out(fin), e(fin), 1e-12 * max([abs(e(fin)) 0]));
%!   assert(all(isnan(out(isnan(e)))));
%!   assert(isequal(out(isinf(e)), e(isinf(e))));
%! end

%!test
%! % a row, a column, a longer vector and a matrix holding the 29 in storage order
%! out = talvor(p);
%! assert(isequal(talvor(p(:)), out));
%! assert(isequal(talvor([p 1 2 3]), out));
%! assert(isequal(talvor(reshape([p 0 0 0 0 0 0 0], 6, 6)), out));

%!test
%! % nlhs = 0 still assigns the result
%! talvor(p);
%! assert(isequal(ans, talvor(p)));

%!test
%! % out(13:18) repeats out(1:6) bit for bit; exit_sinkage_ratio, spare_26 and
%! % spare_27 (p(22), p(27), p(28)) have no effect
%! for k = 1:rows(P)
%!   out = talvor(P(k, :));
%!   assert(isequaln(typecast(out(13:18), 'uint64'), typecast(out(1:6), 'uint64')));
%!   q = P(k, :); q([22 27 28]) = [NaN -Inf 1e300];
%!   assert(isequaln(talvor(q), out));
%! end

%!test
%! % a wheel clear of the soil at both edges: sidewall slots exactly +0.0
%! q = p; q(21) = 2 * q(7);
%! out = talvor(q);
%! assert(out(7:12), zeros(1, 6));
%! assert(~any(signbit(out(7:12))));

%!error <One input argument required.> talvor()
%!error <One input argument required.> talvor(p, p)
%!error <One input argument required.> [a, b] = talvor(p, p)
%!error <Too many output arguments.> [a, b] = talvor(p)
%!error <Input must be a real double array of at least 29 elements.> talvor(p(1:28))
%!error <Input must be a real double array of at least 29 elements.> talvor([])
%!error <Input must be a real double array of at least 29 elements.> talvor(single(p))
%!error <Input must be a real double array of at least 29 elements.> talvor(int32(p))
%!error <Input must be a real double array of at least 29 elements.> talvor(complex(p, 0))
%!error <Input must be a real double array of at least 29 elements.> talvor(sparse(p))
%!error <Input must be a real double array of at least 29 elements.> talvor(num2cell(p))
