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
%   The fields are the slots of pindrel's input, with their units, typical
%   ranges, meanings and defaults: wheelsoil_slots('pindrel_input') prints
%   them (and docs/pindrel_slots.md lists them). band_radius defaults to
%   radius, band_entry_angle and front_angle to rim_entry_angle (a band
%   that coincides with the rim, so band_ratio has no effect).
%
%   See also PINDREL, SOIL_PARAMETERS, TALVOR_INPUT, WHEELSOIL_SLOTS.

  p = assemble_slots('pindrel_input', wheelsoil_slots('pindrel_input'), varargin);
end
