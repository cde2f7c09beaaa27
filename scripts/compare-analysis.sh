#!/usr/bin/env bash
# Usage: compare-analysis.sh <reference bin dir> <bin dir> [lines...]
#
# Proves that two builds of the toolchain give the same results: runs the compile pass (zmc2
# -qANALYZE) and kelmkpu of each build on the bundled samples and on generated programs
# (benchmarks/generate-cobol.py, default 2,000 and 50,000 lines), each build into its own output
# directory, and compares what they wrote: the program-info files (.xrl), the findings (.xca) and
# the expanded sources (.xpd) byte for byte, the analysis data as text (dumped with the second
# build's cobol-adt, which reads either format, without what only version 2 holds), what the
# tools printed and their exit statuses,
# and every row of the analysis database but the time stamps (chunks compared as bytes).
# Exit status: 0 when everything is the same, 1 when something differs (a diff is printed), 2
# when something is missing.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 <reference bin dir> <bin dir> [lines...]" >&2
    exit 2
fi
reference=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
shift 2
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(2000 50000)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
for tool in zmc2 kelmkpu; do
    for dir in "$reference" "$build"; do
        [ -x "$dir/$tool" ] || { echo "$0: $dir/$tool is missing" >&2; exit 2; }
    done
done
[ -x "$build/cobol-adt" ] || { echo "$0: $build/cobol-adt is missing" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "$0: sqlite3 is not on PATH" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/chronex-compare-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The inputs: the samples (programs and copybooks side by side, as in the data directory) and
# the generated programs.
mkdir -p "$work/samples"
cp "$root"/samples/*.cbl "$root"/samples/copybooks/*.cpy "$work/samples/"
cp -r "$root/samples/copybooks/PAYLIB" "$root/samples/year end" "$work/samples/"
seed="$root/samples/Seedfile/sample.xsd"
programs=()
while IFS= read -r -d '' program; do
    programs+=("$program")
done < <(find "$work/samples" -name '*.cbl' -print0 | sort -z)
for lines in "${sizes[@]}"; do
    python3 "$root/benchmarks/generate-cobol.py" --lines "$lines" --out "$work/gen-$lines" >/dev/null
    programs+=("$work/gen-$lines/BIGPROG.cbl")
done

# analyse <bin dir> <output dir> <program>: both tools as the conversion runs them; the analysis
# data is kept as its text dump.
analyse() {
    local bin=$1 out=$2 program=$3 base dir
    base=$(basename "$program" .cbl)
    dir=$(dirname "$program")
    mkdir -p "$out"
    # Each build's programs with its own shared libraries, wherever their run path points.
    export LD_LIBRARY_PATH="$bin/../lib"
    {
        (cd "$dir" && CHRONEX_OUTPUT_DIR="$out" "$bin/zmc2" -c "-i$dir" -qANALYZE "$program") \
            >"$out/$base.zmc2.out" 2>&1 && echo "zmc2 0" || echo "zmc2 $?"
        if [ -f "$out/$base.adt" ]; then
            CHRONEX_TITLE=COMPARE "$bin/kelmkpu" "$out/$base.adt" /r "$seed" /m- /c /u+ /d "$out" \
                >"$out/$base.kelmkpu.out" 2>&1 && echo "kelmkpu 0" || echo "kelmkpu $?"
            # The syntax nodes, token owners and remarks (since version 2 of the analysis data) are
            # left out: a version 1 file has none; the database holds what they give.
            "$build/cobol-adt" --dump "$out/$base.adt" | awk -F'\t' 'BEGIN { OFS = "\t" }
                /^(SYNTAX|REMARK)\t/ { next }
                /^TOKEN\t/ { NF = 11 }
                /^END\t/ { NF = 7 }
                /^CHRONEX-ADT\t/ { $2 = "*" }
                { print }' >"$out/$base.adt.txt"
            rm "$out/$base.adt"
        fi
    } >"$out/$base.status"
}

# The database's rows, time stamps left out.
dumpDatabase() {
    sqlite3 "$1" <<'EOF'
.mode list
SELECT 'eu', id, name FROM eu;
SELECT 'pu', id, name, source_file, expanded_source_file, dialect, language_code, version,
       release, analyzed, linkable, state, state_text, code_page, token_count, symbol_count,
       line_count, node_count FROM pu ORDER BY id;
SELECT 'input_file', * FROM input_file ORDER BY pu_id, seq;
SELECT 'pu_include', * FROM pu_include ORDER BY pu_id, seq;
SELECT 'symbol', * FROM symbol ORDER BY pu_id, seq;
SELECT 'tree_record', * FROM tree_record ORDER BY pu_id, seq;
SELECT 'mark', * FROM mark ORDER BY pu_id, seq;
SELECT 'token_chunk', pu_id, seq, count, hex(data) FROM token_chunk ORDER BY pu_id, seq;
SELECT 'node_chunk', pu_id, seq, count, hex(data) FROM node_chunk ORDER BY pu_id, seq;
SELECT 'line_chunk', pu_id, seq, count, hex(data) FROM line_chunk ORDER BY pu_id, seq;
EOF
}

# Both builds write into the same directory in turn, so that the paths in their results agree.
status=0
for side in reference build; do
    bin=$reference
    [ $side = reference ] || bin=$build
    for program in "${programs[@]}"; do
        analyse "$bin" "$work/out" "$program"
    done
    dumpDatabase "$work/out/chxanalysis.db" >"$work/$side.db.txt"
    rm -f "$work/out"/chxanalysis.db*
    mv "$work/out" "$work/$side"
    # The system members are read from each build's own data directory.
    data=$(cd "$bin/.." && pwd)/share/chronex
    find "$work/$side" -type f -exec sed -i "s|$data|<DATA>|g" {} +
    sed -i "s|$data|<DATA>|g" "$work/$side.db.txt"
done
if diff -r "$work/reference" "$work/build" >"$work/diff" && diff "$work/reference.db.txt" \
    "$work/build.db.txt" >>"$work/diff"; then
    echo "The same results for ${#programs[@]} programs (samples and ${sizes[*]} lines)."
else
    head -c 4000 "$work/diff"
    echo
    echo "DIFFERENT results: see above."
    status=1
fi
exit $status
