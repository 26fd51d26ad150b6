function t = wheelsoil_slots(layout)
%WHEELSOIL_SLOTS  Slot layout of the talvor and pindrel vectors.
%   T = wheelsoil_slots(LAYOUT) describes one of the four vectors, LAYOUT
%   being 'talvor_input' (29 slots), 'talvor_output' (18), 'pindrel_input'
%   (20) or 'pindrel_output' (1). T has the fields (1xN each; column k
%   describes p(k) of an input vector, L(k) of an output)
%     names     cell of slot names in slot order
%     required  logical, true where an input slot has no default
%     defaults  double, the default of an optional slot that has a fixed
%               value; NaN where the slot is required or copied
%     copy_of   cell: '' or, for a slot whose default is another slot's
%               value, that slot's name
%     symbols   cell: the slot's symbol in the model's formulas ('' if none)
%     units     cell: SI unit, '-' for a pure number
%     meanings  cell: what the slot is
%     ranges    cell: typical values ('' where none is typical)
%   wheelsoil_slots(LAYOUT) without an output prints the table.
%   talvor_input, pindrel_input and talvor_output are built on these
%   tables; they are the library's own (the same for the wheelsoil command
%   line tool and the C and C++ interfaces). For output layouts every slot
%   is required and has no default.
%
%   Example: list the optional slots of the full model
%     t = wheelsoil_slots('talvor_input');
%     t.names(~t.required)
%
%   See also TALVOR_INPUT, PINDREL_INPUT, TALVOR_OUTPUT.

  layouts = {'talvor_input', 'talvor_output', 'pindrel_input', 'pindrel_output'};
  if nargin ~= 1 || ~(ischar(layout) || (isstring(layout) && isscalar(layout)))
    error('wheelsoil_slots:badArgument', ...
          'wheelsoil_slots: give one layout name: talvor_input, talvor_output, pindrel_input or pindrel_output');
  end
  if ~any(strcmp(char(layout), layouts))
    error('wheelsoil_slots:unknownLayout', ...
          'wheelsoil_slots: unknown layout ''%s'' (talvor_input, talvor_output, pindrel_input, pindrel_output)', ...
          char(layout));
  end
  s = wheelsoil_tables(char(layout));
  n = numel(s.names);
  table.names = s.names;
  table.required = strcmp(s.kinds, 'required') | strcmp(s.kinds, 'result');
  table.defaults = s.defaults;
  table.copy_of = s.copy_of;
  table.symbols = s.symbols;
  table.units = s.units;
  table.meanings = s.meanings;
  table.ranges = s.ranges;
  if nargout == 0
    print_table(char(layout), table);
  else
    t = table;
  end
end

function print_table(layout, t)
  fprintf('%s: %d slots\n', layout, numel(t.names));
  fprintf('%4s  %-19s %-10s %-17s %s\n', 'slot', 'name', 'unit', 'default', 'meaning [typical values]');
  for k = 1:numel(t.names)
    if t.required(k)
      d = 'required';
    elseif ~isempty(t.copy_of{k})
      d = ['= ' t.copy_of{k}];
    else
      d = sprintf('%g', t.defaults(k));
    end
    typical = '';
    if ~isempty(t.ranges{k})
      typical = [' [' t.ranges{k} ']'];
    end
    fprintf('%4d  %-19s %-10s %-17s %s%s\n', k - 1, t.names{k}, t.units{k}, d, ...
            t.meanings{k}, typical);
  end
end
