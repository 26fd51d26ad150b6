function L = talvor_columns(P)
%TALVOR_COLUMNS  talvor for every column of P.
%   L = talvor_columns(P) takes one 29-slot input vector per column of P and
%   returns the 18xN loads, through talvor_batch on all cores when it is
%   built and one talvor call per column otherwise (the same values).

  if any(exist('talvor_batch', 'file') == [2 3])  % the .m function (or an older MEX file)
    L = talvor_batch(P, 0);
  else
    L = zeros(18, size(P, 2));
    for k = 1:size(P, 2)
      L(:, k) = talvor(P(:, k)).';
    end
  end
end
