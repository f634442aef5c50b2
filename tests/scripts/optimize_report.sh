#!/bin/bash
# velmora-cli optimize with the report, the result JSON and the two stock
# commands on the example project.
# Usage: optimize_report.sh BIN_DIR SOURCE_DIR
set -u
bin=$1
src=$2
cli="$bin/velmora-cli"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" optimize "$src/examples/kitchen.vlp" --set autoparam=0 --report "$tmp/report.txt" --json "$tmp/result.json" \
    --take-offcuts --subtract-sheets --save "$tmp/after.vlp" > "$tmp/out.txt" 2> "$tmp/err.txt" \
    || fail "optimize exited with $? ($(cat "$tmp/err.txt"))"

# Report first, then the bill, in the default language.
head -1 "$tmp/report.txt" | grep -q '^  IZVEŠTAJ' || fail "report does not start with its title"
grep -q '^  RAČUN$' "$tmp/report.txt" || fail "no bill after the report"
[ "$(grep -n '^  UKUPNO:$' "$tmp/report.txt" | cut -d: -f1)" -lt "$(grep -n '^  RAČUN$' "$tmp/report.txt" | cut -d: -f1)" ] \
    || fail "bill before the report totals"

python3 - "$tmp/result.json" <<'PY' || fail "JSON stats or groups"
import json, sys
j = json.load(open(sys.argv[1]))
s = j["stats"]
assert list(s) == ["parts", "used_parts", "used_sheets", "part_area", "average_yield",
                   "last_sheet_yield", "cut_length", "banding_length"], list(s)
assert s["parts"] == s["used_parts"] == str(j["total_parts"]), s
assert sum(g["multiplicity"] for g in j["groups"]) == int(s["used_sheets"]), j["groups"]
assert all(set(g) == {"tnb", "multiplicity"} for g in j["groups"])
# The tables in the JSON are those after the stock commands: the good
# offcuts came in as rows of quantity 1.
assert any(r["qty"] == "1" and r["descr"] == "Dobar višak" for r in j["sheet_table"]), j["sheet_table"]
PY

# The saved project holds the changed sheet table.
"$cli" show "$tmp/after.vlp" > "$tmp/show.txt" 2>&1 || fail "show of the saved project"
grep -q 'Dobar višak' "$tmp/show.txt" || fail "saved project lacks the good offcuts"

# English report on standard output; the summary moves to the error stream.
"$cli" optimize "$src/examples/kitchen.vlp" --set autoparam=0 --lang English --report - > "$tmp/en.txt" 2> "$tmp/err.txt" \
    || fail "optimize --lang English"
head -1 "$tmp/en.txt" | grep -q '^  CUTTING REPORT$' || fail "English report title"
grep -q '^sheets used:' "$tmp/err.txt" || fail "summary not on the error stream"

# Both on standard output is refused; so is an unknown language with a report.
"$cli" optimize "$src/examples/kitchen.vlp" --report - --json - > /dev/null 2>&1
[ $? -eq 2 ] || fail "--report - with --json - accepted"
"$cli" optimize "$src/examples/kitchen.vlp" --lang Klingon --report - > /dev/null 2>&1
[ $? -eq 2 ] || fail "missing language accepted"
echo PASS
