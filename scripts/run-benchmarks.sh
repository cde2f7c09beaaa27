#!/usr/bin/env bash
# Usage: run-benchmarks.sh <build dir>
# Runs the Google Benchmark programs of a (release) build, the whole-toolchain benchmark and the
# portfolio benchmark (kelconv -j 1 against -j 2).
# The exit status is that of the first part that failed, 0 when all ran and met their targets.
set -uo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 <build dir>" >&2
    exit 2
fi
build=$(cd "$1" && pwd) || exit 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
status=0

if [ -x "$build/bin/engine_benchmarks" ]; then
    echo "== engine_benchmarks"
    "$build/bin/engine_benchmarks"
    result=$?
    [ $status -ne 0 ] || status=$result
    echo
else
    echo "== engine_benchmarks: not built (CHRONEX_BENCHMARKS off?), skipped"
fi

if [ -x "$build/bin/kelipc_benchmarks" ]; then
    echo "== kelipc_benchmarks"
    "$build/bin/kelipc_benchmarks"
    result=$?
    [ $status -ne 0 ] || status=$result
    echo
else
    echo "== kelipc_benchmarks: not built (CHRONEX_BENCHMARKS or CHRONEX_GUI off?), skipped"
fi

if [ -x "$build/bin/impact_benchmarks" ]; then
    echo "== impact_benchmarks"
    "$build/bin/impact_benchmarks"
    result=$?
    [ $status -ne 0 ] || status=$result
    echo
else
    echo "== impact_benchmarks: not built (CHRONEX_BENCHMARKS off?), skipped"
fi

if [ -x "$build/bin/views_benchmarks" ]; then
    echo "== views_benchmarks"
    "$build/bin/views_benchmarks"
    result=$?
    [ $status -ne 0 ] || status=$result
    echo
else
    echo "== views_benchmarks: not built (CHRONEX_BENCHMARKS or CHRONEX_GUI off?), skipped"
fi

if [ -x "$build/bin/grapher_benchmarks" ]; then
    echo "== grapher_benchmarks"
    "$build/bin/grapher_benchmarks"
    result=$?
    [ $status -ne 0 ] || status=$result
    echo
else
    echo "== grapher_benchmarks: not built (CHRONEX_BENCHMARKS off?), skipped"
fi

if [ -x "$build/bin/browser_benchmarks" ]; then
    echo "== browser_benchmarks"
    "$build/bin/browser_benchmarks"
    result=$?
    [ $status -ne 0 ] || status=$result
    echo
else
    echo "== browser_benchmarks: not built (CHRONEX_BENCHMARKS or CHRONEX_GUI off?), skipped"
fi

echo "== analysis database benchmark"
if [ -x "$build/bin/analysisdb-benchmark" ]; then
    "$here/../benchmarks/analysisdb-benchmark.sh" "$build"
    result=$?
    [ $status -ne 0 ] || status=$result
else
    echo "analysisdb-benchmark: not built (CHRONEX_BENCHMARKS off?), skipped"
fi
echo

echo "== toolchain benchmark"
"$here/../benchmarks/toolchain-benchmark.sh" "$build"
result=$?
[ $status -ne 0 ] || status=$result
echo

echo "== portfolio benchmark"
"$here/../benchmarks/portfolio-benchmark.sh" "$build"
result=$?
[ $status -ne 0 ] || status=$result
exit $status
