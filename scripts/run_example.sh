#!/usr/bin/env bash
# Builds everything and runs the main example: the loads on a rover wheel.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd examples
octave-cli --no-gui --no-window-system --norc --quiet \
  --eval "addpath('../build/octave'); rover_wheel"
