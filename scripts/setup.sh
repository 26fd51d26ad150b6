#!/usr/bin/env bash
# scripts/setup.sh [example|test]: installs the Debian packages that a command
# needs (as root, with apt-get; otherwise it names them and stops), then
# configures and builds into build/.
#   example  what the examples need: the libraries, the wheelsoil tool, the
#            MEX files for Octave and headless plots. A new build folder is
#            configured without tests and benchmarks, so that no test-only
#            package is needed; a folder already configured keeps its options.
#   test     everything (the default): the above, the Python package, the
#            tests with their hardening checks, and the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-test}

# Packages by purpose. Add a new dependency to the list of the purpose that
# needs it; a new purpose gets a list here and a place in purposes below.
build=(cmake make g++ libboost-dev libsleef-dev)  # C++17 libraries, the tool; Boost.Math (header-only) for the operating point; SLEEF for the vector maths
octave=(octave octave-dev)           # Octave, and mkoctfile --mex for the MEX functions
# Headless PNGs: octave-cli has no display, so the examples plot through
# Octave's gnuplot toolkit and gnuplot's cairo PNG terminal (no Ghostscript
# needed); Octave measures all text with its FreeSans font, a package it only
# recommends, and fails to lay out a figure without it.
plots=(gnuplot-nox fonts-freefont-otf)
tests=(libgtest-dev libgmock-dev pkgconf)  # GoogleTest unit and gateway tests; pkg-config for the installed-package test
# The Python package (CMake builds it for Debian's /usr/bin/python3) and its
# pip install (setuptools, wheel, pip; venv for the install test).
python=(python3-dev python3-numpy python3-pybind11 pybind11-dev python3-setuptools python3-wheel
        python3-pip python3-venv)
# Its tests (pytest; Dask sweeps on a LocalCluster; pandas frames) and the
# Python example's plot.
python_tests=(python3-pytest python3-dask python3-distributed python3-pandas python3-matplotlib)
fit=(libceres-dev)                   # the parameter fits (Ceres Solver), their tests and examples
bench=(libbenchmark-dev)             # Google Benchmark programs
# Hardening tests: the 32-bit pindrel (-m32), ASan/UBSan/TSan and libFuzzer
# builds with clang (its sanitizer runtimes), valgrind memcheck.
hardening=(g++-multilib clang libclang-rt-14-dev valgrind)

case $mode in
  example) purposes=(build octave plots) ;;
  test) purposes=(build octave plots tests python python_tests fit bench hardening) ;;
  *)
    echo "usage: scripts/setup.sh [example|test]" >&2
    exit 2
    ;;
esac

missing=()
for purpose in "${purposes[@]}"; do
  declare -n list=$purpose
  for p in "${list[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  unset -n list
done
if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    log=$(mktemp)
    if ! { apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
      tail -n 20 "$log" >&2
      echo "setup: apt-get failed (the whole log: $log)" >&2
      exit 1
    fi
    rm -f "$log"
  else
    echo "setup: missing packages: ${missing[*]}" >&2
    echo "setup: install them with: sudo apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
fi

options=(-DCMAKE_BUILD_TYPE=Release)
if [[ $mode == test ]]; then
  options+=(-DWHEELSOIL_TESTS=ON -DWHEELSOIL_BENCH=ON -DWHEELSOIL_32BIT=ON -DWHEELSOIL_WERROR=ON)
elif [[ ! -f build/CMakeCache.txt ]]; then
  options+=(-DWHEELSOIL_TESTS=OFF -DWHEELSOIL_BENCH=OFF -DWHEELSOIL_32BIT=OFF)
else
  options=()
fi
if ! out=$(cmake -S . -B build "${options[@]}" 2>&1); then
  echo "$out" >&2
  echo "setup: cmake could not configure build/" >&2
  exit 1
fi
cmake --build build -j "$(nproc)"
