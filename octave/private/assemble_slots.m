function p = assemble_slots(caller, t, args)
% p = assemble_slots(CALLER, T, ARGS): the 1xN input row described by the slot
% table T (from wheelsoil_slots), filled from ARGS, a cell of structs and
% name-value pairs applied left to right, then completed with T's defaults.
% Errors carry the identifiers CALLER:badArgument, :missingValue,
% :unknownField, :badValue and :missingField.

  n = numel(t.names);
  p = zeros(1, n);
  given = false(1, n);
  k = 1;
  while k <= numel(args)
    a = args{k};
    if isstruct(a)
      if ~isscalar(a)
        error([caller ':badArgument'], ...
              '%s: argument %d is a %s struct array; pass one struct at a time', ...
              caller, k, size_text(a));
      end
      fields = fieldnames(a);
      for i = 1:numel(fields)
        [p, given] = set_slot(caller, t, p, given, fields{i}, a.(fields{i}));
      end
      k = k + 1;
    elseif (ischar(a) && (isrow(a) || isempty(a))) || (isstring(a) && isscalar(a))
      if k == numel(args)
        error([caller ':missingValue'], '%s: field ''%s'' has no value after it', ...
              caller, char(a));
      end
      [p, given] = set_slot(caller, t, p, given, char(a), args{k + 1});
      k = k + 2;
    else
      error([caller ':badArgument'], ...
            '%s: argument %d must be a field name or a struct of fields, not a %s %s', ...
            caller, k, size_text(a), class(a));
    end
  end

  missing = t.required & ~given;
  if any(missing)
    error([caller ':missingField'], '%s: missing required field(s): %s', ...
          caller, strjoin(t.names(missing), ', '));
  end
  for i = find(~given)
    if isempty(t.copy_of{i})
      p(i) = t.defaults(i);
    else
      p(i) = p(strcmp(t.names, t.copy_of{i}));
    end
  end
end

function [p, given] = set_slot(caller, t, p, given, name, value)
  i = find(strcmp(t.names, name));
  if isempty(i)
    hint = '';
    j = find(strcmpi(t.names, name));
    if ~isempty(j)
      hint = sprintf(' (did you mean ''%s''?)', t.names{j(1)});
    end
    error([caller ':unknownField'], '%s: unknown field ''%s''%s', caller, name, hint);
  end
  if ~(isnumeric(value) && isreal(value) && isscalar(value))
    if isnumeric(value) && isscalar(value)
      what = 'a complex number';
    else
      what = sprintf('a %s %s', size_text(value), class(value));
    end
    error([caller ':badValue'], '%s: field ''%s'' must be a real numeric scalar, not %s', ...
          caller, name, what);
  end
  p(i) = full(double(value));
  given(i) = true;
end

function s = size_text(a)
  s = sprintf('%dx', size(a));
  s = s(1:end - 1);
end
