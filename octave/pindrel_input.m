function p = pindrel_input(varargin)
%PINDREL_INPUT  Input vector of pindrel from named fields.
%   P = pindrel_input('radius', 0.13, 'width', 0.16, ...) returns the 1x20
%   row that pindrel(P) takes, each slot set from the field of that name.
%   P = pindrel_input(S) takes the fields from a struct S;
%   P = pindrel_input(S1, S2, 'name', value, ...) applies structs and
%   name-value pairs left to right, a later value replacing an earlier one.
%   soil_parameters(NAME, 'pindrel') gives a soil with this model's names:
%     soil = soil_parameters('dry_sand', 'pindrel');
%     t1 = acos(1 - 0.01 / 0.13);            % entry angle at 10 mm sinkage
%     s = 0.2;                                % slip
%     p = pindrel_input(soil, 'radius', 0.13, 'width', 0.16, ...
%                       'rim_entry_angle', t1, 'slip', s, ...
%                       'peak_stress_angle', (0.4 + 0.15 * s) * t1, ...
%                       'rear_angle', -0.1 * t1);
%     load = pindrel(p);
%
%   Every value must be a real numeric scalar (NaN and Inf are passed on).
%   Values are copied unchanged: give SI units and angles in radians.
%   Field names are case-sensitive. Errors name the field, with the
%   identifiers pindrel_input:unknownField, :missingField, :badValue,
%   :missingValue and :badArgument (see talvor_input).
%
%   Angles are rim angles in radians from the downward vertical through
%   the wheel centre, positive towards the front. The model expects
%     rear_angle < peak_stress_angle <= band_entry_angle <= rim_entry_angle
%   with both spans, front_angle - peak_stress_angle and
%   peak_stress_angle - rear_angle, above about 0.07 rad for its quadratic
%   fits; nothing checks this order.
%
%   Required fields (no default):
%     width              m      wheel width b, 0.05-0.5; divides k_c and
%                               multiplies the load
%     radius             m      rim radius r, 0.05-1
%     cohesion           Pa     soil cohesion c, 0-70e3
%     friction_angle     rad    internal friction angle phi, 0.2-0.7
%     sinkage_exponent   -      pressure-sinkage exponent n, 0.1-1.6
%     k_c                N/m^(n+1)  cohesive modulus of (k_c/b + k_phi)*z^n
%     k_phi              N/m^(n+2)  frictional modulus of that law
%     shear_modulus      m      shear deformation modulus K of the
%                               Janosi-Hanamoto law 1 - exp(-j/K),
%                               0.005-0.05
%     rim_entry_angle    rad    entry angle theta_1 of the rim; for a
%                               sinkage z, acos(1 - z/radius); 0.1-1
%     peak_stress_angle  rad    angle of maximum normal stress theta_m, for
%                               example (c1 + c2*slip)*rim_entry_angle
%     rear_angle         rad    exit angle theta_2, the rear end of the
%                               contact; 0 at the bottom, negative behind it
%
%   Optional fields and their defaults:
%     band_ratio = 1     -      weight lambda of the rim term of the normal
%                               stress; the band term has weight 1 - lambda
%     band_radius = radius      m    radius of the band contact circle
%     band_entry_angle = rim_entry_angle   rad   entry angle of the band
%                               (these two defaults make the band coincide
%                               with the rim, so lambda has no effect)
%     front_angle = rim_entry_angle        rad   front end of the load
%                               integral and its first sample angle
%     slip = 0           -      longitudinal slip s: 1 - v/(r*omega) when
%                               driving (0 to 1), r*omega/v - 1 when
%                               skidding (-1 to 0); -1 is singular
%     slip_angle = 0     rad    lateral slip angle beta: the lateral slip
%                               velocity is tan(beta) times the travel
%                               speed; its sign does not change the load
%     spare_4 = 0, spare_18 = 0, spare_19 = 0   read, no effect on the load
%
%   See also PINDREL, SOIL_PARAMETERS, TALVOR_INPUT, WHEELSOIL_SLOTS.

  p = assemble_slots('pindrel_input', wheelsoil_slots('pindrel_input'), varargin);
end
