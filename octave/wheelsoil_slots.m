function t = wheelsoil_slots(layout)
%WHEELSOIL_SLOTS  Slot layout of the talvor and pindrel vectors.
%   T = wheelsoil_slots(LAYOUT) describes one of the four vectors, LAYOUT
%   being 'talvor_input' (29 slots), 'talvor_output' (18), 'pindrel_input'
%   (20) or 'pindrel_output' (1). T has the fields
%     names     1xN cell of slot names in slot order: names{k} names p(k)
%               of an input vector, L(k) of an output
%     required  1xN logical, true where an input slot has no default
%     defaults  1xN double, the default of an optional slot that has a
%               fixed value; NaN where the slot is required or copied
%     copy_of   1xN cell: '' or, for a slot whose default is another
%               slot's value, that slot's name
%   talvor_input, pindrel_input and talvor_output are built on these
%   tables, and the wheelsoil command line tool uses the same names and
%   defaults (its header row and its 'wheelsoil slots MODEL' listing).
%   For output layouts every slot is required and has no default.
%
%   Example: list the optional slots of the full model
%     t = wheelsoil_slots('talvor_input');
%     t.names(~t.required)
%
%   See also TALVOR_INPUT, PINDREL_INPUT, TALVOR_OUTPUT.

  if nargin ~= 1 || ~(ischar(layout) || (isstring(layout) && isscalar(layout)))
    error('wheelsoil_slots:badArgument', ...
          'wheelsoil_slots: give one layout name: talvor_input, talvor_output, pindrel_input or pindrel_output');
  end
  req = NaN;  % marks a required slot in the tables below
  switch char(layout)
    case 'talvor_input'
      rows = {
        'vx', 0;  'vy', 0;  'vz', 0;  'wx', 0;  'wy', 0;  'wz', 0
        'radius', req;  'width', req
        'band_ratio', 1;  'band_height', 0
        'soil_density', req;  'cohesion', req;  'friction_angle', req
        'sinkage_exponent', req;  'k_c', req;  'k_phi', req
        'kx', req;  'ky', req;  'kr', 1
        'tilt_sine', 0;  'centre_height', req;  'exit_sinkage_ratio', 0
        'c1', req;  'c2', req;  'c3', req;  'c4', req
        'spare_26', 0;  'spare_27', 0;  'gravity', req};
    case 'pindrel_input'
      rows = {
        'band_radius', 'radius';  'width', req;  'band_ratio', 1
        'radius', req;  'spare_4', 0
        'cohesion', req;  'friction_angle', req;  'sinkage_exponent', req
        'k_c', req;  'k_phi', req;  'shear_modulus', req
        'rim_entry_angle', req;  'band_entry_angle', 'rim_entry_angle'
        'front_angle', 'rim_entry_angle'
        'peak_stress_angle', req;  'rear_angle', req
        'slip', 0;  'slip_angle', 0;  'spare_18', 0;  'spare_19', 0};
    case 'talvor_output'
      names = {'rim_fx', 'rim_fy', 'rim_fz', 'rim_mx', 'rim_my', 'rim_mz', ...
               'side_fx', 'side_fy', 'side_fz', 'side_mx', 'side_my', 'side_mz'};
      names = [names, strcat(names(1:6), '_copy')];
      rows = [names(:), repmat({req}, numel(names), 1)];
    case 'pindrel_output'
      rows = {'load', req};
    otherwise
      error('wheelsoil_slots:unknownLayout', ...
            'wheelsoil_slots: unknown layout ''%s'' (talvor_input, talvor_output, pindrel_input, pindrel_output)', ...
            char(layout));
  end

  n = size(rows, 1);
  t.names = rows(:, 1).';
  t.required = false(1, n);
  t.defaults = NaN(1, n);
  t.copy_of = repmat({''}, 1, n);
  for k = 1:n
    d = rows{k, 2};
    if ischar(d)
      t.copy_of{k} = d;
    elseif isnan(d)
      t.required(k) = true;
    else
      t.defaults(k) = d;
    end
  end
end
