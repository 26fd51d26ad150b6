% build_mex: builds talvor, talvor_batch, pindrel and pindrel_batch for MATLAB
% with the mex command, for users without CMake, with the helper functions
% (talvor_input, soil_parameters, ...) and the private MEX function that gives
% them the library's slot and soil tables. Run it from the repository root;
% everything goes to build/matlab (addpath it). Uses the compatible array API
% (-compatibleArrayDims), so the gateways import mxCreateDoubleMatrix_700.
root = fileparts(mfilename('fullpath'));
out = fullfile(root, 'build', 'matlab');
if ~exist(fullfile(out, 'private'), 'dir'), mkdir(fullfile(out, 'private')); end

full = fullfile(root, 'full_model', {'wheel_soil_model.cpp', 'contact_geometry.cpp', ...
    'rim_stress.cpp', 'gauss_legendre.cpp', 'rim_loads.cpp', 'sidewall_loads.cpp', ...
    'fused_loads.cpp', 'wheel_soil_batch.cpp'});
simple = fullfile(root, 'load_model', {'load_model.cpp', 'point_stress.cpp', ...
    'load_integral.cpp', 'load_model_batch.cpp'});

% No fused multiply-adds: the results are fixed to the last bit (the model
% sources also say so themselves, through api/strict_fp.h).
if ispc
  flags = {'COMPFLAGS=$COMPFLAGS /std:c++17 /fp:precise'};
else
  flags = {'CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off -fno-fast-math', ...
           'LDFLAGS=$LDFLAGS -pthread'};
end
common = [{'-compatibleArrayDims', ['-I' fullfile(root, 'include')]}, flags];

mex(common{:}, '-outdir', out, ['-I' fullfile(root, 'full_model')], ...
    fullfile(root, 'full_model', 'talvor_mex.cpp'), full{:}, '-output', 'talvor');
mex(common{:}, '-outdir', out, ['-I' fullfile(root, 'full_model')], ...
    fullfile(root, 'full_model', 'talvor_batch_mex.cpp'), full{:}, '-output', 'talvor_batch');
mex(common{:}, '-outdir', out, ['-I' fullfile(root, 'load_model')], ...
    fullfile(root, 'load_model', 'pindrel_mex.cpp'), simple{:}, '-output', 'pindrel');
mex(common{:}, '-outdir', out, ['-I' fullfile(root, 'load_model')], ...
    fullfile(root, 'load_model', 'pindrel_batch_mex.cpp'), simple{:}, '-output', 'pindrel_batch');
mex(common{:}, '-outdir', fullfile(out, 'private'), ...
    fullfile(root, 'octave', 'wheelsoil_tables_mex.cpp'), '-output', 'wheelsoil_tables');
copyfile(fullfile(root, 'octave', '*.m'), out);
copyfile(fullfile(root, 'octave', 'private', '*.m'), fullfile(out, 'private'));
fprintf('MEX files and helpers in %s: addpath(''%s'')\n', out, out);
