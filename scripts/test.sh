#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh"
cd "$ROOT/${BUILD_DIR:-build}"
ctest --output-on-failure -j "$(nproc)"
