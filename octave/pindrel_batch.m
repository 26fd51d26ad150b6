%PINDREL_BATCH  pindrel for many input vectors, on several threads.
%   W = pindrel_batch(P) evaluates pindrel for each column of P, a 20xN
%   real double matrix holding one input vector per column (pindrel_input
%   gives a 1x20 row; transpose it). W is 1xN: W(k) is pindrel(P(:, k)),
%   bit for bit, whatever the number of threads.
%   W = pindrel_batch(P, T) uses T threads: 0 (the default) one per core,
%   or a whole number from 1 to 1024; never more threads than columns.
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
%   Errors: "One or two input arguments required.", "Too many output
%   arguments.", "Input must be a real double matrix with 20 rows, one
%   input vector per column.", "Thread count must be a whole number from 0
%   (one per core) to 1024." A 20x0 P gives a 1x0 result.
%
%   See also PINDREL, PINDREL_INPUT, TALVOR_BATCH.

% Help text only: pindrel_batch is the MEX file beside this one, which takes
% precedence over it.
