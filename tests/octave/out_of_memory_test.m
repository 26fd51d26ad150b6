% Memory refused during a call, under a limit on the address space of an
% Octave session of its own: the call fails with Octave's out-of-memory
% error (Octave:bad-alloc), at once when its results cannot be held, and the
% session carries on.

%!function out = limited(kib, statement)
%!  octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
%!  p = ['p = zeros(1, 29); p([1 5 7 8 9]) = [0.1, 0.125 / 0.13, 0.13, 0.16, 1]; ' ...
%!       'p([11 12 13 14 15 16]) = [1600, 1040, 28 * pi / 180, 1.1, 990, 1528430]; ' ...
%!       'p([17 18 19 21 23 24 25 26 29]) = [0.025, 0.025, 1, 0.11, 0.4, 0.3, 0.1, 0.1, 9.81];'];
%!  session = sprintf(['addpath(''%s''); %s ' ...
%!                     'try, %s; disp(''no error''), catch e, printf(''[%%s] %%s\\n'', ' ...
%!                     'e.identifier, e.message), end, printf(''alive %%d\\n'', numel(talvor(p)))'], ...
%!                    fileparts(which('talvor_batch')), p, statement);
%!  [~, out] = system(sprintf('ulimit -v %d; "%s" --no-gui --no-history --norc --quiet --eval "%s" 2>&1', ...
%!                            kib, octave, session));
%!  % the session survived the failed call, and failed it the host's way
%!  assert(!isempty(strfind(out, 'alive 18')), out);
%!  assert(!isempty(strfind(out, '[Octave:bad-alloc]')), out);
%!  assert(isempty(strfind(out, 'no error')), out);

%!test
%! % a million operating points in half a gigabyte
%! limited(500000, 'talvor_equilibrium(p, 50 * ones(1, 1e6))');

%!test
%! % four million invalid loads: fails at once, not once solved
%! limited(1000000, 'tic, [a, b, c] = talvor_equilibrium(p, -ones(1, 4e6)); toc');

%!test
%! % the input fits, the result does not: fails before any work
%! limited(1700000, 'P = zeros(29, 5e6); talvor_batch(P, ''Progress'', false)');

%!test
%! % refused inside the MEX function: its own message, the host's identifier
%! out = limited(700000, 'talvor_equilibrium_mex(p.'', 50 * ones(1, 1e6))');
%! assert(!isempty(strfind(out, 'talvor_equilibrium_mex: Out of memory.')), out);
