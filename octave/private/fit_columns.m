function D = fit_columns(data, names, required, kind)
% D = fit_columns(DATA, NAMES, REQUIRED, KIND): the measurements of a fit as
% a matrix with the columns NAMES in order, from a CSV file name, a struct
% of columns or a matrix. Columns not REQUIRED may be left out (NaN); a
% plate's width may be called radius.
  if ischar(data) || (isstring(data) && isscalar(data))
    [header, M] = read_table(char(data));
    if isempty(header)
      data = M;
    else
      data = struct();
      for k = 1:numel(header)
        data.(header{k}) = M(:, k);
      end
    end
  end
  if isstruct(data)
    if ~isscalar(data)
      error('soil_fit:badData', 'soil_fit: DATA must be one struct of columns');
    end
    if isfield(data, 'radius') && ~isfield(data, 'width') && strcmp(names{1}, 'width')
      data.width = data.radius;
      data = rmfield(data, 'radius');
    end
    extra = setdiff(fieldnames(data), names);
    if ~isempty(extra)
      error('soil_fit:badData', 'soil_fit: %s data has no column %s (its columns: %s)', ...
            kind, extra{1}, strjoin(names, ', '));
    end
    rows = [];
    for k = 1:numel(names)
      if isfield(data, names{k})
        rows = numel(data.(names{k}));
        break
      end
    end
    D = NaN(rows, numel(names));
    for k = 1:numel(names)
      if isfield(data, names{k})
        v = data.(names{k});
        if ~(isnumeric(v) && isreal(v) && isvector(v) && numel(v) == rows)
          error('soil_fit:badData', ...
                'soil_fit: column %s must be a real vector as long as the others (%d)', ...
                names{k}, rows);
        end
        D(:, k) = double(v(:));
      elseif required(k)
        error('soil_fit:badData', 'soil_fit: %s data needs the column %s', kind, names{k});
      end
    end
  elseif isnumeric(data) && isreal(data) && ismatrix(data)
    n = size(data, 2);
    if n < sum(required) || n > numel(names)
      error('soil_fit:badData', 'soil_fit: a %s data matrix has %d to %d columns: %s', ...
            kind, sum(required), numel(names), strjoin(names, ', '));
    end
    D = [double(data), NaN(size(data, 1), numel(names) - n)];
  else
    error('soil_fit:badData', ...
          'soil_fit: DATA must be a file name, a struct of columns or a numeric matrix');
  end
end

% The header (empty if none) and the numbers of a CSV file as the wheelsoil
% tool reads it: commas and/or whitespace, '#' comments, blank lines skipped.
function [header, M] = read_table(file)
  [fid, why] = fopen(file, 'r');
  if fid < 0
    error('soil_fit:badFile', 'soil_fit: %s: cannot open: %s', file, why);
  end
  text = fread(fid, Inf, '*char')';
  fclose(fid);
  lines = regexp(text, '\r?\n', 'split');
  header = {};
  M = [];
  width = -1;
  for k = 1:numel(lines)
    line = regexprep(lines{k}, '#.*$', '');
    fields = regexp(strtrim(line), '[,\s]+', 'split');
    fields = fields(~cellfun(@isempty, fields));
    if isempty(fields)
      continue
    end
    values = str2double(fields);
    if width < 0 && isnan(values(1)) && isempty(regexpi(fields{1}, '^[+-]?nan$', 'once'))
      header = fields;
      width = numel(fields);
      continue
    end
    if width < 0
      width = numel(fields);
    end
    if numel(fields) ~= width
      error('soil_fit:badFile', 'soil_fit: %s:%d: expected %d values, found %d', ...
            file, k, width, numel(fields));
    end
    bad = find(isnan(values) & cellfun(@isempty, regexpi(fields, '^[+-]?nan$', 'once')), 1);
    if ~isempty(bad)
      error('soil_fit:badFile', 'soil_fit: %s:%d: value %d ''%s'' is not a number', ...
            file, k, bad, fields{bad});
    end
    M(end + 1, :) = values;
  end
  if isempty(M)
    error('soil_fit:badFile', 'soil_fit: %s: no measurements', file);
  end
end
