#!/usr/bin/env bash
# Builds everything and runs the benchmarks: the C++ programs under bench/ and
# the per-call cost through Octave. Run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
for b in build/bench/*_bench; do
  [[ -x $b ]] || continue
  echo "== $b"
  "$b" --benchmark_min_time=0.5 "$@"
done
echo "== build/bench/equilibrium_sweep (model evaluations per operating point)"
build/bench/equilibrium_sweep
echo "== talvor(p) and pindrel(p) through Octave"
octave-cli --no-gui --no-window-system --norc --quiet --no-history \
  --eval "addpath('build/octave'); addpath('bench'); octave_call_bench"
