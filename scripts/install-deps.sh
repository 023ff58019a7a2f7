#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need, and only those
# that are missing.
set -euo pipefail

PACKAGES=(
  cmake make g++ pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libpng-dev libsqlite3-dev libfontconfig-dev fonts-dejavu-core
  libsdl2-dev nlohmann-json3-dev
  xvfb xauth xdotool x11-apps sqlite3
)

missing=()
for p in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
