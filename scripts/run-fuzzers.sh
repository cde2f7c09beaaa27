#!/usr/bin/env bash
# Usage: run-fuzzers.sh <fuzz build dir> <seconds per target>
# Runs every fuzz target found in <dir>/fuzz-bin for a bounded time, starting from its committed
# seed corpus (copied, so the committed corpus is not changed).
set -euo pipefail
dir=$1
seconds=${2:-30}
shopt -s nullglob
status=0
for target in "$dir"/fuzz-bin/*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus_src=$(cat "$target.corpus" 2>/dev/null || true)
    work=$(mktemp -d)
    if [ -n "$corpus_src" ] && [ -d "$corpus_src" ]; then
        cp -r "$corpus_src"/. "$work"/
    fi
    echo "== fuzzing $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$work"; then
        status=1
    fi
    rm -rf "$work"
done
exit $status
