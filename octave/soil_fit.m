function r = soil_fit(kind, data, varargin)
%SOIL_FIT  Soil and wheel parameters from test data.
%   R = soil_fit(KIND, DATA, 'name', value, ...) fits by bounded nonlinear
%   least squares, with standard errors from the Jacobian at the optimum:
%
%   'plate'  plate-sinkage tests, p = (k_c/b + k_phi)*z^n: fits
%            sinkage_exponent (n), k_c (N/m^(n+1)) and k_phi (N/m^(n+2)).
%            Columns: width (b, m: a rectangular plate's smaller side; for
%            circular plates the column may be called radius), sinkage (z, m),
%            pressure (p, Pa). Needs two plate sizes, unless k_c or k_phi is
%            held ('set').
%   'shear'  shear tests, tau = (c + sigma*tan(phi))*F(j/K), F = 1 - exp(-j/K)
%            or, with 'hump', the hump law with kr: fits cohesion (Pa),
%            friction_angle (rad), shear_modulus (K, m) [and kr]. Columns:
%            normal_stress (Pa), displacement (m), shear_stress (Pa). Needs
%            two normal stresses, unless cohesion or friction_angle is held.
%   'wheel'  single-wheel runs, each at the centre height that carries its
%            load (talvor_equilibrium): fits c1..c4, or the talvor inputs
%            'fit' names. Columns: slip (-1..1), load (N), and any of
%            drawbar_pull (rim_fx + side_fx, N), torque (the driving torque
%            -(rim_my + side_my), N m) and sinkage (mid-plane, m); NaN or a
%            missing column is not measured.
%
%   DATA is a CSV file name (a header row naming the columns, or the
%   columns in the order above; as the wheelsoil tool reads it), a struct
%   with the columns as fields, or a numeric matrix with the columns in
%   the order above.
%
%   Options:
%     'set', S       plate, shear: parameters held at these values (a struct
%                    of name = value). wheel: the given talvor inputs (merged
%                    as by talvor_input; shear_modulus sets kx and ky); vx
%                    defaults to 0.1 m/s, and fitted c1..c4 start from 0.4,
%                    0.15, 0.1, 0 unless set
%     'soil', NAME   wheel: a soil of soil_parameters (or its struct), before 'set'
%     'fit', NAMES   wheel: a cell of talvor input names to fit
%     'start', S     starting values (else estimated from the data)
%     'lower', S     bounds that replace the physical ones
%     'upper', S
%     'sigma', S     wheel: standard deviations of drawbar_pull, torque,
%                    sinkage (default: the RMS of each one's measurements)
%     'hump', TF     shear: the hump law with kr
%     'max_iterations', N   (200)       'threads', N   wheel (0: all cores)
%     'plot', FILE   draw the data against the fitted curves into a PNG
%
%   R is a struct:
%     status       'converged', 'ill_posed', 'invalid_data', 'not_converged'
%                  or 'failed'; ok is true only for 'converged'
%     message      what happened, in words
%     values       struct name -> value (NaN unless ok, held values apart)
%     errors       struct name -> standard error (NaN if held or at a bound)
%     parameters   struct array: name, value, standard_error, unit, fitted,
%                  at_bound, lower, upper
%     undetermined cell of the parameters the data cannot determine
%     quantities   struct array per measured quantity: name, unit, measured,
%                  fitted, residuals (per row), observations, sigma, rmse,
%                  r_squared
%     correlation, observations, degrees_of_freedom,
%     residual_standard_error, condition_number, iterations
%   An ill-posed, failed or unconverged fit is no error: check R.ok. Without
%   an output, soil_fit prints a table.
%
%   Example:
%     r = soil_fit('plate', 'plate_tests.csv', 'plot', 'plate.png');
%     soil = soil_parameters('dry_sand');
%     soil.k_c = r.values.k_c;  soil.k_phi = r.values.k_phi;
%     soil.sinkage_exponent = r.values.sinkage_exponent;
%
%   See also SOIL_PARAMETERS, TALVOR_INPUT, TALVOR_EQUILIBRIUM.

  if nargin < 2
    error('soil_fit:usage', 'soil_fit: KIND and DATA are required');
  end
  if exist('soil_fit_mex') ~= 3
    error('soil_fit:unavailable', ['soil_fit: this build has no fits: they need Ceres Solver ' ...
          '(Debian: libceres-dev) and are built by CMake, not by build_mex.m']);
  end
  kinds = {'plate', 'shear', 'wheel'};
  if ~(ischar(kind) || (isstring(kind) && isscalar(kind))) || ~any(strcmp(char(kind), kinds))
    error('soil_fit:usage', 'soil_fit: KIND must be ''plate'', ''shear'' or ''wheel''');
  end
  kind = char(kind);
  code = find(strcmp(kind, kinds));
  o = struct('set', struct(), 'soil', '', 'fit', {{}}, 'start', struct(), 'lower', struct(), ...
             'upper', struct(), 'sigma', struct(), 'hump', false, 'max_iterations', 200, ...
             'threads', 0, 'rank_tolerance', 0, 'plot', '');
  fit_given = false;
  if mod(numel(varargin), 2) ~= 0
    error('soil_fit:usage', 'soil_fit: options come as name, value pairs');
  end
  for k = 1:2:numel(varargin)
    name = varargin{k};
    if ~ischar(name) || ~isfield(o, name)
      error('soil_fit:usage', 'soil_fit: unknown option %s', disp_name(name));
    end
    o.(name) = varargin{k + 1};
    fit_given = fit_given || strcmp(name, 'fit');
  end
  if code ~= 3 && (~isempty(o.soil) || fit_given || ~isempty(fieldnames(o.sigma)))
    error('soil_fit:usage', 'soil_fit: ''soil'', ''fit'' and ''sigma'' are for the wheel fit');
  end
  if code ~= 2 && o.hump
    error('soil_fit:usage', 'soil_fit: ''hump'' is for the shear fit');
  end

  columns = {{'width', 'sinkage', 'pressure'}, ...
             {'normal_stress', 'displacement', 'shear_stress'}, ...
             {'slip', 'load', 'drawbar_pull', 'torque', 'sinkage'}};
  required = {[1 1 1], [1 1 1], [1 1 0 0 0]};
  D = fit_columns(data, columns{code}, required{code}, kind);

  % Settings crossing the gateway: names as character codes, [what, value].
  names = {};
  settings = zeros(0, 2);
  given = [];
  if code == 3
    [given, set_fit] = wheel_given(o, fit_given);
    o.fit = set_fit;
  else
    [names, settings] = add_settings(names, settings, 1, o.set);
  end
  [names, settings] = add_settings(names, settings, 2, o.start);
  [names, settings] = add_settings(names, settings, 3, o.lower);
  [names, settings] = add_settings(names, settings, 4, o.upper);
  [names, settings] = add_settings(names, settings, 5, o.sigma);
  if code == 3
    if ~iscellstr(o.fit)
      error('soil_fit:usage', 'soil_fit: ''fit'' must be a cell of talvor input names');
    end
    for i = 1:numel(o.fit)
      names{end + 1} = o.fit{i};
      settings(end + 1, :) = [6, 0];
    end
  end
  codes = zeros(numel(names), max([0, cellfun(@numel, names)]));
  for i = 1:numel(names)
    codes(i, 1:numel(names{i})) = double(names{i});
  end
  numbers = [double(logical(o.hump)), o.max_iterations, o.threads, o.rank_tolerance];
  [S, P, C, Q, QS, T] = soil_fit_mex(code, D, given, numbers, codes, settings);

  % The struct.
  statuses = {'converged', 'ill_posed', 'invalid_data', 'not_converged', 'failed'};
  text = cellfun(@(row) char(row(row ~= 0)), num2cell(T, 2), 'UniformOutput', false);
  np = S(7);
  nq = S(8);
  nu = S(9);
  r = struct();
  r.kind = kind;
  r.status = statuses{S(1) + 1};
  r.ok = S(1) == 0;
  r.message = text{1};
  pnames = text(2:1 + np);
  units = text(2 + np:1 + 2 * np);
  r.values = struct();
  r.errors = struct();
  r.parameters = struct('name', pnames(:)', 'value', num2cell(P(:, 1))', ...
                        'standard_error', num2cell(P(:, 2))', 'unit', units(:)', ...
                        'fitted', num2cell(P(:, 3) ~= 0)', 'at_bound', num2cell(P(:, 4) ~= 0)', ...
                        'lower', num2cell(P(:, 5))', 'upper', num2cell(P(:, 6))');
  for i = 1:np
    r.values.(pnames{i}) = P(i, 1);
    r.errors.(pnames{i}) = P(i, 2);
  end
  r.undetermined = text(2 + 2 * np:1 + 2 * np + nu)';
  qtext = text(2 + 2 * np + nu:end);
  r.quantities = struct('name', {}, 'unit', {}, 'measured', {}, 'fitted', {}, 'residuals', {}, ...
                        'observations', {}, 'sigma', {}, 'rmse', {}, 'r_squared', {});
  for j = 1:nq
    r.quantities(j) = struct('name', qtext{2 * j - 1}, 'unit', qtext{2 * j}, ...
                             'measured', Q(:, 3 * j - 2), 'fitted', Q(:, 3 * j - 1), ...
                             'residuals', Q(:, 3 * j), 'observations', QS(j, 1), ...
                             'sigma', QS(j, 2), 'rmse', QS(j, 3), 'r_squared', QS(j, 4));
  end
  r.correlation = C;
  r.observations = S(3);
  r.degrees_of_freedom = S(4);
  r.residual_standard_error = S(5);
  r.condition_number = S(6);
  r.iterations = S(2);
  r.data = D;
  r.given = given;

  if ~isempty(o.plot)
    if ~r.ok
      warning('soil_fit:noPlot', 'soil_fit: no plot of a fit that gave no result (%s)', r.status);
    else
      fit_plot(r, o.plot, o.hump);
    end
  end
  if nargout == 0
    fit_print(r);
    clear r
  end
end

% Appends the fields of the struct S as settings of kind WHAT.
function [names, settings] = add_settings(names, settings, what, s)
  if isempty(s)
    return
  end
  if ~isstruct(s) || ~isscalar(s)
    error('soil_fit:usage', 'soil_fit: option values of names must be a struct of name = value');
  end
  f = fieldnames(s);
  for i = 1:numel(f)
    v = s.(f{i});
    if ~(isnumeric(v) && isreal(v) && isscalar(v))
      error('soil_fit:usage', 'soil_fit: %s must be a real number', f{i});
    end
    names{end + 1} = f{i};
    settings(end + 1, :) = [what, double(v)];
  end
end

function s = disp_name(name)
  if ischar(name)
    s = ['''' name ''''];
  else
    s = ['of class ' class(name)];
  end
end

% The wheel's given inputs: the soil, then 'set', completed as talvor_input
% completes them; the fitted angle factors start from typical values.
function [given, fit] = wheel_given(o, fit_given)
  fit = o.fit;
  if ~fit_given
    fit = {'c1', 'c2', 'c3', 'c4'};
  end
  args = {};
  if ischar(o.soil) && ~isempty(o.soil)
    args{end + 1} = soil_parameters(o.soil);
  elseif isstruct(o.soil)
    args{end + 1} = o.soil;
  end
  defaults = struct('vx', 0.1, 'centre_height', 0);
  typical = struct('c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0);
  for c = fieldnames(typical)'
    if any(strcmp(fit, c{1}))
      defaults.(c{1}) = typical.(c{1});
    end
  end
  set = o.set;
  if isstruct(set) && isfield(set, 'shear_modulus')
    set.kx = set.shear_modulus;
    set.ky = set.shear_modulus;
    set = rmfield(set, 'shear_modulus');
  end
  given = talvor_input(defaults, args{:}, set);
end
