function varargout = talvor_batch(varargin)
%TALVOR_BATCH  talvor for many input vectors, on several threads.
%   L = talvor_batch(P) evaluates talvor for each column of P, a 29xN real
%   double matrix holding one input vector per column (talvor_input gives a
%   1x29 row; transpose it). L is 18xN: column k is talvor(P(:, k)).',
%   bit for bit, whatever the number of threads.
%   L = talvor_batch(P, T) uses T threads: 0 (the default) one per core,
%   or a whole number from 1 to 1024; never more threads than columns or
%   than the machine has.
%   L = talvor_batch(P, 'Math', 'vector') and talvor_batch(P, T, 'Math',
%   'vector') evaluate with deterministic vector maths (SLEEF) instead of
%   the C library's functions: several times faster, the same bits on every
%   x86-64 machine and thread count, but not those of talvor(p): within
%   1e-11 of them relative to the largest load of each column. 'Math',
%   'standard' is the default. Name and value may be in any case.
%   L = talvor_batch(P, 'Rule', 'split') integrates each rim strip in pieces
%   split at its maximum-stress angles (and the band's angles): within about
%   1e-7 of the exact integral where the fixed 30 x 30 rule is off by up to
%   1e-3, and smooth in the slip (no slope breaks). The sidewall loads are
%   the default's. 'Rule', 'fixed' is the default; 'split' is not taken with
%   'Math', 'vector'.
%   L = talvor_batch(P, 'DirectionAware', true) evaluates a wheel travelling
%   in -x (vx < 0, or vx = 0 and wy < 0) in the frame mirrored about its
%   y-z plane (vx, wy, wz negated) and maps the loads back (the x forces and
%   the y and z moments negated): it gets the mirrored loads of the same
%   wheel travelling forward, bit for bit. Other wheels, a wheel at rest
%   included, are evaluated as without it. Default false.
%   The pairs may follow P or the thread count, in any order.
%   L = talvor_batch(..., 'Progress', false) reports no progress. A batch
%   that runs for more than a second reports how far it got, on one line
%   rewritten in place, when a person is likely to watch (a terminal,
%   Octave's GUI, MATLAB's desktop); 'Progress', true reports it anywhere.
%
%   Ctrl-C stops a batch within a fraction of a second: the columns are
%   evaluated a few at a time, and the host takes the interrupt between two
%   such calls. The result is allocated before any work, so a batch whose
%   result the memory cannot hold fails at once, with the host's
%   out-of-memory error.
%
%   Example: the loads at 31 slip angles
%     soil = soil_parameters('dry_sand');
%     beta = (0:30) * pi / 180;
%     P = zeros(29, numel(beta));
%     for k = 1:numel(beta)
%       P(:, k) = talvor_input(soil, 'radius', 0.13, 'width', 0.16, ...
%           'centre_height', 0.11, 'vx', 0.08, 'vy', 0.08 * tan(beta(k)), ...
%           'wy', 0.1 / 0.13, 'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, ...
%           'gravity', 9.81).';
%     end
%     loads = talvor_output(talvor_batch(P));   % fields are 1x31 rows
%     plot(beta * 180 / pi, loads.rim_fy + loads.side_fy)
%
%   Errors: "One to eight input arguments required." (the pair 'Progress'
%   aside), "Too many output arguments.", "Input must be a real double
%   matrix with 29 rows, one input vector per column.", "Thread count must
%   be a whole number from 0 (one per core) to 1024.", "Unknown option: the options are 'Math'
%   ('standard' or 'vector'), 'Rule' ('fixed' or 'split') and
%   'DirectionAware' (true or false).", "Math must be 'standard' or
%   'vector'.", "Rule must be 'fixed' or 'split'.", "DirectionAware must be
%   true or false.", "'Rule', 'split' takes the standard maths: it cannot
%   be combined with 'Math', 'vector'.", "This talvor_batch was built
%   without vector maths (SLEEF).", "talvor_batch: Progress must be true or
%   false."
%   A 29x0 P gives an 18x0 result.
%
%   See also TALVOR, TALVOR_INPUT, TALVOR_OUTPUT, TALVOR_CONTACT, PINDREL_BATCH.

  if nargin == 0 || nargout > 1
    [varargout{1:nargout}] = talvor_batch_mex(varargin{:});  % refuses the call with its message
  end
  P = varargin{1};
  args = varargin(2:end);
  show = [];
  if numel(args) > 1  % name-value pairs: take 'Progress' out
    [args, show] = batch_options('talvor_batch', args);
  end
  % Refused arguments, and batches of one chunk, in one call.
  if ~(isa(P, 'double') && isreal(P) && ~issparse(P) && size(P, 1) == 29) || numel(P) <= 29 * 16
    varargout{1} = talvor_batch_mex(P, args{:});  % refuses P with its message, or evaluates it
    return
  end
  count = numel(P) / 29;
  talvor_batch_mex(zeros(29, 0), args{:});  % the other arguments checked before any work
  R = zeros(18, count);
  batch_progress(show, 'talvor_batch');
  cleanup = onCleanup(@() batch_progress());
  [first, last, chunk] = next_chunk(1, count, 0, 16);
  while first <= count
    started = tic();
    R(:, first:last) = talvor_batch_mex(P(:, first:last), args{:});
    batch_progress(last, count, 'columns');
    [first, last, chunk] = next_chunk(last + 1, count, last - first + 1, toc(started));
  end
  varargout{1} = R;
end
