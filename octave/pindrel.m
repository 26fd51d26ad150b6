%PINDREL  Vertical load of deformable soil on a rigid wheel (simplified model).
%   W = pindrel(P) returns the vertical load (N) that the soil carries under
%   the rim, from the 20 inputs in P: its first 20 elements in storage
%   order, a row or a column. The contact angles are given, not computed.
%   The stresses are evaluated at five rim angles; quadratics in the angle
%   are fitted through them and integrated in closed form. Build P by name
%   with pindrel_input:
%     soil = soil_parameters('dry_sand', 'pindrel');
%     t1 = acos(1 - 0.01 / 0.13);          % entry angle at 10 mm sinkage
%     s = 0.2;                              % slip
%     p = pindrel_input(soil, 'radius', 0.13, 'width', 0.16, ...
%                       'rim_entry_angle', t1, 'slip', s, ...
%                       'peak_stress_angle', (0.4 + 0.15 * s) * t1, ...
%                       'rear_angle', -0.1 * t1);
%     W = pindrel(p)                        % 38.1 N
%
%   Inputs (pindrel_input gives each one's meaning, unit and typical range;
%   angles in radians from the downward vertical, positive forward):
%     p(1) band_radius, p(2) width, p(3) band_ratio, p(4) radius
%     p(5) spare_4                          read, no effect
%     p(6) cohesion, p(7) friction_angle, p(8) sinkage_exponent, p(9) k_c,
%     p(10) k_phi, p(11) shear_modulus      soil (soil_parameters(NAME,
%                                           'pindrel') gives all six)
%     p(12) rim_entry_angle, p(13) band_entry_angle, p(14) front_angle,
%     p(15) peak_stress_angle, p(16) rear_angle
%     p(17) slip, p(18) slip_angle
%     p(19) spare_18, p(20) spare_19        read, no effect
%
%   Nothing in P is checked: inconsistent angles give a meaningless load,
%   NaN and Inf pass into it. On soils with a sinkage exponent n below
%   about 0.7 the load is several percent below that of talvor for the
%   same wheel (see the README's Limitations).
%   Errors: "One input argument required.", "Too many output arguments.",
%   "Input must be a real double array of at least 20 elements."
%
%   See also PINDREL_INPUT, PINDREL_BATCH, SOIL_PARAMETERS, TALVOR.

% Help text only: pindrel is the MEX file beside this one, which takes
% precedence over it.
