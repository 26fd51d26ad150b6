function loads = talvor_output(out)
%TALVOR_OUTPUT  Named loads from a talvor or talvor_batch result.
%   LOADS = talvor_output(talvor(P)) turns the 1x18 result into a struct
%   of scalars; LOADS = talvor_output(talvor_batch(P)) turns an 18xN result
%   (one evaluation per column) into a struct of 1xN rows. A result
%   collected with one evaluation per row (Nx18) must be transposed first:
%   talvor_output(L.').
%
%   All loads are those the soil exerts on the wheel, in N and N*m, in the
%   frame of talvor_input (x forward, y along the axle, z up), moments
%   about the wheel centre: rim_fx ... rim_mz for the rim, side_fx ...
%   side_mz for both sidewalls together; wheelsoil_slots('talvor_output')
%   prints what each one is. The drawbar pull is rim_fx + side_fx.
%   L(13) to L(18) of the result (rim_fx_copy ... rim_mz_copy) repeat L(1)
%   to L(6) bit for bit and are not returned.
%
%   Errors: talvor_output:badInput for a value that is not a real numeric
%   matrix, talvor_output:badSize for any size but 1x18 and 18xN.
%
%   See also TALVOR, TALVOR_INPUT, WHEELSOIL_SLOTS.

  if ~(isnumeric(out) && isreal(out))
    error('talvor_output:badInput', ...
          'talvor_output: expected the real numeric result of talvor or talvor_batch, got a %s%s %s', ...
          complex_text(out), size_text(out), class(out));
  end
  if isequal(size(out), [1 18])
    out = out.';
  elseif size(out, 1) ~= 18 || ndims(out) ~= 2
    hint = '';
    if ndims(out) == 2 && size(out, 2) == 18
      hint = ' (one evaluation per row: pass the transpose, L.'')';
    end
    error('talvor_output:badSize', ...
          'talvor_output: expected a 1x18 result of talvor or an 18xN result of talvor_batch, got %s%s', ...
          size_text(out), hint);
  end
  t = wheelsoil_slots('talvor_output');
  loads = struct();
  for k = 1:12
    loads.(t.names{k}) = full(double(out(k, :)));
  end
end

function s = complex_text(a)
  s = '';
  if isnumeric(a) && ~isreal(a)
    s = 'complex ';
  end
end

function s = size_text(a)
  s = sprintf('%dx', size(a));
  s = s(1:end - 1);
end
