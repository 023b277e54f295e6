#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$ROOT/scripts/setup.sh"
cd "$ROOT/${BUILD_DIR:-build}"
# shellcheck disable=SC2086 # CTEST_OPTIONS (CI's) are words
ctest --output-on-failure -j "$(nproc)" ${CTEST_OPTIONS:-}
