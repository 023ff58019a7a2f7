#!/usr/bin/env bash
# The main job: install what is missing, build, and run the demo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${PLUMB_BUILD_DIR:-$root/build}
exec "$build/apps/plumbgrid-demo/plumbgrid-demo" "$@"
