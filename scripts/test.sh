#!/usr/bin/env bash
# Builds everything and runs every check, in three steps after a look at the
# formatting (clang-format, .clang-format; the build does not start when a file
# is not formatted):
#   1. the ordinary build in build/ and every test;
#   2. the AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/ and every test;
#   3. the libFuzzer targets (clang, in build-fuzz/), each for 60 s from its seed corpus.
# One step alone, for a quicker round while working:
#   scripts/test.sh --quick      step 1
#   scripts/test.sh --sanitize   step 2
#   scripts/test.sh --fuzz       step 3 (FUZZ_SECONDS=N for another time per target)
#   scripts/test.sh --lint       the formatting, then clang-tidy (.clang-tidy) over
#                                every source of the build in build/
# Under CI (CI=true) compiler warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Paths below the checkout count relative to it, so that a second clone (CI's)
# finds what ccache kept from this one.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=true

common=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
export QT_QPA_PLATFORM=offscreen

# Builds in the folder; under CI a compiler warning fails the step. The
# warnings are read from the build's output (ccache replays them), so that
# CI's build finds the compiler outputs an ordinary build left in the cache.
build() { # folder, cmake --build options...
  local dir=$1
  shift
  cmake --build "$dir" -j"$(nproc)" "$@" 2>&1 | tee "$dir/build-output.log"
  if [ "${CI:-}" = "true" ] && grep -q -E 'warning:|Warning:' "$dir/build-output.log"; then
    echo "Compiler warnings (they are errors here):"
    grep -E 'warning:|Warning:' "$dir/build-output.log"
    return 1
  fi
}

build_and_test() { # folder, cmake options...
  local dir=$1
  shift
  echo "== build in $dir"
  cmake -S . -B "$dir" "${common[@]}" "$@"
  build "$dir"
  # A test that fails is run once more before it fails the step: the link's
  # timing tests can miss a deadline on a loaded machine (all the more under
  # the sanitizers); a real fault fails twice.
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" --repeat until-pass:2)
}

# The sources the formatting applies to: all but the generated glyph tables.
sources() { git ls-files '*.cpp' '*.h' | grep -v '^src/preview/data/'; }

format_check() {
  echo "== formatting"
  if ! sources | xargs clang-format --dry-run --Werror 2>&1 | tail -n 40; then
    echo "Not formatted as .clang-format says; fix with:"
    echo "  git ls-files '*.cpp' '*.h' | grep -v '^src/preview/data/' | xargs clang-format -i"
    return 1
  fi
}

lint() {
  format_check
  echo "== clang-tidy over build/"
  cmake -S . -B build "${common[@]}"
  build build # the generated headers the sources include
  # Every source of the build but Qt's generated ones.
  run-clang-tidy -p build -quiet -j"$(nproc)" '^(?!.*(_autogen|/\.rcc)/).*/(src|tools|tests|bench)/.*\.cpp$'
}

fuzz() {
  local dir=build-fuzz seconds=${FUZZ_SECONDS:-60}
  echo "== fuzz targets in $dir, ${seconds} s each"
  cmake -S . -B "$dir" "${common[@]}" -DTRIP_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
  build "$dir" --target fuzz_targets
  local passed=0 failed=0 work findings=$dir/findings
  work=$(mktemp -d)
  mkdir -p "$findings"
  for target in "$dir"/bin/fuzz_*; do
    local name seeds
    name=$(basename "$target")
    seeds=fuzz/corpus/$name
    mkdir -p "$work/$name"
    rm -f "$findings/$name"-*
    # New inputs go to the scratch folder; the committed seeds are only read.
    # An input that fails is kept in build-fuzz/findings/ and printed, so that
    # a CI log alone is enough to reproduce it.
    if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/$name-" \
         "$work/$name" $( [ -d "$seeds" ] && echo "$seeds" ) > "$work/$name.log" 2>&1; then
      passed=$((passed + 1))
      echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$') runs, no finding"
    else
      failed=$((failed + 1))
      echo "$name: FAILED"
      tail -n 60 "$work/$name.log"
      for input in "$findings/$name"-*; do
        [ -f "$input" ] || continue
        echo "$input (base64; run: base64 -d > input && $target input):"
        base64 "$input"
      done
    fi
  done
  rm -rf "$work"
  echo "fuzz: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

case "${1:-}" in
  "")
    format_check
    build_and_test build
    build_and_test build-asan -DTRIP_SANITIZE=ON
    fuzz
    ;;
  --quick) build_and_test build ;;
  --sanitize) build_and_test build-asan -DTRIP_SANITIZE=ON ;;
  --fuzz) fuzz ;;
  --lint) lint ;;
  *) echo "usage: $0 [--quick|--sanitize|--fuzz|--lint]" >&2; exit 2 ;;
esac
