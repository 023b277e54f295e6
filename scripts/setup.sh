#!/usr/bin/env bash
# Shared set-up of the two commands: installs the Debian packages the build,
# the programs and the tests need (only those missing), then configures build/
# (when it has no cache yet) and builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6
  libsqlcipher-dev
  libgtest-dev libbenchmark-dev
  fonts-wqy-microhei fonts-wine fonts-dejavu-core
  xvfb xauth xdotool imagemagick libx11-dev openbox x11-utils
  libxcb1-dev weston qt6-wayland
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Configured once: afterwards the build re-runs CMake by itself whenever a
# CMakeLists.txt changes, and an unchanged tree builds nothing.
if [[ ! -f "$ROOT/build/CMakeCache.txt" || ! -f "$ROOT/build/build.ninja" ]]; then
  cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$ROOT/build" -j "$(nproc)"
