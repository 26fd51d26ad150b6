% ok = build_mex_check(ROOT): runs ROOT/build_mex.m in Octave into a new
% temporary folder and is true when it placed every MEX function, helper and
% help file there, `help talvor` prints the help while talvor(p) still runs
% the MEX file, and the Octave tests of the MEX functions pass with that
% folder first on the path. The temporary folder is removed afterwards.
function ok = build_mex_check(root)
  out_dir = tempname();
  ok = false;
  try
    run(fullfile(root, 'build_mex.m'));
    expected = {'talvor.mex', fullfile('private', 'talvor_batch_mex.mex'), 'pindrel.mex', ...
                fullfile('private', 'pindrel_batch_mex.mex'), 'talvor_equilibrium_mex.mex', ...
                'talvor_contact_mex.mex', 'talvor_contact.m', ...
                fullfile('private', 'wheelsoil_terminal.mex'), ...
                fullfile('private', 'wheelsoil_tables.mex'), fullfile('private', 'next_chunk.m'), ...
                'talvor.m', 'talvor_batch.m', 'pindrel.m', ...
                'pindrel_batch.m', 'talvor_equilibrium.m', 'talvor_input.m', ...
                'pindrel_input.m', 'talvor_output.m', 'soil_parameters.m', ...
                'wheelsoil_slots.m', fullfile('private', 'assemble_slots.m')};
    missing = expected(~cellfun(@(f) exist(fullfile(out_dir, f), 'file') == 2 || ...
                                     exist(fullfile(out_dir, f), 'file') == 3, expected));
    if ~isempty(missing)
      printf('build_mex did not place: %s\n', strjoin(missing, ', '));
    end
    addpath(out_dir);
    text = evalc('help talvor');
    help_ok = ~isempty(strfind(text, 'TALVOR  Forces and moments')) && ...
              strcmp(which('talvor'), fullfile(out_dir, 'talvor.mex'));
    if ~help_ok
      printf('help talvor, or which talvor, is wrong:\n%s\n%s\n', text, which('talvor'));
    end
    tests = {'talvor_test.m', 'talvor_batch_test.m', 'pindrel_test.m', ...
             'pindrel_batch_test.m', 'talvor_equilibrium_test.m', 'named_inputs_test.m', ...
             'talvor_contact_test.m'};
    passed = cellfun(@run_test_file, tests);
    ok = isempty(missing) && help_ok && all(passed);
  catch err
    printf('build_mex failed: %s\n', err.message);
  end
  if exist(out_dir, 'dir')
    rmpath(out_dir);
    confirm_recursive_rmdir(false, 'local');
    rmdir(out_dir, 's');
  end
end
