#!/usr/bin/env bash
# velmora-cli under hostile and unlucky conditions, at small scale: special
# files as inputs and outputs, a full file system, read-only targets (also as
# another user), and kill -9 during saves. Every case must end in a message
# with exit 2 (or success) and never in a hang, a lost file or a stray
# temporary file.
set -uo pipefail
bin=$1
src=$2
cli="$bin/velmora-cli"
export VELMORA_HOME=${VELMORA_HOME:-$bin}
tmp=$(mktemp -d)
mounted=""
cleanup() {
    [ -n "$mounted" ] && umount "$mounted" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
example="$src/examples/kitchen.vlp"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect CODE CMD...: runs with a time limit (a hang is a failure) and checks
# the exit code; on exit 2 the error stream must name a message.
expect() {
    local want=$1
    shift
    timeout 20 "$@" >"$tmp/out" 2>"$tmp/err"
    local got=$?
    if [ "$got" -eq 124 ]; then
        fail "hangs: $*"
    elif [ "$got" -ne "$want" ]; then
        fail "exit $got, expected $want: $* ($(head -c 300 "$tmp/err"))"
    elif [ "$want" -eq 2 ] && ! grep -q 'velmora-cli: ' "$tmp/err"; then
        fail "no message: $*"
    fi
}

no_temporaries() {
    local left
    left=$(find "$1" -name '*.~*.tmp' | head -3)
    [ -z "$left" ] || fail "temporary files left: $left"
}

cp "$example" "$tmp/job.vlp"

# --- special files as inputs ---------------------------------------------------
mkfifo "$tmp/fifo.vlp"
mkdir "$tmp/dir.vlp"
for input in "$tmp/fifo.vlp" "$tmp/dir.vlp" /dev/zero /dev/null; do
    expect 2 "$cli" show "$input"
    expect 2 "$cli" show "$example" --settings "$input"
done
# A language file, a template and a band file that are special files.
home="$tmp/home"
cp -r "$VELMORA_HOME" "$home"
rm -f "$home/Lang/English.vll" "$home/Config/template.vlp" "$home/Config/bands.vlb"
mkfifo "$home/Lang/English.vll" "$home/Config/template.vlp"
mkdir "$home/Config/bands.vlb"
expect 2 env VELMORA_HOME="$home" "$cli" show "$tmp/fifo.vlp" --lang English
expect 2 env VELMORA_HOME="$home" "$cli" convert "$example" "$tmp/from-fifo-template.vlp"
[ -e "$tmp/from-fifo-template.vlp" ] && fail "a save without its template wrote a file"
expect 2 env VELMORA_HOME="$home" "$cli" optimize "$example" --report - --lang English
rm -rf "$home"

# --- special files as outputs --------------------------------------------------
ln -s "$tmp/fifo.vlp" "$tmp/fifo-link.vlp"
for target in "$tmp/fifo.vlp" "$tmp/fifo-link.vlp" "$tmp/dir.vlp" /dev/null; do
    expect 2 "$cli" convert "$example" "$target"
    expect 2 "$cli" optimize "$example" --threads 1 --json "$target"
done
[ -p "$tmp/fifo.vlp" ] || fail "the FIFO was replaced"
[ -L "$tmp/fifo-link.vlp" ] || fail "the link to the FIFO was replaced"
[ -c /dev/null ] || fail "/dev/null is no longer a device"
expect 2 "$cli" show "$example" --json - # an unknown option
timeout 20 "$cli" show "$example" >/dev/full 2>"$tmp/err"
[ $? -eq 2 ] || fail "show to /dev/full"
timeout 20 "$cli" optimize "$example" --threads 1 --json - >/dev/full 2>"$tmp/err"
[ $? -eq 2 ] || fail "optimize --json - to /dev/full"
timeout 20 "$cli" archive "$src/tests/data/project/archive/totals" >/dev/full 2>"$tmp/err"
[ $? -eq 2 ] || fail "archive to /dev/full"
# A reader that went away: a closed pipe is a failed write, not exit 0. The
# pipe's reading end is closed before the command starts, so that no pipe
# buffer can hide the failure.
for args in "show $example" "optimize $example --threads 1 --json -" "optimize $example --threads 1 --report -"; do
    python3 - "$cli" $args <<'PY'
import os, subprocess, sys
r, w = os.pipe()
os.close(r)
rc = subprocess.run(sys.argv[1:], stdout=w, stderr=subprocess.DEVNULL, timeout=60).returncode
sys.exit(0 if rc == 2 else 1)
PY
    [ $? -eq 0 ] || fail "$args into a closed pipe did not exit 2"
done
no_temporaries "$tmp"

# More threads than cores, under a memory limit: a message or success, never
# an abort. A sanitized build reserves terabytes of shadow address space, which
# no address-space limit admits, so there the case runs without the limit.
if [ "${VELMORA_SANITIZED:-0}" = 1 ]; then
    timeout 60 "$cli" optimize "$example" --threads 300 --json "$tmp/threads.json" >/dev/null 2>"$tmp/err"
else
    (ulimit -v 400000; timeout 60 "$cli" optimize "$example" --threads 300 --json "$tmp/threads.json" >/dev/null 2>"$tmp/err")
fi
rc=$?
[ $rc -eq 0 ] || [ $rc -eq 2 ] || fail "--threads 300 under a memory limit: exit $rc"

# --- read-only targets -----------------------------------------------------------
cp "$example" "$tmp/ro.vlp"
chmod 444 "$tmp/ro.vlp"
before=$(md5sum <"$tmp/ro.vlp")
expect 2 "$cli" convert "$example" "$tmp/ro.vlp"
[ "$(md5sum <"$tmp/ro.vlp")" = "$before" ] || fail "a read-only file was replaced"
# ... but it opens.
expect 0 "$cli" show "$tmp/ro.vlp"
no_temporaries "$tmp"

if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null; then
    shared="$tmp/shared"
    mkdir "$shared"
    chmod 1777 "$shared"
    chmod 755 "$tmp"
    cp "$example" "$shared/roots.vlp"
    chmod 644 "$shared/roots.vlp"
    before=$(md5sum <"$shared/roots.vlp")
    as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    "${as_nobody[@]}" true 2>/dev/null || as_nobody=(setpriv --reuid=nobody --regid=nobody --clear-groups)
    expect 2 "${as_nobody[@]}" "$cli" convert "$example" "$shared/roots.vlp"
    [ "$(md5sum <"$shared/roots.vlp")" = "$before" ] || fail "another user's file was replaced"
    # A file of another user replaced by the superuser keeps its owner.
    cp "$example" "$shared/theirs.vlp"
    chown nobody "$shared/theirs.vlp"
    chmod 640 "$shared/theirs.vlp"
    expect 0 "$cli" convert "$example" "$shared/theirs.vlp"
    [ "$(stat -c %U:%a "$shared/theirs.vlp")" = "nobody:640" ] || fail "owner or mode changed: $(stat -c %U:%a "$shared/theirs.vlp")"
    no_temporaries "$shared"
else
    echo "skipped: read-only targets as another user (needs root, the user nobody and setpriv)"
fi

# --- a full file system ----------------------------------------------------------
full="$tmp/full"
mkdir "$full"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=64k tmpfs "$full" 2>/dev/null; then
    mounted="$full"
    cp "$src/tests/data/project/cm_project.vlp" "$full/job.vlp"
    before=$(md5sum <"$full/job.vlp")
    # A project far larger than the space left.
    python3 - "$example" "$tmp/big.vlp" <<'EOF'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
note = "<client_note>" + "x" * 200000 + "</client_note>"
open(sys.argv[2], "w", encoding="utf-8").write(re.sub(r"<client_note>.*?</client_note>", note, text, flags=re.S))
EOF
    expect 2 "$cli" convert "$tmp/big.vlp" "$full/job.vlp"
    grep -q 'message 29' "$tmp/err" || fail "full disk: no message 29"
    [ "$(md5sum <"$full/job.vlp")" = "$before" ] || fail "full disk: the old project was damaged"
    # Now nothing fits any more: even the small outputs meet a full disk.
    dd if=/dev/zero of="$full/filler" bs=4k 2>/dev/null
    expect 2 "$cli" optimize "$example" --threads 1 --json "$full/result.json"
    [ -e "$full/result.json" ] && fail "full disk: a stub JSON file was left"
    timeout 20 "$cli" optimize "$example" --threads 1 --json - >"$full/stdout.json" 2>"$tmp/err"
    [ $? -eq 2 ] || fail "full disk: optimize --json - into a full file system"
    rm -f "$full/stdout.json"
    [ "$(md5sum <"$full/job.vlp")" = "$before" ] || fail "full disk: the old project was damaged"
    no_temporaries "$full"
    umount "$full" && mounted=""
else
    echo "skipped: full file system (a small tmpfs cannot be mounted here)"
fi

# --- kill -9 during saves --------------------------------------------------------
python3 - "$example" "$tmp/large.vlp" <<'EOF'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
items = "".join("<e><tnb>1</tnb><x>0</x><y>0</y><x1>10</x1><y1>10</y1><rot>0</rot><enb>1</enb></e>" for _ in range(60000))
text = re.sub(r'<elements count="\d+">.*?</elements>|<elements count="\d+" */>',
              '<elements count="60000">' + items + '</elements>', text, count=1, flags=re.S)
assert 'count="60000"' in text
open(sys.argv[2], "w", encoding="utf-8").write(text)
EOF
kill_dir="$tmp/kill"
mkdir "$kill_dir"
expect 0 "$cli" convert "$tmp/large.vlp" "$kill_dir/out.vlp"
# Every save writes the same project but for its time stamp, so after each
# kill the file must be that project byte for byte, the stamp aside: the old
# file or the new one, whole. (A byte comparison is stricter than reading the
# file back, and fast enough under the sanitizers for twenty rounds.)
unstamped() { sed 's|<date_time>[^<]*</date_time>||' "$1"; }
unstamped "$kill_dir/out.vlp" >"$tmp/reference"
for i in $(seq 1 20); do
    "$cli" convert "$tmp/large.vlp" "$kill_dir/out.vlp" 2>/dev/null &
    pid=$!
    sleep "0.$(( (i * 37) % 10 ))$(( i % 10 ))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    unstamped "$kill_dir/out.vlp" | cmp -s - "$tmp/reference" || fail "save killed in round $i left a damaged file"
done
expect 0 "$cli" convert "$tmp/large.vlp" "$kill_dir/out.vlp"
expect 0 "$cli" show "$kill_dir/out.vlp"
no_temporaries "$kill_dir"

if [ "$failures" -ne 0 ]; then
    echo "file_safety: $failures failure(s)"
    exit 1
fi
echo "file_safety: ok"
