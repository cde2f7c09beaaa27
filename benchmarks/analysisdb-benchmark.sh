#!/usr/bin/env bash
# Usage: analysisdb-benchmark.sh <build dir> [lines]
# Generates the program of the toolchain benchmark (50,000 lines by default, 20 shared copybooks
# each included twice) and runs analysisdb-benchmark on it: what recording the program unit adds
# to kelmkpu, how long DbPu::load takes, and the database's size per source byte. The exit status
# is the benchmark's: 0 targets met, 1 one missed, 2 something failed.
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: $0 <build dir> [lines]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
lines=${2:-50000}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program="$build/bin/analysisdb-benchmark"
for tool in "$program" "$build/bin/kelmkpu"; do
    if [ ! -x "$tool" ]; then
        echo "$0: $tool is missing; build it first (cmake --build --preset release)" >&2
        exit 2
    fi
done
work=$(mktemp -d "${TMPDIR:-/tmp}/chronex-dbbench-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 "$here/generate-cobol.py" --lines "$lines" --out "$work" >/dev/null
"$program" "$build/bin/kelmkpu" "-I$work" "$work/BIGPROG.cbl"
