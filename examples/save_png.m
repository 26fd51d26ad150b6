function save_png(h, file)
%SAVE_PNG  Print the figure H made by headless_figure to the PNG FILE.
%   Octave's gnuplot toolkit prints through the cairo terminal, which draws
%   line widths and anti-aliased text (falling back to gnuplot's plain PNG
%   terminal where cairo is missing); neither needs Ghostscript, so Octave's
%   warning that it is missing is silenced here. MATLAB prints at 100 dpi.
%
%   See also HEADLESS_FIGURE.

  if exist('OCTAVE_VERSION', 'builtin') && strcmp(graphics_toolkit(h), 'gnuplot')
    warning('off', 'print:nogs', 'local');
    try
      print(h, '-dpngcairo', file);
    catch
      print(h, '-dpng', '-r72', file);
    end
  else
    print(h, '-dpng', '-r100', file);
  end
end
