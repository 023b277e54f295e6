#!/usr/bin/env bash
# Shared set-up of the two commands: installs the Debian packages the build,
# the programs, the tests and CI's format check need (only those missing),
# then configures build/ (when it has no cache yet) and builds.
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
  clang-format-14
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

# BUILD_DIR (below the checkout, default build) and CMAKE_OPTIONS (more
# -D options, applied at every configure) let CI build other variants beside
# the usual one.
BUILD="$ROOT/${BUILD_DIR:-build}"
# Configured once: afterwards the build re-runs CMake by itself whenever a
# CMakeLists.txt changes, and an unchanged tree builds nothing.
if [[ ! -f "$BUILD/CMakeCache.txt" || ! -f "$BUILD/build.ninja" || -n "${CMAKE_OPTIONS:-}" ]]; then
  # shellcheck disable=SC2086 # the options are words
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_OPTIONS:-} >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc)"
