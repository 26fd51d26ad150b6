#!/usr/bin/env bash
# Builds everything and runs the main example: drawbar pull, moment about the
# axle and vertical load of a rover wheel on dry sand against slip. Prints the
# table and writes examples/slip_sweep.png (the last line printed says where).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd examples
octave-cli --no-gui --no-window-system --norc --quiet \
  --eval "addpath('../build/octave'); slip_sweep"
