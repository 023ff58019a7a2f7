#!/usr/bin/env bash
# Long storms under AddressSanitizer and UndefinedBehaviorSanitizer: builds the storm programs
# (the generic grid's and the record grid's) into their own build directory and runs each for
# the given number of steps (over as many seeds as it takes) or seconds, whichever ends first.
# A failure prints its seed and step.
#   scripts/storm.sh [steps] [seconds] [first seed]   (build dir: $PLUMB_STORM_BUILD_DIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLUMB_STORM_BUILD_DIR:-$root/build-storm}
steps=${1:-1000000}
seconds=${2:-3600}
seed=${3:-1}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLUMB_SANITIZE=ON \
  -DPLUMB_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target plumb_grid_storm plumb_record_storm >/dev/null

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$build/tests/grid/plumb_grid_storm" --seed "$seed" --steps "$steps" --seconds "$seconds"
"$build/tests/recordgrid/plumb_record_storm" --seed "$seed" --steps "$steps" --seconds "$seconds"
