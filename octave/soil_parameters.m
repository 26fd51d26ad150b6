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
%   NAMES = soil_parameters() returns the names; soil_parameters() with
%   no output prints the table.
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
%
%   name                n     k_c    k_phi   c     phi   K      rho   source
%                             kN/m^(n+1,n+2) kPa   deg   m      kg/m^3
%   dry_sand            1.1   0.99   1528.43 1.04  28    0.025* 1600* Wong T2.3, Land Locomotion Lab
%   sandy_loam          0.7   5.27   1515.04 1.72  29    0.010* 1600* Wong T2.3, LLL, 15 % moisture
%   sandy_loam_michigan 0.9   52.53  1127.97 4.83  20    0.010* 1600* Wong T2.3, Michigan, 11 % moisture
%   clayey_soil         0.5   13.19  692.15  4.14  13    0.006* 1800* Wong T2.3, Thailand, 38 % moisture
%   heavy_clay          0.13  12.70  1555.95 68.95 34    0.006* 1800* Wong T2.3, 25 % moisture
%   lean_clay           0.2   16.43  1724.69 68.95 20    0.006* 1800* Wong T2.3, 22 % moisture
%   lete_sand           0.79  102    5301    1.3   31.1  0.012  1600* Wong T2.3; K as published for LETE sand
%   upland_sandy_loam   1.10  74.6   2080    3.3   33.7  0.010* 1600* Wong T2.3
%   clayey_loam         0.73  41.6   2471    6.1   26.6  0.006* 1800* Wong T2.3, North Gower clayey loam
%   snow                1.6   4.37   196.72  1.03  19.7  0.04*  400*  Wong T2.3, snow (US)
%   snow_sweden         1.44  10.55  66.08   6.0   20.7  0.04*  400*  Wong T2.3, snow (Sweden)
%   lunar_soil          1.0   1.4    820     0.17  35    0.018  1600* Bekker; lunar surface models
%                                                                     (e.g. NASA NTRS 20220010732)
%   toyoura_sand        1.0   1.37   814     0.8   37.2  0.025  1600* Ishigami, Miwa, Nagatani, Yoshida,
%                                                                     J. Field Robotics 24 (2007)
%   mars_simulant       0.8   5.79   180     0.3   17.8  0.025* 1600* DLR Mars soil simulant, published
%                                                                     simulant characterisation
%   (* a typical published value, not one measured on this soil)
%   toyoura_sand is a Mars-analogue laboratory sand; its K is the isotropic
%   value (Ishigami also gives Kx = 0.043*beta + 0.036 m and
%   Ky = 0.020*beta + 0.013 m for a slip angle beta in rad). The Mars soil
%   simulant of Zhou et al. (2023) is not included: no exponent n is
%   published with its values.
%
%   Errors: soil_parameters:unknownSoil for a name not in the table,
%   soil_parameters:badArgument for other arguments.
%
%   See also TALVOR_INPUT, PINDREL_INPUT.

  table = soil_table();
  if nargin == 0
    if nargout == 0
      print_table(table);
    else
      soil = table(:, 1).';
    end
    return
  end
  if nargin < 2
    model = 'talvor';
  end
  if ~(ischar(name) && isrow(name)) && ~(isstring(name) && isscalar(name))
    error('soil_parameters:badArgument', 'soil_parameters: the soil name must be text');
  end
  if ~any(strcmp(char(model), {'talvor', 'pindrel'}))
    error('soil_parameters:badArgument', ...
          'soil_parameters: model must be ''talvor'' or ''pindrel'', not ''%s''', char(model));
  end
  row = find(strcmp(table(:, 1), char(name)));
  if isempty(row)
    error('soil_parameters:unknownSoil', 'soil_parameters: unknown soil ''%s''; known soils: %s', ...
          char(name), strjoin(table(:, 1).', ', '));
  end
  r = table(row, :);
  v = r{3};  % n, k_c (kN), k_phi (kN), c (kPa), phi (deg), K (m), density (kg/m^3)

  soil = struct();
  soil.sinkage_exponent = v(1);
  soil.k_c = v(2) * 1000;
  soil.k_phi = v(3) * 1000;
  soil.cohesion = v(4) * 1000;
  soil.friction_angle = v(5) * pi / 180;
  if strcmp(char(model), 'talvor')
    soil.kx = v(6);
    soil.ky = v(6);
    soil.soil_density = v(7);
  else
    soil.shear_modulus = v(6);
  end
  info = struct('name', r{1}, 'description', r{2}, 'source', r{4}, 'notes', r{5});
end

function t = soil_table()
% One soil a row: name, description, [n, k_c kN/m^(n+1), k_phi kN/m^(n+2),
% c kPa, phi deg, K m, density kg/m^3], source, notes.
  wong = 'J. Y. Wong, Theory of Ground Vehicles, Table 2.3 (after Bekker and others)';
  sand = 'K: typical loose sand 0.025 m; density: typical dry sand 1600 kg/m^3';
  loam = 'K: typical firm sand 0.010 m; density: typical sand 1600 kg/m^3';
  clay = 'K: typical clay 0.006 m; density: typical clay 1800 kg/m^3';
  snow = 'K: typical snow 0.04 m; density: 400 kg/m^3, middle of the typical 300-500';
  t = {
    'dry_sand', 'Dry sand (Land Locomotion Lab)', ...
        [1.1, 0.99, 1528.43, 1.04, 28, 0.025, 1600], wong, sand
    'sandy_loam', 'Sandy loam, 15 % moisture (Land Locomotion Lab)', ...
        [0.7, 5.27, 1515.04, 1.72, 29, 0.010, 1600], wong, loam
    'sandy_loam_michigan', 'Sandy loam, 11 % moisture (Michigan)', ...
        [0.9, 52.53, 1127.97, 4.83, 20, 0.010, 1600], wong, loam
    'clayey_soil', 'Clayey soil, 38 % moisture (Thailand)', ...
        [0.5, 13.19, 692.15, 4.14, 13, 0.006, 1800], wong, clay
    'heavy_clay', 'Heavy clay, 25 % moisture', ...
        [0.13, 12.70, 1555.95, 68.95, 34, 0.006, 1800], wong, clay
    'lean_clay', 'Lean clay, 22 % moisture', ...
        [0.2, 16.43, 1724.69, 68.95, 20, 0.006, 1800], wong, clay
    'lete_sand', 'LETE sand', ...
        [0.79, 102, 5301, 1.3, 31.1, 0.012, 1600], wong, ...
        'K: published LETE sand value 0.012 m; density: typical dry sand 1600 kg/m^3'
    'upland_sandy_loam', 'Upland sandy loam', ...
        [1.10, 74.6, 2080, 3.3, 33.7, 0.010, 1600], wong, loam
    'clayey_loam', 'North Gower clayey loam', ...
        [0.73, 41.6, 2471, 6.1, 26.6, 0.006, 1800], wong, clay
    'snow', 'Snow (US)', ...
        [1.6, 4.37, 196.72, 1.03, 19.7, 0.04, 400], wong, snow
    'snow_sweden', 'Snow (Sweden)', ...
        [1.44, 10.55, 66.08, 6.0, 20.7, 0.04, 400], wong, snow
    'lunar_soil', 'Lunar soil, nominal', ...
        [1.0, 1.4, 820, 0.17, 35, 0.018, 1600], ...
        'Bekker; lunar surface models (e.g. NASA technical report NTRS 20220010732)', ...
        'K: published lunar value 0.018 m; density: 1600 kg/m^3, middle of the typical 1500-1700'
    'toyoura_sand', 'Toyoura sand (Mars-analogue laboratory sand)', ...
        [1.0, 1.37, 814, 0.8, 37.2, 0.025, 1600], ...
        'Ishigami, Miwa, Nagatani, Yoshida, J. Field Robotics 24 (2007)', ...
        'K: published isotropic value 0.025 m; density: typical dry sand 1600 kg/m^3'
    'mars_simulant', 'DLR Mars soil simulant', ...
        [0.8, 5.79, 180, 0.3, 17.8, 0.025, 1600], ...
        'DLR Mars soil simulant, published simulant characterisation', sand
  };
end

function print_table(t)
  fprintf('%-20s %5s %8s %9s %7s %6s %6s %6s  %s\n', 'name', 'n', 'k_c', 'k_phi', ...
          'c', 'phi', 'K', 'rho', 'description');
  fprintf('%-20s %5s %8s %9s %7s %6s %6s %6s\n', '', '', 'kN/m^n+1', 'kN/m^n+2', ...
          'kPa', 'deg', 'm', 'kg/m^3');
  for k = 1:size(t, 1)
    v = t{k, 3};
    fprintf('%-20s %5.2f %8.2f %9.2f %7.2f %6.1f %6.3f %6.0f  %s\n', t{k, 1}, v, t{k, 2});
  end
end
