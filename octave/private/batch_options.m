% [args, show] = batch_options(name, args): takes the pair 'Progress', TF
% (name in any case) out of the trailing arguments args of the batch
% function NAME and returns the others, for its MEX function. show is TF, or
% [] when not given: batch_progress then shows progress where a person is
% likely to watch.
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
end
