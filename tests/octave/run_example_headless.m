% ok = run_example_headless(FOLDER, NAME, PNGS): runs the example script NAME
% of FOLDER in a new temporary folder, prints what it printed, and is true
% when it finished, printed something and wrote each file of PNGS there as a
% drawn picture: a PNG that reads back, at least 200x200 pixels, with more
% than one colour and at least 1 % of its pixels unlike the background (the
% most common colour). The temporary folder is removed afterwards.
function ok = run_example_headless(folder, name, pngs)
  addpath(folder);
  work = tempname();
  mkdir(work);
  here = pwd();
  ok = false;
  try
    cd(work);
    printed = evalc(name);
    fputs(stdout, printed);
    ok = ~isempty(strtrim(printed));
    for k = 1:numel(pngs)
      [drawn, what] = drawn_png(fullfile(work, pngs{k}));
      printf('%s: %s, %s\n', name, pngs{k}, what);
      ok = ok && drawn;
    end
  catch err
    printf('%s failed: %s\n', name, err.message);
    ok = false;
  end
  cd(here);
  confirm_recursive_rmdir(false, 'local');
  rmdir(work, 's');
end

% True when FILE is a PNG with a picture on it; WHAT says what was found.
function [drawn, what] = drawn_png(file)
  drawn = false;
  d = dir(file);
  if numel(d) ~= 1 || d.bytes == 0
    what = 'not written';
    return
  end
  try
    img = imread(file);
  catch err
    what = sprintf('%d bytes, unreadable: %s', d.bytes, err.message);
    return
  end
  pixels = reshape(img, [], size(img, 3));
  [colours, ~, which] = unique(pixels, 'rows');
  background = mode(which);
  other = mean(which ~= background);
  what = sprintf('%d bytes, %dx%d pixels, %d colours, %.1f %% unlike the background', ...
                 d.bytes, size(img, 2), size(img, 1), size(colours, 1), 100 * other);
  drawn = size(img, 1) >= 200 && size(img, 2) >= 200 && size(colours, 1) > 1 && other >= 0.01;
  if ~drawn
    what = [what, ': blank'];
  end
end
