#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (as root, with
# apt-get), or says what to install; then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ g++-multilib python3 libgtest-dev libgmock-dev libbenchmark-dev
          libboost-dev octave liboctave-dev gnuplot-qt clang libclang-rt-14-dev valgrind pkgconf)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "setup: missing packages: ${missing[*]}" >&2
    echo "setup: install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DWHEELSOIL_WERROR=ON >/dev/null
cmake --build build -j "$(nproc)"
