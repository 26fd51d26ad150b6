%TALVOR  Forces and moments of deformable soil on a rigid wheel (full model).
%   L = talvor(P) returns the 1x18 row of the forces and moments that the
%   soil exerts on the rim and on the two sidewalls of a wheel, from the 29
%   inputs in P: its first 29 elements in storage order, a row or a column.
%   The normal stress follows the pressure-sinkage law (k_c/b + k_phi)*z^n,
%   the shear stress the Mohr-Coulomb strength scaled by the accumulated
%   shear displacement; both are integrated over the contact patch with a
%   30x30 Gauss-Legendre rule. Build P by name with talvor_input and name
%   the results with talvor_output:
%     soil = soil_parameters('dry_sand');
%     p = talvor_input(soil, 'radius', 0.13, 'width', 0.16, ...
%                      'centre_height', 0.12, 'vx', 0.08, 'wy', 0.1 / 0.13, ...
%                      'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
%     loads = talvor_output(talvor(p));
%     loads.rim_fz                 % 37.96 N: the vertical load the soil carries
%
%   Frame: x forward (direction of travel), y along the axle, z up, origin
%   at the wheel centre. Rim angles from the downward vertical, positive
%   forward. Loads are those the soil exerts on the wheel; SI units, radians.
%
%   Inputs (talvor_input gives each one's meaning, unit and typical range):
%     p(1) vx, p(2) vy, p(3) vz         wheel-centre velocity (m/s)
%     p(4) wx, p(5) wy, p(6) wz         angular velocity (rad/s); wy, the spin
%                                       about the axle, rolls forward when > 0
%     p(7) radius, p(8) width           m
%     p(9) band_ratio, p(10) band_height    blend of the rim and band surfaces
%     p(11) soil_density, p(12) cohesion, p(13) friction_angle,
%     p(14) sinkage_exponent, p(15) k_c, p(16) k_phi, p(17) kx, p(18) ky,
%     p(19) kr                          soil (soil_parameters gives all but kr)
%     p(20) tilt_sine                   sine of the tilt about x
%     p(21) centre_height               m above the soil surface
%     p(22) exit_sinkage_ratio          read, no effect
%     p(23) c1, p(24) c2                peak-stress angle (c1 + c2*s)*theta_1
%     p(25) c3, p(26) c4                exit angle -(c3 + c4*s)*theta_1
%     p(27) spare_26, p(28) spare_27    read, no effect
%     p(29) gravity                     m/s^2, only its magnitude is used
%
%   Outputs:
%     L(1) rim_fx   drawbar pull of the rim (N)     L(4) rim_mx  (N m)
%     L(2) rim_fy   lateral force (N)               L(5) rim_my  moment about
%     L(3) rim_fz   vertical load (N)                    the axle, < 0 resists
%                                                        a driving torque
%                                                   L(6) rim_mz  (N m)
%     L(7) to L(12)   side_fx side_fy side_fz side_mx side_my side_mz, the
%                     same six summed over both sidewalls
%     L(13) to L(18)  L(1) to L(6) once more, bit for bit
%
%   Nothing in P is checked: NaN and Inf pass into the result. With vx and
%   wy both 0 the slip is undefined and the contact is taken symmetric
%   about the bottom, which carries far more load than a rolling wheel.
%   Errors: "One input argument required.", "Too many output arguments.",
%   "Input must be a real double array of at least 29 elements."
%
%   See also TALVOR_INPUT, TALVOR_OUTPUT, TALVOR_BATCH, TALVOR_CONTACT,
%   TALVOR_EQUILIBRIUM, SOIL_PARAMETERS, PINDREL.

% Help text only: talvor is the MEX file beside this one, which takes
% precedence over it.
