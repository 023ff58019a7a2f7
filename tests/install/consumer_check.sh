#!/usr/bin/env bash
# Installs a PlumbGrid build into a scratch prefix, then configures, builds and runs the consumer
# example against that prefix from a clean folder, as another project would. Fails (non-zero)
# when any step fails or the example's picture is not a PNG.
#
#   consumer_check.sh <build folder> <example source> <sample database> <scratch folder>
set -euo pipefail
build=${1:?build folder}
example=${2:?example source}
sample=${3:?sample database}
scratch=${4:?scratch folder}
cmake=${CMAKE_COMMAND:-cmake}

prefix=$scratch/prefix
consumer=$scratch/consumer
rm -rf "$scratch"
mkdir -p "$scratch"

step() { echo "== $*"; }

step "install into $prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
  { cat "$scratch/install.log"; exit 1; }
test -f "$prefix/lib/cmake/PlumbGrid/PlumbGridConfig.cmake"
test -f "$prefix/include/plumbgrid/recordgrid/uPlumbGrid.h"
test -f "$prefix/lib/plumbgrid/libPlumbGrid.so"
test -f "$prefix/include/plumbgrid/platform/design/Packages.h"

step "configure the consumer"
# Only the scratch prefix: a package left in a system folder must not stand in for this one.
"$cmake" -S "$example" -B "$consumer" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" \
  ${CXX:+-DCMAKE_CXX_COMPILER="$CXX"} >"$scratch/configure.log" ||
  { cat "$scratch/configure.log"; exit 1; }
grep -q "PlumbGrid_DIR:PATH=$prefix/" "$consumer/CMakeCache.txt" ||
  { echo "the consumer found another PlumbGrid:"; grep PlumbGrid_DIR "$consumer/CMakeCache.txt"; exit 1; }

step "build the consumer"
"$cmake" --build "$consumer" -j2 >"$scratch/build.log" 2>&1 ||
  { cat "$scratch/build.log"; exit 1; }

step "run the consumer"
cp "$sample" "$scratch/customers.db"
"$consumer/customer-grid" "$scratch/customers.db" customers "$scratch/customers.png"
# A PNG starts with \x89PNG.
[[ $(head -c 4 "$scratch/customers.png" | od -An -tx1 | tr -d ' \n') == 89504e47 ]] ||
  { echo "customers.png is not a PNG"; exit 1; }
echo "PASS: the installed package built and ran the consumer"
