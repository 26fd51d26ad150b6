% [args, show] = batch_options(name, args): takes the pair 'Progress', TF
% (name in any case) out of the trailing arguments args of the batch
% function NAME and returns the others, for its MEX function. show is TF,
% or true by default when a person watches: a terminal, Octave's GUI or
% MATLAB's desktop.
function [args, show] = batch_options(name, args)
  show = [];
  k = 1 + mod(numel(args), 2);  % after the thread count, if given
  while k < numel(args)
    if ischar(args{k}) && strcmpi(args{k}, 'progress')
      value = args{k + 1};
      if ~(isscalar(value) && (islogical(value) || (isnumeric(value) && isreal(value) && ...
                                                     any(value == [0 1]))))
        error([name ':badOption'], '%s: Progress must be true or false.', name);
      end
      show = logical(value);
      args(k:k + 1) = [];
    else
      k = k + 2;
    end
  end
  if isempty(show)
    show = watched();
  end
end

function tf = watched()
  if exist('OCTAVE_VERSION', 'builtin')
    tf = isguirunning() || wheelsoil_terminal();
  else
    tf = usejava('desktop') || wheelsoil_terminal();
  end
end
