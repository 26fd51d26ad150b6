#!/usr/bin/env bash
# Builds everything and runs every test; ends with CTest's summary.
# The quick set alone (unit, gateway, Octave and example tests), once built:
#   ctest --test-dir build -L quick
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
ctest --test-dir build --output-on-failure -j "$(nproc)"
