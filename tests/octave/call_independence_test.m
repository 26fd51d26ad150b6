% No call is influenced by another: many different calls of talvor, pindrel,
% talvor_batch and pindrel_batch (realistic and degenerate parameters,
% accepted and refused arguments), each first made alone in a freshly loaded
% module, then all interleaved in shuffled orders, give the same bits or the
% same message every time. Nothing survives a call, not even an error.

%!function b = bits(x)
%!  b = typecast(double(x(:)), 'uint64');
%!endfunction

%!function v = vectors(file, n)
%!  % The inputs of every case of the reference file, one per row.
%!  lines = strsplit(fileread(file), "\n");
%!  lines = lines(~cellfun(@isempty, lines) & ~strncmp(lines, '#', 1));
%!  v = zeros(numel(lines), n);
%!  for k = 1:numel(lines)
%!    words = strsplit(strtrim(lines{k}));
%!    w = str2double(words(2:end));
%!    v(k, :) = w(1:n);
%!  end
%!endfunction

%!function r = make_call(c)
%!  % Calls c.name with c.args and c.nargout outputs; r.bits holds the result's
%!  % bits, or r.message the error.
%!  r = struct('bits', [], 'message', '');
%!  try
%!    switch c.nargout
%!      case 0
%!        feval(c.name, c.args{:});
%!        r.bits = bits(ans);
%!      case 1
%!        out = feval(c.name, c.args{:});
%!        r.bits = bits(out);
%!      otherwise
%!        [out, extra] = feval(c.name, c.args{:});
%!        r.bits = bits(out);
%!    end
%!  catch err
%!    r.message = err.message;
%!  end
%!endfunction

%!function calls = all_calls(T, Q)
%!  % The calls: every reference case of both models, degenerate vectors,
%!  % batches on several thread counts, and refused arguments.
%!  c = @(name, args, n) struct('name', name, 'args', {args}, 'nargout', n);
%!  calls = {};
%!  for k = 1:rows(T)
%!    calls{end + 1} = c('talvor', {T(k, :)}, 1);
%!  end
%!  for k = 1:rows(Q)
%!    calls{end + 1} = c('pindrel', {Q(k, :)'}, 1);
%!  end
%!  p = T(1, :);
%!  q = Q(1, :);
%!  locked = p; locked(5) = 0;                 % wy = 0: the sentinel displacement
%!  still = p; still([1 5]) = 0;               % vx = wy = 0: undefined slip
%!  clear_of_soil = p; clear_of_soil(21) = 10 * p(7);
%!  narrow = p; narrow(8) = 0;                 % no width
%!  tilted = p; tilted(20) = 1;                % tilt sine of exactly 1
%!  huge = p; huge([7 15 16]) = realmax;
%!  tiny = p; tiny([7 8 12]) = realmin / 2^40; % subnormal radius, width, cohesion
%!  for v = {locked, still, clear_of_soil, narrow, tilted, huge, tiny, NaN(1, 29), ...
%!           zeros(1, 29), Inf(1, 29), -realmax * ones(1, 29), [p NaN Inf]}
%!    calls{end + 1} = c('talvor', v, 1);
%!    calls{end + 1} = c('talvor', v, 0);
%!  end
%!  no_width = q; no_width(2) = 0;
%!  flat = q; flat(14:16) = 0;                 % all angles zero
%!  for v = {no_width, flat, NaN(1, 20), zeros(1, 20), realmax * ones(1, 20), [q -Inf]}
%!    calls{end + 1} = c('pindrel', v, 1);
%!    calls{end + 1} = c('pindrel', v, 0);
%!  end
%!  P = [T; locked; still; narrow; NaN(1, 29)]';
%!  W = [Q; no_width; flat; NaN(1, 20)]';
%!  for t = {{}, {1}, {2}, {0}, {7}}
%!    calls{end + 1} = c('talvor_batch', [{P} t{1}], 1);
%!    calls{end + 1} = c('pindrel_batch', [{W} t{1}], 1);
%!  end
%!  calls{end + 1} = c('talvor_batch', {P(:, 1:3)}, 0);
%!  calls{end + 1} = c('pindrel_batch', {zeros(20, 0)}, 1);
%!  % refused, each with its message
%!  for a = {{}, {p, p}, {single(p)}, {p(1:28)}, {complex(p, 0)}, {sparse(p)}, {num2cell(p)}, ...
%!           {int32(p)}, {'talvor'}, {@sin}, {struct('p', p)}, {true(1, 29)}}
%!    calls{end + 1} = c('talvor', a{1}, 1);
%!  end
%!  calls{end + 1} = c('talvor', {p}, 2);
%!  for a = {{}, {q, q}, {q(1:19)}, {single(q)}, {uint8(q)}, {complex(q, 1)}, {{}}}
%!    calls{end + 1} = c('pindrel', a{1}, 1);
%!  end
%!  calls{end + 1} = c('pindrel', {q}, 2);
%!  for a = {{}, {P, 1, 1}, {p}, {P', 1}, {P, -1}, {P, 1.5}, {P, NaN}, {P, int8(2)}, {single(P)}}
%!    calls{end + 1} = c('talvor_batch', a{1}, 1);
%!  end
%!  for a = {{W'}, {W, 2000}, {W, [1 2]}, {sparse(W)}, {W, '1'}}
%!    calls{end + 1} = c('pindrel_batch', a{1}, 1);
%!  end
%!  calls{end + 1} = c('pindrel_batch', {W}, 2);
%!endfunction

%!function alone = results_alone(calls)
%!  % Each call made alone: the four modules unloaded before it.
%!  alone = cell(size(calls));
%!  for k = 1:numel(calls)
%!    clear -f talvor pindrel talvor_batch pindrel_batch
%!    alone{k} = make_call(calls{k});
%!  end
%!endfunction

%!shared calls, alone
%! data = getenv('WHEELSOIL_TEST_DATA');
%! T = vectors(fullfile(data, 'talvor.txt'), 29);
%! Q = vectors(fullfile(data, 'pindrel.txt'), 20);
%! calls = all_calls(T, Q);
%! alone = results_alone(calls);

%!test
%! % the set is what it claims: results and refusals of all four functions
%! names = cellfun(@(c) c.name, calls, 'UniformOutput', false);
%! refused = cellfun(@(r) ! isempty(r.message), alone);
%! for name = {'talvor', 'pindrel', 'talvor_batch', 'pindrel_batch'}
%!   mine = strcmp(names, name{1});
%!   assert(any(mine & refused) && any(mine & ! refused), name{1});
%! end
%! finite = cellfun(@(r) ! isempty(r.bits) && all(isfinite(typecast(r.bits, 'double'))), alone);
%! nonfinite = cellfun(@(r) ! isempty(r.bits) && any(! isfinite(typecast(r.bits, 'double'))), alone);
%! assert(sum(finite) > 20 && sum(nonfinite) > 5);

%!test
%! % every call again, interleaved with all the others in shuffled orders
%! rand('twister', 20261209);
%! for round = 1:4
%!   order = randperm(numel(calls));
%!   for k = order
%!     r = make_call(calls{k});
%!     label = sprintf('round %d, call %d (%s)', round, k, calls{k}.name);
%!     assert(r.message, alone{k}.message, label);
%!     assert(isequal(r.bits, alone{k}.bits), label);
%!   end
%! end

%!test
%! % each call directly after each refused one and each degenerate one
%! rand('twister', 7);
%! refused = find(cellfun(@(r) ! isempty(r.message), alone));
%! for k = randperm(numel(calls))(1:20)
%!   for j = refused(randperm(numel(refused))(1:5))
%!     make_call(calls{j});
%!     r = make_call(calls{k});
%!     assert(r.message, alone{k}.message);
%!     assert(isequal(r.bits, alone{k}.bits), sprintf('call %d after %d', k, j));
%!   end
%! end
