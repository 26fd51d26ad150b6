function p = talvor_input(varargin)
%TALVOR_INPUT  Input vector of talvor from named fields.
%   P = talvor_input('radius', 0.13, 'width', 0.16, ...) returns the 1x29
%   row that talvor(P) takes, each slot set from the field of that name.
%   P = talvor_input(S) takes the fields from a struct S;
%   P = talvor_input(S1, S2, 'name', value, ...) applies structs and
%   name-value pairs left to right, a later value replacing an earlier one,
%   so a soil from soil_parameters can be completed and overridden:
%     soil = soil_parameters('dry_sand');
%     p = talvor_input(soil, 'radius', 0.13, 'width', 0.16, ...
%                      'centre_height', 0.12, 'vx', 0.08, 'wy', 0.1 / 0.13, ...
%                      'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
%     loads = talvor_output(talvor(p));
%
%   Every value must be a real numeric scalar (NaN and Inf are passed on
%   like any other value). Values are copied unchanged: nothing is
%   converted, so give SI units and angles in radians. Field names are
%   case-sensitive. Errors name the field:
%     talvor_input:unknownField  a name that is not a slot below
%     talvor_input:missingField  a required field was not given
%     talvor_input:badValue      a value that is not a real numeric scalar
%     talvor_input:missingValue  a name without a value after it
%     talvor_input:badArgument   an argument that is neither a name nor a
%                                single struct
%
%   Frame: x forward (direction of travel), y along the axle (to the left
%   when x points forward and z up), z up, origin at the wheel centre.
%   Rim angles are measured from the downward vertical, positive forward.
%
%   The fields are the slots of talvor's input, with their units, typical
%   ranges, meanings and defaults: wheelsoil_slots('talvor_input') prints
%   them (and docs/talvor_slots.md lists them). Required are the wheel's
%   size and centre height, the soil (soil_parameters gives it), the angle
%   coefficients c1 to c4 and gravity (no Earth default, so a lunar run
%   cannot silently use 9.81); the other slots default to a wheel at rest
%   with a plain rim and the exponential shear law.
%
%   See also TALVOR, TALVOR_OUTPUT, SOIL_PARAMETERS, PINDREL_INPUT,
%   WHEELSOIL_SLOTS.

  p = assemble_slots('talvor_input', wheelsoil_slots('talvor_input'), varargin);
end
