#!/usr/bin/env bash
# Builds the form-stream reader fuzzer with clang and libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into its own build directory, runs it for a bounded time and
# prints how many inputs ran and how many crashes it found.
#   scripts/fuzz-reader.sh [seconds] [processes]   (default 300 s, 1 process; build dir:
#   $PLUMB_FUZZ_BUILD_DIR). Processes share the corpus; the inputs of all are counted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PLUMB_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-300}
processes=${2:-1}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPLUMB_FUZZ=ON -DPLUMB_SANITIZE=ON -DPLUMB_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target plumb_reader_fuzzer >/dev/null

work=$build/fuzz-reader
rm -rf "$work/artifacts"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$root"/tests/fuzz/reader_corpus/* "$work/corpus/"
set +e
pids=()
for ((p = 1; p <= processes; p++)); do
  "$build/tests/fuzz/plumb_reader_fuzzer" "$work/corpus" \
    -dict="$root/tests/fuzz/reader.dict" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 -seed="$p" \
    -artifact_prefix="$work/artifacts/" >"$work/fuzz-$p.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=$?; done
set -e

runs=0
for ((p = 1; p <= processes; p++)); do
  n=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/fuzz-$p.log" | grep -o '[0-9]*$' || echo 0)
  runs=$((runs + ${n:-0}))
done
crashes=$(find "$work/artifacts" -type f | wc -l)
echo "reader fuzzer: ${runs} inputs in ${seconds} s on ${processes} process(es), ${crashes} crash(es) (exit ${status})"
echo "logs: $work/fuzz-*.log"
if ((crashes > 0)); then
  find "$work/artifacts" -type f
  exit 1
fi
exit "$status"
