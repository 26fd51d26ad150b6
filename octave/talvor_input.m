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
%   Required fields (no default):
%     radius            m      outer rim radius r; rover wheels 0.05-0.3,
%                              vehicle wheels up to about 1
%     width             m      wheel width b, 0.05-0.5; divides k_c
%     soil_density      kg/m^3 bulk density of the soil, 300 (snow) to 2000;
%                              with |gravity| the sidewall overburden
%     cohesion          Pa     soil cohesion c, 0-70e3 (dry sand about 1e3)
%     friction_angle    rad    internal friction angle phi, 0.2-0.7
%                              (about 12-40 degrees)
%     sinkage_exponent  -      pressure-sinkage exponent n, 0.1-1.6
%     k_c               N/m^(n+1)  cohesive modulus of the Bekker law
%                              (k_c/b + k_phi)*z^n, about 1e3-1e5
%     k_phi             N/m^(n+2)  frictional modulus of that law,
%                              about 6e4-6e6
%     kx                m      shear deformation modulus of the rim's
%                              longitudinal shear and of both sidewalls'
%                              shear, 0.005-0.05
%     ky                m      shear deformation modulus of the rim's
%                              lateral shear, 0.005-0.05
%     centre_height     m      height of the wheel centre above the level
%                              soil surface; the sinkage of an untilted
%                              wheel is radius - centre_height (no contact
%                              when centre_height >= radius)
%     c1                -      constant term of the maximum-stress angle
%                              theta_m = (c1 + c2*s)*theta_1 (Wong-Reece:
%                              about 0.18 loose sand to 0.43 compact sand)
%     c2                -      slip term of that factor, about 0.15-0.32;
%                              s is the slip ratio of vx and wy*radius
%     c3                -      constant term of the exit angle
%                              theta_2 = -(c3 + c4*s)*theta_1; 0 puts the
%                              rear end of the contact at the bottom, a
%                              positive value behind it
%     c4                -      slip term of the exit angle factor
%     gravity           m/s^2  gravitational acceleration, only |g| is used:
%                              9.81 Earth, 3.71 Mars, 1.62 Moon
%
%   Optional fields and their defaults:
%     vx = 0            m/s    wheel-centre velocity along x, positive
%                              forward
%     vy = 0            m/s    wheel-centre velocity along y (lateral); the
%                              slip angle is atan(vy/vx)
%     vz = 0            m/s    wheel-centre velocity along z, positive up
%     wx = 0            rad/s  angular velocity about x (roll rate)
%     wy = 0            rad/s  spin about the axle; positive rolls the wheel
%                              forward (wy*radius = vx is pure rolling,
%                              wy*radius > vx driving slip, < vx skid).
%                              With vx = wy = 0 the slip is undefined and
%                              the contact is taken symmetric.
%     wz = 0            rad/s  angular velocity about z (yaw rate)
%     band_ratio = 1    -      weight lambda of the outer rim surface in the
%                              normal stress lambda*outer + (1-lambda)*band,
%                              0-1; 1 is a plain rigid rim
%     band_height = 0   m      depth h_b of the band surface (radius
%                              radius - h_b, e.g. between grousers) below
%                              the outer rim surface, 0 to radius
%     kr = 1            -      shear law: exactly 1 gives the exponential
%                              (Janosi-Hanamoto) law 1 - exp(-j/K); any
%                              other value the hump law, whose factor
%                              tends to kr at large shear, e.g. 0.3-0.9
%     tilt_sine = 0     -      sine of the wheel's tilt about x, |value| < 1;
%                              positive raises the +y side, so the sinkage
%                              falls with y
%     exit_sinkage_ratio = 0   read, no effect on the result
%     spare_26 = 0, spare_27 = 0   read, no effect on the result
%
%   See also TALVOR, TALVOR_OUTPUT, SOIL_PARAMETERS, PINDREL_INPUT,
%   WHEELSOIL_SLOTS.

  p = assemble_slots('talvor_input', wheelsoil_slots('talvor_input'), varargin);
end
