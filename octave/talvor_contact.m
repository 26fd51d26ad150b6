%TALVOR_CONTACT  Contact angles, sinkages and rim stress profiles of talvor.
%   C = talvor_contact(p) gives the contact of the input vector p (at least
%   29 real doubles, as for talvor) at the 30 lateral positions of the rim
%   rule, from +b/2 towards -b/2. C is a struct:
%     slip_ratio             s, the longitudinal slip ratio (2: undefined)
%     y                      1x30 lateral positions (m)
%     sinkage                1x30 rim sinkage z(y) (m)
%     entry_angle            1x30 theta_1, where the rim enters the soil (rad)
%     max_stress_angle       1x30 theta_m, where the normal stress peaks
%     exit_angle             1x30 theta_2, where the rim leaves the soil
%     band_entry_angle       1x30 the same three for the band surface
%     band_max_stress_angle  1x30
%     band_exit_angle        1x30
%     side_sinkage_plus      sinkage of the sidewall at y = +b/2 (m)
%     side_sinkage_minus     sinkage of the sidewall at y = -b/2 (m)
%   Angles are measured from the downward vertical, positive forward (+x).
%
%   C = talvor_contact(p, y, theta) adds the stresses along the rim at the
%   lateral positions y (m) and the rim angles theta (rad), each a vector:
%     profile_y              numel(y)x1, the positions y
%     theta                  1xnumel(theta), the angles theta
%     normal_stress          numel(y) x numel(theta), sigma (Pa): row i is
%                            the profile at y(i)
%     shear_stress_x         tau_x, along increasing theta (Pa)
%     shear_stress_y         tau_y, with the point's lateral slip (Pa)
%     shear_displacement_x   j_x (m)
%     shear_displacement_y   j_y (m)
%   The values are those the model integrates, to the last bit.
%
%   C = talvor_contact(..., 'DirectionAware', true) evaluates a wheel that
%   travels in -x (vx < 0, or vx = 0 and wy < 0) in the mirrored frame, as
%   talvor_batch does with the same option, and maps the contact back: the
%   angles are negated (the entry angle then lies behind the bottom, at -x),
%   and so are tau_x and j_x. 'DirectionAware', false is the default.
%
%   Example: normal stress along the rim at the wheel's mid-plane
%     soil = soil_parameters('dry_sand');
%     p = talvor_input(soil, 'radius', 0.13, 'width', 0.16, ...
%         'centre_height', 0.12, 'vx', 0.08, 'wy', 0.1 / 0.13, ...
%         'c1', 0.4, 'c2', 0.15, 'c3', 0.1, 'c4', 0, 'gravity', 9.81);
%     c = talvor_contact(p);
%     theta = linspace(c.exit_angle(15), c.entry_angle(15), 200);
%     c = talvor_contact(p, 0, theta);
%     plot(theta * 180 / pi, c.normal_stress / 1000)   % kPa against degrees
%
%   Errors: "talvor_contact: one or three input arguments, then options,
%   required (p, or p, y, theta).", "talvor_contact: p must be a real double
%   array of at least 29 elements.", "talvor_contact: y and theta must be
%   real double vectors.", "talvor_contact: options come in pairs: a name,
%   then its value.", "talvor_contact: unknown option; the option is
%   'DirectionAware', followed by true or false.", "talvor_contact:
%   DirectionAware must be true or false."
%
%   See also TALVOR, TALVOR_INPUT, TALVOR_BATCH.
function c = talvor_contact(p, varargin)
  usage = 'talvor_contact: one or three input arguments, then options, required (p, or p, y, theta).';
  if (nargin < 1)
    error('talvor_contact:usage', usage);
  end
  if (~(isa(p, 'double') && isreal(p) && ~issparse(p) && numel(p) >= 29))
    error('talvor_contact:usage', 'talvor_contact: p must be a real double array of at least 29 elements.');
  end
  args = varargin;
  y = zeros(0, 1);
  theta = zeros(1, 0);
  profile = ~isempty(args) && ~ischar(args{1});
  if (profile)
    if (numel(args) < 2 || ischar(args{2}))
      error('talvor_contact:usage', usage);
    end
    y = args{1};
    theta = args{2};
    if (~(isa(y, 'double') && isreal(y) && ~issparse(y) && (isvector(y) || isempty(y)) && ...
          isa(theta, 'double') && isreal(theta) && ~issparse(theta) && (isvector(theta) || isempty(theta))))
      error('talvor_contact:usage', 'talvor_contact: y and theta must be real double vectors.');
    end
    args = args(3:end);
  end
  if (mod(numel(args), 2) ~= 0)
    error('talvor_contact:usage', 'talvor_contact: options come in pairs: a name, then its value.');
  end
  direction_aware = false;
  for k = 1:2:numel(args)
    if (~(ischar(args{k}) && strcmpi(args{k}, 'DirectionAware')))
      error('talvor_contact:usage', ...
            'talvor_contact: unknown option; the option is ''DirectionAware'', followed by true or false.');
    end
    v = args{k + 1};
    if (~((islogical(v) || isnumeric(v)) && isscalar(v) && isreal(v) && (v == 0 || v == 1)))
      error('talvor_contact:usage', 'talvor_contact: DirectionAware must be true or false.');
    end
    direction_aware = logical(v);
  end

  [G, S, N, TX, TY, JX, JY] = talvor_contact_mex(p, y, theta, double(direction_aware));
  c = struct('slip_ratio', S(1), 'y', G(1, :), 'sinkage', G(2, :), ...
             'entry_angle', G(3, :), 'max_stress_angle', G(4, :), 'exit_angle', G(5, :), ...
             'band_entry_angle', G(6, :), 'band_max_stress_angle', G(7, :), ...
             'band_exit_angle', G(8, :), 'side_sinkage_plus', S(2), 'side_sinkage_minus', S(3));
  if (profile)
    c.profile_y = reshape(y, [], 1);
    c.theta = reshape(theta, 1, []);
    c.normal_stress = N;
    c.shear_stress_x = TX;
    c.shear_stress_y = TY;
    c.shear_displacement_x = JX;
    c.shear_displacement_y = JY;
  end
end
