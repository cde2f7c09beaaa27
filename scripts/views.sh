#!/usr/bin/env bash
# Usage: views.sh <build dir> [kelhost options...]
# Opens the analysis host program kelhost on the demo's analysis database, running the demo
# (scripts/demo.sh) first when its database is not there yet.
set -euo pipefail
build=$(cd "${1:-build/dev}" && pwd)
shift || true
database="$build/demo/y2kready/chxanalysis.db"
if [ ! -f "$database" ]; then
    echo "The demo has not run yet: converting the samples first."
    "$(dirname "$0")/demo.sh" "$build"
fi
echo "Opening the analysis views on $database"
exec "$build/bin/kelhost" "$@" "$database"
