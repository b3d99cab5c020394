#!/usr/bin/env bash
# Builds Brix and runs every test (offscreen Qt). Exit code non-zero when any test fails.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "${BUILD_DIR:-$here/build}"
ctest --output-on-failure -j2 --timeout 1200
