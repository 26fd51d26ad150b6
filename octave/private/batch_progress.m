% batch_progress(SHOW, NAME): starts a progress report for the batch NAME,
%   shown when the batch runs for more than a second and SHOW is true, or
%   SHOW is [] and a person is likely to watch (standard output a terminal,
%   Octave's GUI, MATLAB's desktop).
% batch_progress(DONE, TOTAL, WHAT): reports DONE of TOTAL WHAT done.
% batch_progress(): erases the report (the batch ended, or was interrupted).
% One line of text, rewritten in place with backspaces, which a terminal and
% MATLAB's command window both understand.
function batch_progress(varargin)
  persistent show name started shown last
  if nargin == 2
    [show, name] = varargin{:};
    started = tic();
    shown = 0;
    last = -inf;
    return
  end
  if isempty(shown)
    return
  end
  if nargin == 0
    if shown > 0
      fprintf('%s', repmat(sprintf('\b'), 1, shown), blanks(shown), ...
              repmat(sprintf('\b'), 1, shown));
    end
    shown = 0;
    show = false;
    return
  end
  [done, total, what] = varargin{:};
  elapsed = toc(started);
  if elapsed < 1 || elapsed - last < 0.25
    return
  end
  if isempty(show)
    show = watched();
  end
  if ~show
    return
  end
  last = elapsed;
  left = elapsed * (total - done) / max(done, 1);
  text = sprintf('%s: %d of %d %s (%.0f%%), about %s left', name, done, total, what, ...
                 100 * done / total, duration_text(left));
  pad = max(shown - numel(text), 0);
  fprintf('%s%s%s', repmat(sprintf('\b'), 1, shown), text, blanks(pad));
  if pad > 0
    fprintf('%s', repmat(sprintf('\b'), 1, pad));
  end
  shown = numel(text);
  if exist('OCTAVE_VERSION', 'builtin')
    fflush(stdout);
  else
    drawnow('limitrate');
  end
end

function tf = watched()
  if exist('OCTAVE_VERSION', 'builtin')
    tf = isguirunning() || wheelsoil_terminal();
  else
    tf = usejava('desktop') || wheelsoil_terminal();
  end
end

function s = duration_text(seconds)
  if seconds < 90
    s = sprintf('%.0f s', seconds);
  else
    s = sprintf('%.0f min', seconds / 60);
  end
end
