% Per-call cost of talvor(p) and pindrel(p) as Octave users pay it (gateway,
% argument checks and the interpreter's call overhead included); the cost of
% one step of a six-wheel rover, talvor_batch on six columns, with either
% maths; and talvor_batch per column on 1 and 2 threads. The variants run in
% interleaved rounds and each figure is the median over the rounds: process
% CPU time on one thread (steady on a shared machine), wall time on two. Run from
% the repository root with the MEX files on the path:
%   octave-cli --eval "addpath('build/octave'); addpath('bench'); octave_call_bench"
function octave_call_bench()
  data = fullfile(fileparts(mfilename('fullpath')), '..', 'tests', 'data');
  P = read_inputs(fullfile(data, 'talvor.txt'), 29);
  P = P(:, all(isfinite(talvor_batch(P)), 1));
  vector = vector_maths_built(P);
  wheels = P(:, 1:6);  % six wheels of one rover step
  cols = repmat(P, 1, 20);
  rounds = 7;
  n = 600;
  t = struct('single', [], 'step', [], 'step_vector', [], 'batch1', [], 'batch2', [], ...
             'batch1_vector', [], 'batch2_vector', []);
  for r = 1:rounds
    c0 = cputime;
    for k = 1:n
      talvor(P(:, mod(k - 1, columns(P)) + 1));
    end
    t.single(end + 1) = (cputime - c0) / n;
    c0 = cputime;
    for k = 1:n / 6
      talvor_batch(wheels, 1);
    end
    t.step(end + 1) = (cputime - c0) / (n / 6);
    if vector
      c0 = cputime;
      for k = 1:n / 6
        talvor_batch(wheels, 1, 'Math', 'vector');
      end
      t.step_vector(end + 1) = (cputime - c0) / (n / 6);
    end
    c0 = cputime; talvor_batch(cols, 1); t.batch1(end + 1) = (cputime - c0) / columns(cols);
    tic; talvor_batch(cols, 2); t.batch2(end + 1) = toc / columns(cols);
    if vector
      c0 = cputime; talvor_batch(cols, 1, 'Math', 'vector');
      t.batch1_vector(end + 1) = (cputime - c0) / columns(cols);
      tic; talvor_batch(cols, 2, 'Math', 'vector'); t.batch2_vector(end + 1) = toc / columns(cols);
    end
  end
  printf('talvor(p) through Octave:                     %8.1f us per call\n', median(t.single) * 1e6);
  printf('rover step, talvor_batch(6 wheels, 1):        %8.1f us per step (%.1f per wheel)\n', ...
         median(t.step) * 1e6, median(t.step) * 1e6 / 6);
  if vector
    printf('rover step, the same with ''Math'', ''vector'':   %8.1f us per step (%.1f per wheel)\n', ...
           median(t.step_vector) * 1e6, median(t.step_vector) * 1e6 / 6);
  end
  printf('talvor_batch, 1 thread:                       %8.1f us per column\n', median(t.batch1) * 1e6);
  printf('talvor_batch, 2 threads (wall):               %8.1f us per column\n', median(t.batch2) * 1e6);
  if vector
    printf('talvor_batch vector maths, 1 thread:          %8.1f us per column\n', ...
           median(t.batch1_vector) * 1e6);
    printf('talvor_batch vector maths, 2 threads (wall):  %8.1f us per column\n', ...
           median(t.batch2_vector) * 1e6);
  end
  if exist('pindrel', 'file')
    Q = read_inputs(fullfile(data, 'pindrel.txt'), 20);
    m = 20000;
    c0 = cputime;
    for k = 1:m
      pindrel(Q(:, mod(k - 1, columns(Q)) + 1));
    end
    printf('pindrel(p) through Octave:                    %8.2f us per call\n', (cputime - c0) / m * 1e6);
  end
end

function built = vector_maths_built(P)
  try
    talvor_batch(P(:, 1), 'Math', 'vector');
    built = true;
  catch
    built = false;
  end
end

function P = read_inputs(file, slots)
  lines = strsplit(fileread(file), "\n");
  lines = lines(~cellfun(@isempty, lines) & ~strncmp(lines, '#', 1));
  P = zeros(slots, numel(lines));
  for k = 1:numel(lines)
    words = strsplit(strtrim(lines{k}));
    v = str2double(words(2:end));
    P(:, k) = v(1:slots)';
  end
end
