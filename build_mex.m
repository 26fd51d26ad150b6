% build_mex: builds the MEX functions talvor, pindrel, talvor_contact_mex
% (behind talvor_contact.m) and talvor_equilibrium_mex with the mex command,
% and the private MEX functions that the .m functions beside them call (talvor_batch_mex and
% pindrel_batch_mex behind talvor_batch and pindrel_batch; the library's
% slot and soil tables; whether output goes to a terminal); places the helper
% functions and help files beside them, as the CMake build does.
% For users without CMake. In MATLAB or Octave:
%   run /path/to/wheelsoil/build_mex.m
% MATLAB builds into build/matlab, Octave (whose mex is mkoctfile --mex)
% into build/octave; set out_dir beforehand to build elsewhere. Then
% addpath that folder, and help talvor.
%
% The operating point (talvor_equilibrium) needs the header-only Boost.Math
% (Debian: apt-get install libboost-dev). Where the compiler does not find
% the Boost headers by itself, set boost_include to their folder first.
%
% MATLAB uses the compatible array API (-compatibleArrayDims), so the
% gateways import mxCreateDoubleMatrix_700. Neither host may contract
% a*b + c into a fused multiply-add: the results are fixed to the last bit.
root = fileparts(mfilename('fullpath'));
is_octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
if ~exist('out_dir', 'var')
  if is_octave
    out_dir = fullfile(root, 'build', 'octave');
  else
    out_dir = fullfile(root, 'build', 'matlab');
  end
end
if ~exist(fullfile(out_dir, 'private'), 'dir'), mkdir(fullfile(out_dir, 'private')); end

in = @(folder, names) fullfile(root, folder, names);
full = in('full_model', {'wheel_soil_model.cpp', 'contact_geometry.cpp', 'rim_stress.cpp', ...
    'gauss_legendre.cpp', 'rim_loads.cpp', 'sidewall_loads.cpp', 'fused_loads.cpp', ...
    'fused_loads_unit.cpp', 'vector_unit.cpp', 'vector_loads.cpp', 'wheel_soil_batch.cpp', ...
    'evaluation_modes.cpp', 'contact_diagnostics.cpp'});
simple = in('load_model', {'load_model.cpp', 'point_stress.cpp', 'load_integral.cpp', ...
    'load_model_batch.cpp'});
solver = in('equilibrium', {'load_balance.cpp', 'wheel_equilibrium.cpp'});
public_inc = ['-I' fullfile(root, 'include')];
% talvor's default evaluator built once, for the compiler's own instruction
% set (the same bits as CMake's per-unit builds); no vector maths here (the
% CMake build has it, with SLEEF).
full_inc = {['-I' fullfile(root, 'full_model')], public_inc, '-DWHEELSOIL_UNIT_SSE2', ...
            '-DWHEELSOIL_SSE2_ONLY=1'};
simple_inc = {['-I' fullfile(root, 'load_model')], public_inc};
solver_inc = [{['-I' fullfile(root, 'equilibrium')]}, full_inc];
if exist('boost_include', 'var')
  solver_inc{end + 1} = ['-I' boost_include];
end

% Each MEX function: its name, its include flags, its sources (gateway first).
targets = {
  'talvor', full_inc, [in('full_model', {'talvor_mex.cpp'}), full]
  fullfile('private', 'talvor_batch_mex'), full_inc, ...
      [in('full_model', {'talvor_batch_mex.cpp'}), full]
  'talvor_contact_mex', full_inc, [in('full_model', {'talvor_contact_mex.cpp'}), full]
  'pindrel', simple_inc, [in('load_model', {'pindrel_mex.cpp'}), simple]
  fullfile('private', 'pindrel_batch_mex'), simple_inc, ...
      [in('load_model', {'pindrel_batch_mex.cpp'}), simple]
  'talvor_equilibrium_mex', solver_inc, ...
      [in('equilibrium', {'talvor_equilibrium_mex.cpp'}), solver, full]
  fullfile('private', 'wheelsoil_tables'), {public_inc}, ...
      in('octave', {'wheelsoil_tables_mex.cpp'})
  fullfile('private', 'wheelsoil_terminal'), {}, in('octave', {'terminal_mex.cpp'})
};

for k = 1:size(targets, 1)
  [name, includes, sources] = targets{k, :};
  fprintf('build_mex: %s\n', name);
  if is_octave
    % mkoctfile takes its compiler flags from the environment and leaves
    % its object files in the current folder: compile in a folder of our own.
    flags_before = getenv('CXXFLAGS');
    setenv('CXXFLAGS', '-O2 -std=c++17 -ffp-contract=off -fno-fast-math');
    work = tempname();
    mkdir(work);
    here = pwd();
    cd(work);
    try
      mex(includes{:}, sources{:}, '-lpthread', '-o', fullfile(out_dir, [name '.mex']));
      failure = [];
    catch failure
    end
    cd(here);
    setenv('CXXFLAGS', flags_before);
    confirm_recursive_rmdir(false, 'local');
    rmdir(work, 's');
    if ~isempty(failure), rethrow(failure); end
  else
    if ispc
      flags = {'COMPFLAGS=$COMPFLAGS /std:c++17 /fp:precise'};
    else
      flags = {'CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off -fno-fast-math', ...
               'LDFLAGS=$LDFLAGS -pthread'};
    end
    [sub, base] = fileparts(name);
    mex('-compatibleArrayDims', '-outdir', fullfile(out_dir, sub), flags{:}, includes{:}, ...
        sources{:}, '-output', base);
  end
end

% The helper functions and the help files beside the MEX files.
helpers = [dir(fullfile(root, 'octave', '*.m')); dir(fullfile(root, 'equilibrium', '*.m'))];
for k = 1:numel(helpers)
  copyfile(fullfile(helpers(k).folder, helpers(k).name), out_dir);
end
copyfile(fullfile(root, 'octave', 'private', '*.m'), fullfile(out_dir, 'private'));
fprintf('build_mex: MEX files and helpers in %s: addpath(''%s'')\n', out_dir, out_dir);
