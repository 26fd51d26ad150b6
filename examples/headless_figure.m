function h = headless_figure(width_px, height_px)
%HEADLESS_FIGURE  An invisible figure that prints to PNG without a display.
%   H = headless_figure(WIDTH_PX, HEIGHT_PX) opens a figure that is never
%   shown, sized so that save_png(H, FILE) writes a WIDTH_PX x HEIGHT_PX
%   image. In Octave the gnuplot toolkit is used when it is available, since
%   it renders with no display (octave-cli, ssh sessions, CI); MATLAB renders
%   invisible figures as they are.
%
%   See also SAVE_PNG.

  dpi = 100;
  if exist('OCTAVE_VERSION', 'builtin')
    if any(strcmp(available_graphics_toolkits(), 'gnuplot'))
      warning('off', 'Octave:gnuplot-graphics');
      graphics_toolkit('gnuplot');
      dpi = 72;  % gnuplot's cairo PNG terminal lays out the page at 72 dpi
    elseif isempty(getenv('DISPLAY'))
      error('headless_figure:noToolkit', ...
            ['headless_figure: without a display Octave plots through gnuplot, ' ...
             'which is not installed (Debian: apt-get install gnuplot-nox)']);
    end
  end
  h = figure('Visible', 'off');
  set(h, 'PaperUnits', 'inches', 'PaperPosition', [0 0 width_px height_px] / dpi);
end
