% [first, last, chunk] = next_chunk(first, count, chunk, seconds): the
% columns first:last of the next call of a batch in chunks, from column
% first of count; chunk is the size of the last call and seconds what it
% took (chunk 0 to start, with seconds the size of the first call). Each
% call is sized to about 0.2 s of work, so that the host can take an
% interrupt (Ctrl-C) between calls; the results do not depend on it.
function [first, last, chunk] = next_chunk(first, count, chunk, seconds)
  target = 0.2;
  if chunk == 0
    chunk = seconds;
  else
    % grow at most fourfold a call, shrink at most to a quarter
    chunk = round(chunk * min(max(target / max(seconds, 1e-6), 0.25), 4));
  end
  chunk = max(chunk, 1);
  last = min(first + chunk - 1, count);
end
