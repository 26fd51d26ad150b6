% Per-call cost of talvor(p) and pindrel(p) as Octave users pay it (gateway,
% argument checks and the interpreter's call overhead included), and of
% talvor_batch per column. Run from the repository root with the MEX files
% on the path: octave-cli --eval "addpath('build/octave'); addpath('bench'); octave_call_bench"
function octave_call_bench()
  data = fullfile(fileparts(mfilename('fullpath')), '..', 'tests', 'data');
  P = read_inputs(fullfile(data, 'talvor.txt'), 29);
  P = P(:, all(isfinite(talvor_batch(P)), 1));
  n = 300;
  tic;
  for k = 1:n
    talvor(P(:, mod(k - 1, columns(P)) + 1));
  end
  single_call = toc / n;
  cols = repmat(P, 1, ceil(n / columns(P)));
  tic;
  talvor_batch(cols, 1);
  batch1 = toc / columns(cols);
  tic;
  talvor_batch(cols, 2);
  batch2 = toc / columns(cols);
  printf('talvor(p) through Octave:  %8.1f us per call\n', single_call * 1e6);
  printf('talvor_batch, 1 thread:    %8.1f us per column\n', batch1 * 1e6);
  printf('talvor_batch, 2 threads:   %8.1f us per column\n', batch2 * 1e6);
  if exist('pindrel', 'file')
    Q = read_inputs(fullfile(data, 'pindrel.txt'), 20);
    m = 20000;
    tic;
    for k = 1:m
      pindrel(Q(:, mod(k - 1, columns(Q)) + 1));
    end
    printf('pindrel(p) through Octave: %8.2f us per call\n', toc / m * 1e6);
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
