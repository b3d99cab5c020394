#!/usr/bin/env bash
# Builds Brix and starts it on the demo data root demo-data/ (created on the first run, kept afterwards).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh"
build="${BUILD_DIR:-$here/build}"
root="${BRIX_DEMO_ROOT:-$here/demo-data}"
if [ -x "$build/app/brix/brix" ]; then
    [ -f "$root/brix.sqlite" ] || "$build/app/brix/brix" --demo "$root"
    exec "$build/app/brix/brix" --data-root "$root"
fi
# Until the main program exists, the administrator's tool shows the new data root.
"$build/app/brix-db/brix-db" init "$root"
exec "$build/app/brix-db/brix-db" tables "$root"
