function [p_eq, loads, info] = talvor_equilibrium(p, W, varargin)
%TALVOR_EQUILIBRIUM  The centre height at which the soil carries a wheel load.
%   [p_eq, loads, info] = talvor_equilibrium(p, W)
%
%   The operating point of a wheel: the centre height (centre_height, p(21))
%   at which the soil carries the vertical load W, rim_fz + side_fz = W (N).
%   Every other slot of p is used as given; the centre height of p is ignored.
%
%   Single solve: p a vector of at least 29 elements (as for talvor), W a
%   positive scalar. p_eq is p with the solved centre height, loads the 1x18
%   talvor loads there, info a struct. A failed solve is an error, whose
%   identifier names the reason (talvor_equilibrium:load_not_carried, ...).
%   A root at which the force does not fall steadily through W gives a warning
%   (talvor_equilibrium:not_monotone) and info.monotone = false.
%
%   Several solves: p a 29xN matrix with a scalar W or N loads, or a single
%   vector p with a vector of K loads. p_eq is 29xN (29xK), loads 18xN (18xK)
%   and info a 1xN (1xK) struct array. A failed solve does not stop the others:
%   its centre height, loads, residual and sinkages are NaN, info.converged is
%   false and info.message says why.
%
%   [...] = talvor_equilibrium(p, W, 'Progress', false) reports no progress.
%   Solves that run for more than a second report how far they got, on one
%   line rewritten in place, when a person is likely to watch (a terminal,
%   Octave's GUI, MATLAB's desktop); 'Progress', true reports it anywhere.
%   Ctrl-C stops them within a fraction of a second: the solves run a few at
%   a time, and the host takes the interrupt between two such calls.
%
%   Fields of info:
%     sinkage      sinkage at the wheel's mid-plane (m)
%     max_sinkage  sinkage at the wheel's lowest edge (m)
%     iterations   model evaluations used
%     converged    true when |F - W| <= 1e-10 W at the solved height, or,
%                  where the force changes by more than that between adjacent
%                  heights, when the closest height is within 1e-6 W (the
%                  message then gives the residual)
%     residual     F - W at the solved height (N)
%     monotone     false when the force does not fall steadily through W there
%     status       'converged', 'invalid_load', 'invalid_wheel',
%                  'load_not_carried', 'non_finite_loads' or 'not_converged'
%     message      what happened, in words
%
%   Example: the sinkage of a rover wheel carrying 100 N
%     p = talvor_input(soil_parameters('dry_sand'), 'radius', 0.13, 'width', 0.16, ...
%                      'centre_height', 0.13, 'vx', 0.1, 'wy', 0.125 / 0.13, ...
%                      'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
%     [p_eq, loads, info] = talvor_equilibrium(p, 100);
%     info.sinkage                 % 0.0183 m
%
%   See also TALVOR, TALVOR_INPUT, TALVOR_OUTPUT.

  if (nargin ~= 2 && nargin ~= 4)
    error('talvor_equilibrium:usage', ...
          'talvor_equilibrium: two input arguments required (p, W), and optionally ''Progress'', TF.');
  end
  if (nargin == 4 && ~(ischar(varargin{1}) && strcmpi(varargin{1}, 'progress')))
    error('talvor_equilibrium:usage', ...
          'talvor_equilibrium: the one option is ''Progress'', followed by true or false.');
  end
  [~, show] = batch_options('talvor_equilibrium', varargin);
  if (~(isa(p, 'double') && isreal(p) && ~issparse(p)))
    error('talvor_equilibrium:usage', 'talvor_equilibrium: p must be a real double array.');
  end
  if (~(isa(W, 'double') && isreal(W) && ~issparse(W) && ~isempty(W)))
    error('talvor_equilibrium:usage', 'talvor_equilibrium: W must be a real double array of loads.');
  end

  batch = size(p, 1) == 29 && size(p, 2) > 1 && ndims(p) == 2;
  if (~batch && ~(isvector(p) && numel(p) >= 29))
    error('talvor_equilibrium:usage', ...
          'talvor_equilibrium: p must be a vector of at least 29 elements or a 29xN matrix.');
  end
  if (batch)
    P = p;
    if (~(isscalar(W) || numel(W) == size(p, 2)))
      error('talvor_equilibrium:usage', ...
            'talvor_equilibrium: give one load, or one load per column of p.');
    end
    count = size(p, 2);
  else
    P = reshape(p(1:29), 29, 1);
    count = numel(W);
  end
  W = reshape(W, 1, []);

  % Every result allocated before the first solve; then the solves a few at
  % a time, so that the host can take an interrupt between calls.
  P_eq = zeros(29, count);
  L = zeros(18, count);
  S = zeros(7, count);
  info = struct('sinkage', cell(1, count), 'max_sinkage', [], 'iterations', [], ...
                'converged', [], 'residual', [], 'monotone', [], 'status', [], 'message', []);
  statuses = {'converged', 'invalid_load', 'invalid_wheel', 'load_not_carried', ...
              'non_finite_loads', 'not_converged'};
  if (count > 2)
    batch_progress(show, 'talvor_equilibrium');
    cleanup = onCleanup(@() batch_progress());
  end
  [first, last, chunk] = next_chunk(1, count, 0, 2);
  while first <= count
    started = tic();
    k = first:last;
    if (batch)
      Pk = P(:, k);
    else
      Pk = P;
    end
    if (isscalar(W))
      Wk = W;
    else
      Wk = W(k);
    end
    [P_eq(:, k), L(:, k), S(:, k), M] = talvor_equilibrium_mex(Pk, Wk);
    for j = 1:numel(k)
      c = k(j);
      info(c).sinkage = S(5, c);
      info(c).max_sinkage = S(6, c);
      info(c).iterations = S(3, c);
      info(c).converged = S(2, c) ~= 0;
      info(c).residual = S(4, c);
      info(c).monotone = S(7, c) ~= 0;
      info(c).status = statuses{S(1, c) + 1};
      info(c).message = deblank(char(M(j, :)));
    end
    if (count > 2)
      batch_progress(last, count, 'solves');
    end
    [first, last, chunk] = next_chunk(last + 1, count, last - first + 1, toc(started));
  end

  if (~batch && isscalar(W))
    if (~info.converged)
      error(['talvor_equilibrium:' info.status], 'talvor_equilibrium: %s', info.message);
    end
    if (~info.monotone)
      warning('talvor_equilibrium:not_monotone', 'talvor_equilibrium: %s', info.message);
    end
    p_eq = p;
    p_eq(21) = P_eq(21);
    loads = L.';
  else
    p_eq = P_eq;
    loads = L;
  end
end
