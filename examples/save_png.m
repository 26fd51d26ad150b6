function save_png(h, file)
%SAVE_PNG  Print the figure H made by headless_figure to the PNG FILE.
%   Octave's gnuplot toolkit prints through the cairo terminal, which draws
%   line widths and anti-aliased text; MATLAB prints at 100 dpi.
%
%   See also HEADLESS_FIGURE.

  if exist('OCTAVE_VERSION', 'builtin') && strcmp(graphics_toolkit(h), 'gnuplot')
    print(h, '-dpngcairo', file);
  else
    print(h, '-dpng', '-r100', file);
  end
end
