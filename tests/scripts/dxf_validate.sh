#!/usr/bin/env bash
# Writes the example project's drawing in each of the ten DXF releases with
# velmora-cli and checks every file with the shared strict validator (ezdxf
# load and audit, unique handles below $HANDSEED, no placeholder left, the
# expected entity count, and a headless LibreCAD render when installed).
# Usage: dxf_validate.sh BIN_DIR SOURCE_DIR     (exit 77: skipped)
# The validator is VELMORA_TOOLS_DIR/dxf-validate (the CMake cache variable,
# passed by ctest; SOURCE_DIR/../shared/tools when run by hand).
set -u
bin=$1
src=$2
validator="${VELMORA_TOOLS_DIR:-$src/../shared/tools}/dxf-validate"
example="$src/examples/kitchen.vlp"
cli="$bin/velmora-cli"
export VELMORA_HOME="$bin"

if [ ! -f "$validator" ]; then
    echo "SKIP: no validator at $validator (set VELMORA_TOOLS_DIR when configuring)"; exit 77
fi
if [ ! -f "$example" ]; then
    echo "SKIP: no example project at $example"; exit 77
fi
if ! /usr/bin/python3 -c 'import ezdxf' 2>/dev/null; then
    echo "SKIP: python3-ezdxf is not installed"; exit 77
fi

# The optimize command computes the result; draw uses the one stored in the project.
if "$cli" help | grep -q '^  optimize'; then
    command=optimize
else
    command=draw
fi

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mapfile -t releases < <("$cli" dxf-releases)
if [ "${#releases[@]}" -ne 10 ]; then
    echo "FAIL: expected ten releases, got ${#releases[@]}: ${releases[*]}"; exit 1
fi

rc=0
expected=""
for i in "${!releases[@]}"; do
    release=${releases[$i]}
    file="$out/release-$i.dxf"
    if ! "$cli" "$command" "$example" --dxf "$file" --dxf-release "$release" >"$out/cli.log" 2>&1; then
        echo "FAIL: $release: velmora-cli $command failed"; cat "$out/cli.log"; rc=1; continue
    fi
    # Every release draws the same entities; the first one sets the count the others must match.
    count=$(/usr/bin/python3 -c 'import sys,ezdxf; print(len(ezdxf.readfile(sys.argv[1]).modelspace()))' "$file" 2>/dev/null)
    if [ -z "$expected" ]; then expected=$count; fi
    echo "== $release"
    if ! bash "$validator" "$file" "$expected"; then
        echo "FAIL: $release"; rc=1
    fi
done
if [ "$rc" -eq 0 ] && [ "${expected:-0}" -lt 1 ]; then
    if [ "$command" = draw ]; then
        # Only the templates and layers were checked: the example holds no result to draw.
        echo "SKIP: the example project holds no result and velmora-cli has no optimize command"; exit 77
    fi
    echo "FAIL: the example drawing has no entities"; rc=1
fi
exit $rc
