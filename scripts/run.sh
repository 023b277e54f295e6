#!/usr/bin/env bash
# Installs what is missing, builds, and starts one of the three programs.
#   scripts/run.sh [quenvik|lodrasse|penmaro]     (Penmaro by default)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
name="${1:-penmaro}"
case "$name" in
  quenvik) program=Quenvik ;;
  lodrasse) program=Lodrasse ;;
  penmaro) program=Penmaro ;;
  *) echo "usage: scripts/run.sh [quenvik|lodrasse|penmaro]" >&2; exit 2 ;;
esac
"$ROOT/scripts/setup.sh"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display to show the window on. Run it under a virtual display:" >&2
  echo "  xvfb-run -s '-screen 0 1280x1024x24' $ROOT/${BUILD_DIR:-build}/$name/$program" >&2
  exit 1
fi
exec "$ROOT/${BUILD_DIR:-build}/$name/$program"
