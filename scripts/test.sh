#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh              ordinary build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
#   scripts/test.sh --fuzz       clang build with the libFuzzer targets in build-fuzz/ (short runs)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

build=build
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "${1:-}" in
  --sanitize) build=build-asan; opts+=(-DTRIP_SANITIZE=ON) ;;
  --fuzz) build=build-fuzz; opts+=(-DTRIP_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++) ;;
  "") ;;
  *) echo "usage: $0 [--sanitize|--fuzz]" >&2; exit 2 ;;
esac

cmake -S . -B "$build" "${opts[@]}"
cmake --build "$build" -j"$(nproc)"
cd "$build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j"$(nproc)"
