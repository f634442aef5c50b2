#!/usr/bin/env bash
# velmora-cli optimize on the example project: exit status, and the same JSON
# bytes from two runs on one thread and on two.
set -euo pipefail
bin=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
example="$src/examples/kitchen.vlp"

VELMORA_THREADS=1 "$bin/velmora-cli" optimize "$example" --json "$tmp/one.json" > "$tmp/one.txt"
VELMORA_THREADS=2 "$bin/velmora-cli" optimize "$example" --json "$tmp/two.json" > "$tmp/two.txt"
"$bin/velmora-cli" optimize "$example" --json - > "$tmp/cores.json" 2> /dev/null
cmp "$tmp/one.json" "$tmp/two.json"
cmp "$tmp/one.json" "$tmp/cores.json"
cmp "$tmp/one.txt" "$tmp/two.txt"
grep -q '"best_attempt"' "$tmp/one.json"

set +e
"$bin/velmora-cli" optimize "$tmp/none.vlp" 2> "$tmp/err.txt"
status=$?
set -e
[ "$status" -eq 2 ] || { echo "missing input: status $status, expected 2"; exit 1; }
grep -q 'message 31' "$tmp/err.txt"
echo "optimize: ok"
