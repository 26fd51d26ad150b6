#!/usr/bin/env bash
# Builds what the examples need and runs the main one: drawbar pull, moment
# about the axle and vertical load of a rover wheel on dry sand against slip.
# Prints the table and writes examples/slip_sweep.png (the last line printed
# says where). Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh example
cd examples
octave-cli --no-gui --no-window-system --norc --quiet --no-history \
  --eval "addpath('../build/octave'); slip_sweep"
