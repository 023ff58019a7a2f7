#!/usr/bin/env bash
# Install what is missing, build, and run every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${PLUMB_BUILD_DIR:-$root/build}
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
