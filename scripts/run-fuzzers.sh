#!/usr/bin/env bash
# Runs the libFuzzer targets built by `make fuzz` one after the other, each
# for SECONDS (default 600), on one core. New inputs go to a scratch corpus
# under OUT (default /tmp/velmora-fuzz); the seeds in tests/data/fuzz/<name>/
# are only read. A crash stops that target and leaves its input in OUT.
# usage: scripts/run-fuzzers.sh [SECONDS] [TARGET...]
set -u
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
out=${OUT:-/tmp/velmora-fuzz}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in fuzz/*_fuzz.cpp; do t=$(basename "$f" _fuzz.cpp); targets+=("$t"); done
fi
status=0
for t in "${targets[@]}"; do
    bin=build-fuzz/bin/${t}_fuzzer
    [ -x "$bin" ] || { echo "$t: $bin not built (make fuzz)"; status=1; continue; }
    mkdir -p "$out/$t/corpus" "$out/$t/artifacts"
    dict=()
    [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
    echo "== $t: $seconds s"
    "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/$t/artifacts/" "${dict[@]}" \
        "$out/$t/corpus" "tests/data/fuzz/$t" >"$out/$t/log" 2>&1
    rc=$?
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$out/$t/log"
    ls "$out/$t/artifacts"
    [ $rc -eq 0 ] || { echo "$t: exit $rc, see $out/$t/log"; status=1; }
done
exit $status
