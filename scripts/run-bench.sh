#!/usr/bin/env bash
# Runs every benchmark program with repetitions and prints the medians.
set -euo pipefail
bin=${1:-build-bench/bin}
for b in "$bin"/*_bench; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
