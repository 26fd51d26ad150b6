% talvor_equilibrium as Octave and MATLAB users call it: shapes, round trips
% through talvor, batches, and how failures are reported.

%!shared p
%! % The rover wheel on dry sand: r = 0.13 m, b = 0.16 m, slip 0.2.
%! p = zeros(1, 29);
%! p([1 5 7 8 9]) = [0.1, 0.125 / 0.13, 0.13, 0.16, 1];
%! p([11 12 13 14 15 16]) = [1600, 1040, 28 * pi / 180, 1.1, 990, 1528430];
%! p([17 18 19 21 23 24 25 26 29]) = [0.025, 0.025, 1, 0.11, 0.4, 0.3, 0.1, 0.1, 9.81];

%!test
%! [p_eq, loads, info] = talvor_equilibrium(p, 100);
%! assert(size(p_eq), [1 29]);
%! assert(p_eq([1:20 22:29]), p([1:20 22:29]));
%! assert(isequal(loads, talvor(p_eq)));
%! assert(abs(loads(3) + loads(9) - 100) <= 1e-10 * 100);
%! assert(info.converged && info.monotone);
%! assert(info.status, 'converged');
%! assert(info.sinkage, 0.13 - p_eq(21), 1e-15);
%! assert(info.max_sinkage, info.sinkage);
%! assert(info.iterations >= 3 && info.iterations <= 30);
%! assert(abs(info.residual) <= 1e-8);
%! assert(!isempty(strfind(info.message, 'carries 100 N')));

%!test
%! % Any shape of p, any starting height; extra elements are kept.
%! a = talvor_equilibrium(p, 80);
%! q = p; q(21) = -3;
%! b = talvor_equilibrium(q(:), 80);
%! assert(size(b), [29 1]);
%! assert(b', a);
%! c = talvor_equilibrium([q 7 8], 80);
%! assert(c, [a 7 8]);

%!test
%! % A tilted wheel sinks deepest at its lowest edge.
%! q = p; q(20) = 0.3;
%! [~, ~, info] = talvor_equilibrium(q, 100);
%! assert(info.max_sinkage > info.sinkage);

%!test
%! % Several loads on one wheel, and a failure that does not stop the others.
%! W = [50 1e5 150];
%! [P, L, info] = talvor_equilibrium(p, W);
%! assert(size(P), [29 3]);
%! assert(size(L), [18 3]);
%! assert(size(info), [1 3]);
%! for k = [1 3]
%!   [pk, lk] = talvor_equilibrium(p, W(k));
%!   assert(P(:, k), pk');
%!   assert(L(:, k), lk');
%! end
%! assert([info.converged], [true false true]);
%! assert(info(2).status, 'load_not_carried');
%! assert(!isempty(strfind(info(2).message, 'not carried')));
%! assert(isnan(P(21, 2)) && all(isnan(L(:, 2))));
%! assert(isnan([info(2).sinkage info(2).max_sinkage info(2).residual]));
%! assert(P([1:20 22:29], 2), p([1:20 22:29])');

%!test
%! % 29xN inputs with one load or one load each.
%! Q = [p' p' p'];
%! Q(1, 2) = 0.05;
%! Q(20, 3) = -0.2;
%! [P1, L1] = talvor_equilibrium(Q, 60);
%! [P2, L2, info] = talvor_equilibrium(Q, [60 60 60]);
%! assert(isequal(P1, P2) && isequal(L1, L2));
%! assert(all([info.converged]));
%! for k = 1:3
%!   assert(P1(:, k), talvor_equilibrium(Q(:, k), 60));
%! end

%!test
%! % A single failed solve is an error naming its reason.
%! q = p; q(20) = 1;
%! k_phi_nan = p; k_phi_nan(16) = NaN;
%! cases = {{p, 1e5, 'load_not_carried'}, {p, -1, 'invalid_load'}, {p, NaN, 'invalid_load'}, ...
%!          {q, 50, 'invalid_wheel'}, {k_phi_nan, 50, 'non_finite_loads'}};
%! for k = 1:numel(cases)
%!   c = cases{k};
%!   try
%!     talvor_equilibrium(c{1}, c{2});
%!     error('no error for case %d', k);
%!   catch e
%!     assert(e.identifier, ['talvor_equilibrium:' c{3}]);
%!   end
%! end

%!error <not carried: at one radius of sinkage> talvor_equilibrium(p, 1e5)
%!error <tilt_sine must have a magnitude below 1> talvor_equilibrium([p(1:19) NaN p(21:29)], 50)
%!error <two input arguments required> talvor_equilibrium(p)
%!error <p must be a vector of at least 29 elements> talvor_equilibrium(p(1:28), 50)
%!error <p must be a real double array> talvor_equilibrium(single(p), 50)
%!error <one load per column> talvor_equilibrium([p' p'], [1 2 3])
%!error <W must be a real double array> talvor_equilibrium(p, [])

%!test
%! % The force reached at one radius of sinkage is told whatever the load
%! % beside it.
%! [~, ~, info] = talvor_equilibrium(p, [1e5 1e21 1e308]);
%! reached = regexp(info(1).message, 'only (\S+) N', 'tokens', 'once');
%! assert(str2double(reached{1}) > 1000);
%! for k = 2:3
%!   assert(!isempty(strfind(info(k).message, ['only ' reached{1} ' N'])), info(k).message);
%! end

%!test
%! % No shear modulus (kx or ky 0): the loads are 0/0 at no sinkage, which
%! % the search never evaluates; they are finite where the load is carried.
%! for slot = [17 18]
%!   q = p; q(slot) = 0;
%!   q(21) = 0.13;
%!   assert(any(isnan(talvor(q))));
%!   [q_eq, loads, info] = talvor_equilibrium(q, 50);
%!   assert(info.converged && info.monotone);
%!   assert(isequal(loads, talvor(q_eq)));
%! end

%!test
%! % many solves run a few at a time: the same results as one at a time
%! W = 40 + (1:25) * 4;
%! [P, L, info] = talvor_equilibrium(p, W, 'Progress', false);
%! for k = [1 2 13 25]
%!   [pk, lk, ik] = talvor_equilibrium(p, W(k));
%!   assert(P(:, k), pk');
%!   assert(L(:, k), lk');
%!   assert(info(k), ik);
%! end
%! [P2, L2] = talvor_equilibrium(repmat(p', 1, 25), W, 'progress', true);
%! assert(P2, P);
%! assert(L2, L);

%!error <the one option is 'Progress'> talvor_equilibrium(p, 100, 'Threads', 2)
%!error <Progress must be true or false> talvor_equilibrium(p, 100, 'Progress', 'no')
%!error <two input arguments required> talvor_equilibrium(p, 100, 'Progress')
