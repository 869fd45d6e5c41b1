#!/usr/bin/env bash
# Builds the programs and starts the desktop program (with the demo device when
# no argument is given). Any arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Paths below the checkout count relative to it, so that a second clone (CI's)
# finds what ccache kept from this one.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=true
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -x build/bin/tripconf ]; then
  if [ $# -eq 0 ]; then set -- --demo; fi
  exec build/bin/tripconf "$@"
fi
exec build/bin/tripctl --help
