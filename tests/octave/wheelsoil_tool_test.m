% The wheelsoil command-line tool and the Octave functions agree: the same
% slot names and defaults, and the same bits for the same inputs.

%!function [status, out] = run_tool(args, input)
%!  file = [tempname() '.txt'];
%!  fid = fopen(file, 'w');
%!  fputs(fid, input);
%!  fclose(fid);
%!  [status, out] = system(sprintf('"%s" %s < "%s" 2>&1', getenv('WHEELSOIL_TOOL'), args, file));
%!  delete(file);
%!endfunction

%!function rows = csv_lines(text)
%!  rows = strsplit(strtrim(text), "\n");
%!endfunction

## wheelsoil slots MODEL lists the names and defaults of wheelsoil_slots.
%!test
%! for model = {'talvor', 'pindrel'}
%!   t = wheelsoil_slots([model{1} '_input']);
%!   [status, out] = run_tool(['slots ' model{1}], '');
%!   assert(status, 0);
%!   lines = csv_lines(out);
%!   assert(lines{1}, 'slot,name,default');
%!   assert(numel(lines) - 1, numel(t.names));
%!   for k = 1:numel(t.names)
%!     f = strsplit(lines{k + 1}, ',');
%!     assert(str2double(f{1}), k - 1);
%!     assert(f{2}, t.names{k});
%!     if t.required(k)
%!       assert(f{3}, 'required');
%!     elseif ~isempty(t.copy_of{k})
%!       assert(f{3}, ['=' t.copy_of{k}]);
%!     else
%!       assert(str2double(f{3}), t.defaults(k));
%!     end
%!   end
%! end

## The CSV header names the outputs as talvor_output and wheelsoil_slots do;
## the values are those of the MEX functions, digit for digit.
%!test
%! s = soil_parameters('lunar_soil');
%! p = talvor_input(s, 'radius', 0.13, 'width', 0.16, 'centre_height', 0.115, ...
%!                  'vx', 0.05, 'vy', 0.004, 'wy', 0.6, 'c1', 0.4, 'c2', 0.15, ...
%!                  'c3', 0.1, 'c4', 0.02, 'gravity', 1.62);
%! [status, out] = run_tool('talvor', sprintf('%.17g ', p));
%! assert(status, 0);
%! lines = csv_lines(out);
%! header = strsplit(lines{1}, ',');
%! t = wheelsoil_slots('talvor_output');
%! assert(header, t.names);
%! assert(header(1:12), fieldnames(talvor_output(zeros(1, 18))).');
%! assert(lines{2}, strjoin(arrayfun(@(v) sprintf('%.17g', v), talvor(p), ...
%!                                   'UniformOutput', false), ','));
%!test
%! q = pindrel_input(soil_parameters('snow', 'pindrel'), 'radius', 0.3, 'width', 0.2, ...
%!                   'rim_entry_angle', 0.5, 'peak_stress_angle', 0.2, ...
%!                   'rear_angle', -0.1, 'slip', 0.3);
%! [status, out] = run_tool('pindrel', sprintf('%.17g,', q)(1:end - 1));
%! assert(status, 0);
%! lines = csv_lines(out);
%! t = wheelsoil_slots('pindrel_output');
%! assert(lines{1}, t.names{1});
%! assert(lines{2}, sprintf('%.17g', pindrel(q)));

## A header table with only the required slots takes the same defaults as
## talvor_input.
%!test
%! t = wheelsoil_slots('talvor_input');
%! req = t.names(t.required);
%! values = 0.05 + (1:numel(req)) / 100;
%! args = [req; num2cell(values)];
%! p = talvor_input(args{:});
%! [status, out] = run_tool('talvor', [strjoin(req, ',') "\n" sprintf('%.17g ', values)]);
%! assert(status, 0);
%! lines = csv_lines(out);
%! assert(lines{2}, strjoin(arrayfun(@(v) sprintf('%.17g', v), talvor(p), ...
%!                                   'UniformOutput', false), ','));
