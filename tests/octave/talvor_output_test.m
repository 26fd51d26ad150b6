% talvor_output on the results of talvor and talvor_batch.

%!shared p, names
%! s = soil_parameters('dry_sand');
%! p = talvor_input(s, 'radius', 0.13, 'width', 0.16, 'centre_height', 0.11, ...
%!                  'vx', 0.08, 'vy', 0.01, 'wy', 0.1 / 0.13, 'c1', 0.4, 'c2', 0.15, ...
%!                  'c3', 0.1, 'c4', 0, 'gravity', 9.81);
%! names = {'rim_fx', 'rim_fy', 'rim_fz', 'rim_mx', 'rim_my', 'rim_mz', ...
%!          'side_fx', 'side_fy', 'side_fz', 'side_mx', 'side_my', 'side_mz'};

%!test
%! L = talvor(p);
%! loads = talvor_output(L);
%! assert(fieldnames(loads).', names);
%! for k = 1:12
%!   assert(loads.(names{k}), L(k));
%! end
%! assert(loads.side_fy < 0);  % sliding towards +y: the soil pushes back

## An 18xN batch gives 1xN rows, column k the k-th evaluation.
%!test
%! P = [p.', p.', p.'];
%! P(7, 2) = 0.15;
%! P(21, 3) = 0.14;
%! if exist('talvor_batch', 'file') == 3
%!   L = talvor_batch(P);
%! else
%!   L = [talvor(P(:, 1)).', talvor(P(:, 2)).', talvor(P(:, 3)).'];
%! end
%! loads = talvor_output(L);
%! for k = 1:12
%!   assert(size(loads.(names{k})), [1 3]);
%!   assert(loads.(names{k}), L(k, :));
%! end
%! assert(talvor_output(L(:, 2)).rim_fz, talvor(P(:, 2))(3));
%! assert(size(talvor_output(zeros(18, 0)).rim_fx), [1 0]);

%!error <expected a 1x18 result of talvor or an 18xN result of talvor_batch, got 1x17> talvor_output(zeros(1, 17))
%!error <got 18x2x2> talvor_output(zeros(18, 2, 2))
%!error <got 3x18 \(one evaluation per row: pass the transpose> talvor_output(zeros(3, 18))
%!error id=talvor_output:badSize talvor_output([])
%!error id=talvor_output:badInput talvor_output(complex(zeros(1, 18)))
%!error <got a complex 1x18 double> talvor_output(complex(ones(1, 18), 1))
%!error id=talvor_output:badInput talvor_output(repmat('a', 1, 18))
%!error id=talvor_output:badInput talvor_output(num2cell(zeros(1, 18)))
