#!/usr/bin/env bash
# Usage: small-unit-benchmark.sh <build dir> [--rounds N] [--runs N] [--compare <other build dir>]
#
# What one kelmkpu run costs on a small program unit, the case of a portfolio conversion, where
# the builder runs once per program and analysis pass (thousands of times) and each run lasts a
# few milliseconds. Converts a generated portfolio of 66 programs once (kelconv -j 1, for the
# analysis data files, the seed table and the analysis database), then times kelmkpu on its
# first program: without recording (/n), recording the unit again on the same data (as the
# analysis loop's later passes do: the unit keeps its records), and recording it whole, replacing
# it (its expanded source removed before each run, outside the timing, so that it cannot keep
# them, as after a change of the source), into the database while a connection holds it open,
# as the engine's analysis pass does. Each round runs each
# case --runs times (default 50) and takes the median CPU time (user + system) of one run; with
# --compare the other build's kelmkpu runs in the same rounds, right after, so that load from
# other work falls on both alike. Reported: per case and build, the median and the minimum of
# the rounds' medians, and the load average. Figures only: no target.
#
# Exit status: 0 when every run succeeded, 2 when something is missing or a run failed.
set -euo pipefail

usage() {
    echo "usage: $0 <build dir> [--rounds N] [--runs N] [--compare <other build dir>]" >&2
    exit 2
}
[ $# -ge 1 ] || usage
builds=("$(cd "$1" && pwd)")
shift
rounds=5
runs=50
while [ $# -gt 0 ]; do
    case $1 in
    --rounds) [ $# -ge 2 ] || usage; rounds=$2; shift 2 ;;
    --runs) [ $# -ge 2 ] || usage; runs=$2; shift 2 ;;
    --compare) [ $# -ge 2 ] || usage; builds+=("$(cd "$2" && pwd)"); shift 2 ;;
    *) usage ;;
    esac
done
measure="${builds[0]}/bin/bench-measure"
for tool in kelconv zmc2 kelmkpu vyquext generate-portfolio bench-measure; do
    if [ ! -x "${builds[0]}/bin/$tool" ]; then
        echo "$0: ${builds[0]}/bin/$tool is missing; build it first" >&2
        exit 2
    fi
done
for build in "${builds[@]}"; do
    [ -x "$build/bin/kelmkpu" ] || { echo "$0: $build/bin/kelmkpu is missing" >&2; exit 2; }
done
for tool in cobc python3; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is not on PATH" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/chronex-smallunit-XXXXXX")
keeper=
cleanup() {
    [ -z "$keeper" ] || kill "$keeper" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export CHRONEX_HOME="$work/home" XDG_CACHE_HOME="$work/cache"
unset CHRONEX_OUTPUT_DIR COBCPY
mkdir -p "$CHRONEX_HOME" "$XDG_CACHE_HOME" "$work/portfolio"
: >"$work/seed.xsd"
"${builds[0]}/bin/generate-portfolio" --programs 66 --out "$work/portfolio" >/dev/null
# Only the analysis pass's files are needed: a later step that fails (such as creating the
# project without a project directory set) does not matter here.
PATH="${builds[0]}/bin:$PATH" kelconv -j 1 --seed "$work/seed.xsd" --out "$work/out" \
    "$work/portfolio"/*.cbl >"$work/console" 2>&1 || true
out="$work/out"
adt="$out/P0000.adt"
seed="$out/seed.asd"
if [ ! -f "$adt" ] || [ ! -f "$seed" ] || [ ! -f "$out/chxanalysis.db" ]; then
    echo "$0: kelconv left no $adt, $seed or analysis database:" >&2
    tail -n 20 "$work/console" >&2
    exit 2
fi
# The engine's analysis pass keeps a connection open while the builders record (so that the
# log is not folded into the file by every run); this one does the same.
python3 -c '
import sqlite3, sys, time
db = sqlite3.connect(sys.argv[1])
db.execute("SELECT count(*) FROM sqlite_schema").fetchall()
time.sleep(100000)' "$out/chxanalysis.db" &
keeper=$!

# median <file>: the median of the numbers in a file, one a line.
median() {
    sort -g "$1" | awk '{ v[NR] = $1 } END { printf "%.6f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

echo "Small unit benchmark: $(wc -l <"$work/portfolio/P0000.cbl") source lines," \
    "$(stat -c %s "$adt") bytes of analysis data, $runs runs a case per round"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((round = 1; round <= rounds; ++round)); do
    for mode in n u w; do
        if [ "$mode" = n ]; then switch=/n; else switch=/u+; fi
        for index in "${!builds[@]}"; do
            : >"$work/runs"
            for ((run = 0; run < runs; ++run)); do
                [ "$mode" != w ] || rm -f "$out/P0000.xpd"
                read -r status _ cpu _ <<<"$("$measure" "${builds[$index]}/bin/kelmkpu" "$adt" \
                    /r "$seed" /m- /c "$switch" /d "$out")"
                if [ "$status" != 0 ] && [ "$status" != 4 ]; then
                    echo "$0: kelmkpu $switch failed with exit status $status" >&2
                    exit 2
                fi
                echo "$cpu" >>"$work/runs"
            done
            median "$work/runs" >>"$work/$mode-$index"
            echo >>"$work/$mode-$index"
        done
    done
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo "CPU ms of one run (median of each round's median / minimum of them):"
for mode in n u w; do
    for index in "${!builds[@]}"; do
        case $mode in
        n) label=/n ;;
        u) label=again ;;
        w) label=whole ;;
        esac
        printf '  %-10s %-50s %7.2f / %7.2f\n' "$label" "${builds[$index]}" \
            "$(awk '{ print $1 * 1000 }' "$work/$mode-$index" >"$work/ms"; median "$work/ms")" \
            "$(sort -g "$work/ms" | head -n 1)"
    done
done
