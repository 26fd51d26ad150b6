% talvor as Octave and MATLAB users call it.

%!shared p, expected
%! data = fullfile(getenv('WHEELSOIL_TEST_DATA'), 'talvor.txt');
%! fid = fopen(data); line = fgetl(fid);
%! while line(1) == '#', line = fgetl(fid); end
%! fclose(fid);
%! words = strsplit(strtrim(line));
%! v = str2double(words(2:end));
%! p = v(1:29); expected = v(30:47);

%!test
%! out = talvor(p);
%! assert(size(out), [1 18]);
%! assert(out, expected, -1e-12 * 0 + 1e-12 * max(abs(expected)));

%!test
%! assert(talvor(p(:)), talvor(p));
%! assert(talvor([p 1 2 3]), talvor(p));

%!test
%! talvor(p);
%! assert(ans, talvor(p));

%!error <One input argument required.> talvor()
%!error <One input argument required.> talvor(p, p)
%!error <One input argument required.> [a, b] = talvor(p, p)
%!error <Too many output arguments.> [a, b] = talvor(p)
%!error <Input must be a real double array of at least 29 elements.> talvor(p(1:28))
%!error <Input must be a real double array of at least 29 elements.> talvor(single(p))
%!error <Input must be a real double array of at least 29 elements.> talvor(complex(p, 0))
%!error <Input must be a real double array of at least 29 elements.> talvor(sparse(p))
