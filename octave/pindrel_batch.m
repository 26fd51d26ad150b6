function varargout = pindrel_batch(varargin)
%PINDREL_BATCH  pindrel for many input vectors, on several threads.
%   W = pindrel_batch(P) evaluates pindrel for each column of P, a 20xN
%   real double matrix holding one input vector per column (pindrel_input
%   gives a 1x20 row; transpose it). W is 1xN: W(k) is pindrel(P(:, k)),
%   bit for bit, whatever the number of threads.
%   W = pindrel_batch(P, T) uses T threads: 0 (the default) one per core,
%   or a whole number from 1 to 1024; never more threads than columns or
%   than the machine has.
%   W = pindrel_batch(..., 'Progress', false) reports no progress. A batch
%   that runs for more than a second reports how far it got, on one line
%   rewritten in place, when a person is likely to watch (a terminal,
%   Octave's GUI, MATLAB's desktop); 'Progress', true reports it anywhere.
%
%   Ctrl-C stops a batch within a fraction of a second: the columns are
%   evaluated a few at a time, and the host takes the interrupt between two
%   such calls. The result is allocated before any work.
%
%   Example: the load against sinkage
%     soil = soil_parameters('dry_sand', 'pindrel');
%     z = 0.005:0.005:0.04;                  % sinkage, m
%     P = zeros(20, numel(z));
%     for k = 1:numel(z)
%       t1 = acos(1 - z(k) / 0.13);
%       P(:, k) = pindrel_input(soil, 'radius', 0.13, 'width', 0.16, ...
%           'rim_entry_angle', t1, 'peak_stress_angle', 0.4 * t1, ...
%           'rear_angle', -0.1 * t1).';
%     end
%     W = pindrel_batch(P);
%
%   Errors: "One or two input arguments required." (the pair 'Progress'
%   aside), "Too many output arguments.", "Input must be a real double
%   matrix with 20 rows, one input vector per column.", "Thread count must
%   be a whole number from 0 (one per core) to 1024.", "pindrel_batch:
%   Progress must be true or false." A 20x0 P gives a 1x0 result.
%
%   See also PINDREL, PINDREL_INPUT, TALVOR_BATCH.

  if nargin == 0 || nargout > 1
    [varargout{1:nargout}] = pindrel_batch_mex(varargin{:});  % refuses the call with its message
  end
  P = varargin{1};
  args = varargin(2:end);
  show = [];
  if numel(args) > 1  % name-value pairs: take 'Progress' out
    [args, show] = batch_options('pindrel_batch', args);
  end
  % Refused arguments, and batches of one chunk, in one call.
  if ~(isa(P, 'double') && isreal(P) && ~issparse(P) && size(P, 1) == 20) || numel(P) <= 20 * 4096
    varargout{1} = pindrel_batch_mex(P, args{:});  % refuses P with its message, or evaluates it
    return
  end
  count = numel(P) / 20;
  pindrel_batch_mex(zeros(20, 0), args{:});  % the thread count checked before any work
  R = zeros(1, count);
  batch_progress(show, 'pindrel_batch');
  cleanup = onCleanup(@() batch_progress());
  [first, last, chunk] = next_chunk(1, count, 0, 4096);
  while first <= count
    started = tic();
    R(first:last) = pindrel_batch_mex(P(:, first:last), args{:});
    batch_progress(last, count, 'columns');
    [first, last, chunk] = next_chunk(last + 1, count, last - first + 1, toc(started));
  end
  varargout{1} = R;
end
