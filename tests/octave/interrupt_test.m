% Ctrl-C during a long batch, pressed at an interactive Octave prompt: the
% call stops within a fraction of a second instead of running to its end,
% assigns nothing, and the session carries on. Each case runs a session of
% its own (interrupted_session.sh sends it SIGINT once the call is under
% way) and reads what it printed.

%!function [out, seconds] = interrupted(setup, long)
%!  here = fileparts(which('interrupt_test.m'));
%!  octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
%!  after = 'printf(''after: %d %d\n'', exist(''R'', ''var''), numel(talvor(p)));';
%!  p = ['p = zeros(1, 29); p([1 5 7 8 9]) = [0.1, 0.125 / 0.13, 0.13, 0.16, 1]; ' ...
%!       'p([11 12 13 14 15 16]) = [1600, 1040, 28 * pi / 180, 1.1, 990, 1528430]; ' ...
%!       'p([17 18 19 21 23 24 25 26 29]) = [0.025, 0.025, 1, 0.11, 0.4, 0.3, 0.1, 0.1, 9.81];'];
%!  [~, out] = system(sprintf('sh "%s" "%s" "%s" "%s" "%s" "%s"', ...
%!                            fullfile(here, 'interrupted_session.sh'), octave, ...
%!                            fileparts(which('talvor_batch')), [p ' ' setup], long, after));
%!  found = regexp(out, 'seconds to the prompt: ([0-9.]+)', 'tokens', 'once');
%!  assert(!isempty(found), out);
%!  seconds = str2double(found{1});
%!  % the call ended early and assigned nothing; talvor still runs afterwards
%!  assert(!isempty(strfind(out, 'after: 0 18')), out);
%!  assert(isempty(strfind(out, 'finished')), out);

%!test
%! % a million columns on one thread: 15 s or more uninterrupted
%! [out, seconds] = interrupted('P = repmat(p.'', 1, 1e6);', ...
%!                              'R = talvor_batch(P, 1); disp(''finished'')');
%! assert(seconds < 10, out);

%!test
%! % 100,000 operating points: half a minute or more uninterrupted
%! [out, seconds] = interrupted('W = 40 + rand(1, 1e5);', ...
%!                              '[R, b, c] = talvor_equilibrium(p, W); disp(''finished'')');
%! assert(seconds < 10, out);
