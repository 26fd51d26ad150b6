% ok = run_example_headless(FOLDER, NAME, PNGS): runs the example script NAME
% of FOLDER in a new temporary folder, prints what it printed, and is true
% when it finished and wrote each file of PNGS there, non-empty, and printed
% something. The temporary folder is removed afterwards.
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
      d = dir(fullfile(work, pngs{k}));
      if numel(d) ~= 1 || d.bytes == 0
        printf('%s: %s was not written\n', name, pngs{k});
        ok = false;
      else
        printf('%s: %s, %d bytes\n', name, pngs{k}, d.bytes);
      end
    end
  catch err
    printf('%s failed: %s\n', name, err.message);
  end
  cd(here);
  confirm_recursive_rmdir(false, 'local');
  rmdir(work, 's');
end
