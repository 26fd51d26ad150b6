%TALVOR_BATCH  talvor for many input vectors, on several threads.
%   L = talvor_batch(P) evaluates talvor for each column of P, a 29xN real
%   double matrix holding one input vector per column (talvor_input gives a
%   1x29 row; transpose it). L is 18xN: column k is talvor(P(:, k)).',
%   bit for bit, whatever the number of threads.
%   L = talvor_batch(P, T) uses T threads: 0 (the default) one per core,
%   or a whole number from 1 to 1024; never more threads than columns.
%   L = talvor_batch(P, 'Math', 'vector') and talvor_batch(P, T, 'Math',
%   'vector') evaluate with deterministic vector maths (SLEEF) instead of
%   the C library's functions: several times faster, the same bits on every
%   x86-64 machine and thread count, but not those of talvor(p): within
%   1e-11 of them relative to the largest load of each column. 'Math',
%   'standard' is the default. Name and value may be in any case.
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
%   Errors: "One to four input arguments required.", "Too many output
%   arguments.", "Input must be a real double matrix with 29 rows, one
%   input vector per column.", "Thread count must be a whole number from 0
%   (one per core) to 1024.", "Unknown option: the option is 'Math',
%   followed by 'standard' or 'vector'.", "Math must be 'standard' or
%   'vector'.", "This talvor_batch was built without vector maths (SLEEF)."
%   A 29x0 P gives an 18x0 result.
%
%   See also TALVOR, TALVOR_INPUT, TALVOR_OUTPUT, PINDREL_BATCH.

% Help text only: talvor_batch is the MEX file beside this one, which takes
% precedence over it.
