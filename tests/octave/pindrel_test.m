% pindrel as Octave and MATLAB users call it.

%!shared p, expected
%! data = fullfile(getenv('WHEELSOIL_TEST_DATA'), 'pindrel.txt');
%! fid = fopen(data); line = fgetl(fid);
%! while line(1) == '#', line = fgetl(fid); end
%! fclose(fid);
%! words = strsplit(strtrim(line));
%! v = str2double(words(2:end));
%! p = v(1:20); expected = v(21);

%!test
%! out = pindrel(p);
%! assert(isa(out, 'double') && isreal(out));
%! assert(size(out), [1 1]);
%! assert(out, expected, 1e-12 * abs(expected));

%!test
%! assert(pindrel(p(:)), pindrel(p));
%! assert(pindrel([p 1 2 3]), pindrel(p));
%! assert(pindrel(reshape([p 0 0 0 0], 4, 6)), pindrel(p));

%!test
%! pindrel(p);
%! assert(ans, pindrel(p));

%!test
%! q = p; q([5 19 20]) = [NaN Inf -Inf];
%! assert(pindrel(q), pindrel(p));

%!error <One input argument required.> pindrel()
%!error <One input argument required.> pindrel(p, p)
%!error <One input argument required.> [a, b] = pindrel(p, p)
%!error <Too many output arguments.> [a, b] = pindrel(p)
%!error <Input must be a real double array of at least 20 elements.> pindrel(p(1:19))
%!error <Input must be a real double array of at least 20 elements.> pindrel([])
%!error <Input must be a real double array of at least 20 elements.> pindrel(single(p))
%!error <Input must be a real double array of at least 20 elements.> pindrel(int32(p))
%!error <Input must be a real double array of at least 20 elements.> pindrel(p > 0)
%!error <Input must be a real double array of at least 20 elements.> pindrel(char(p))
%!error <Input must be a real double array of at least 20 elements.> pindrel(num2cell(p))
%!error <Input must be a real double array of at least 20 elements.> pindrel(complex(p, 0))
%!error <Input must be a real double array of at least 20 elements.> pindrel(sparse(p))
