function [soil, info] = soil_parameters(name, model)
%SOIL_PARAMETERS  Published terrain parameters for talvor and pindrel.
%   SOIL = soil_parameters(NAME) returns the soil NAME as a struct whose
%   fields merge straight into talvor_input:
%     sinkage_exponent  n (-)
%     k_c               N/m^(n+1)   (published kN value x 1000)
%     k_phi             N/m^(n+2)   (published kN value x 1000)
%     cohesion          Pa          (published kPa value x 1000)
%     friction_angle    rad         (published degrees x pi/180)
%     kx, ky            m           shear deformation modulus K, the same
%                                   value in both directions
%     soil_density      kg/m^3
%   SOIL = soil_parameters(NAME, 'pindrel') returns the fields that
%   pindrel_input takes: the first five above and shear_modulus (= K).
%   [SOIL, INFO] = soil_parameters(...) also returns INFO with the fields
%   name, description, source and notes (which values are typical ones
%   rather than measured on this soil).
%   NAMES = soil_parameters() returns the names, [NAMES, INFO] =
%   soil_parameters() also INFO for every soil (a 1xN struct array);
%   soil_parameters() with no output prints the table: each soil's
%   published values and source.
%
%   Example:
%     p = talvor_input(soil_parameters('dry_sand'), 'radius', 0.13, ...);
%
%   Sources: Bekker values as tabulated by J. Y. Wong, Theory of Ground
%   Vehicles, Table 2.3 (after Bekker and others); planetary terrains as
%   noted. K and density: where the source gives none, the typical
%   published values are used (K: firm sand 0.010 m, loose sand 0.025 m,
%   clay 0.006 m, snow 0.04 m; density: sand and loam 1600, clay 1800,
%   snow 400 (of 300-500), lunar regolith 1600 (of 1500-1700) kg/m^3).
%   The table is the library's soil library, the same for the C and C++
%   interfaces (docs/soils.md lists it).
%
%   Errors: soil_parameters:unknownSoil for a name not in the table,
%   soil_parameters:badArgument for other arguments.
%
%   See also TALVOR_INPUT, PINDREL_INPUT.

  t = wheelsoil_tables('soils');
  if nargin == 0
    if nargout == 0
      print_table(t);
    else
      soil = t.names;
      info = struct('name', t.names, 'description', t.descriptions, 'source', t.sources, ...
                    'notes', t.notes);
    end
    return
  end
  if nargin < 2
    model = 'talvor';
  end
  if ~(ischar(name) && isrow(name)) && ~(isstring(name) && isscalar(name))
    error('soil_parameters:badArgument', 'soil_parameters: the soil name must be text');
  end
  if ~((ischar(model) && isrow(model)) || (isstring(model) && isscalar(model))) || ...
     ~any(strcmp(char(model), {'talvor', 'pindrel'}))
    error('soil_parameters:badArgument', ...
          'soil_parameters: model must be ''talvor'' or ''pindrel'' (got %s)', describe(model));
  end
  k = find(strcmp(t.names, char(name)));
  if isempty(k)
    error('soil_parameters:unknownSoil', 'soil_parameters: unknown soil ''%s''; known soils: %s', ...
          char(name), strjoin(t.names, ', '));
  end

  soil = struct();
  soil.sinkage_exponent = t.sinkage_exponent(k);
  soil.k_c = t.k_c(k);
  soil.k_phi = t.k_phi(k);
  soil.cohesion = t.cohesion(k);
  soil.friction_angle = t.friction_angle(k);
  if strcmp(char(model), 'talvor')
    soil.kx = t.shear_modulus(k);
    soil.ky = t.shear_modulus(k);
    soil.soil_density = t.density(k);
  else
    soil.shear_modulus = t.shear_modulus(k);
  end
  info = struct('name', t.names{k}, 'description', t.descriptions{k}, ...
                'source', t.sources{k}, 'notes', t.notes{k});
end

% What a model argument is, for a message: its text, or its size and class.
function s = describe(a)
  if (ischar(a) && isrow(a)) || (isstring(a) && isscalar(a))
    s = ['''' char(a) ''''];
  else
    s = sprintf('a %s %s', regexprep(sprintf('%dx', size(a)), 'x$', ''), class(a));
  end
end

function print_table(t)
  fprintf('%-20s %5s %8s %9s %7s %6s %7s %7s  %s\n', 'name', 'n', 'k_c', 'k_phi', ...
          'c', 'phi', 'K', 'rho', 'description');
  fprintf('%-20s %5s %8s %9s %7s %6s %7s %7s\n', '', '', 'kN/m^n+1', 'kN/m^n+2', ...
          'kPa', 'deg', 'm', 'kg/m^3');
  marks = {'', '*'};
  for k = 1:numel(t.names)
    fprintf('%-20s %5.2f %8.2f %9.2f %7.2f %6.1f %6.3f%s %6.0f%s  %s\n', t.names{k}, ...
            t.sinkage_exponent(k), t.k_c_kn(k), t.k_phi_kn(k), t.cohesion_kpa(k), ...
            t.friction_angle_deg(k), t.shear_modulus(k), marks{t.shear_modulus_typical(k) + 1}, ...
            t.density(k), marks{t.density_typical(k) + 1}, t.descriptions{k});
  end
  fprintf('* the typical published value of the soil''s class, not one measured on it\n');
end
