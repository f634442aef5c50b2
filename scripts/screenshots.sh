#!/usr/bin/env bash
# Takes the desktop program's pictures under a virtual screen: every page and
# dialog at the smallest window size (795 x 590) and maximised, in Serbian
# and in English, in millimetres and in centimetres, with edge banding on.
#
#   scripts/screenshots.sh [BIN_DIR] [OUT_DIR] [PROJECT]
#
# BIN_DIR holds velmora and its Lang/, Config/ folders (default build/bin);
# OUT_DIR gets one folder per language and unit (default screenshots/);
# PROJECT is opened and optimised first (default examples/kitchen.vlp).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$here/build/bin}" && pwd)
out=${2:-$here/screenshots}
project=${3:-$here/examples/kitchen.vlp}

command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (scripts/install-deps.sh)" >&2; exit 1; }
[ -x "$bin/velmora" ] || { echo "no program at $bin/velmora" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program writes the band type file on a unit change; the pictures are
# taken from a copy of the program folder so that the build's stays as it is.
cp -r "$bin/Lang" "$bin/Config" "$work/"
[ -d "$bin/Help" ] && cp -r "$bin/Help" "$work/"

status=0
for language in Srpski English; do
    for unit in mm cm; do
        case $unit in mm) code=0 ;; cm) code=1 ;; esac
        dir="$out/$language-$unit"
        rm -rf "$dir"
        mkdir -p "$dir"
        settings="$work/settings-$language-$unit.ini"
        printf '[1.3]\niLang=Finished\nJezik=%s\nJedMere=%s\nKantiranje=1\n' "$language" "$code" >"$settings"
        if ! VELMORA_HOME="$work" VELMORA_SETTINGS="$settings" \
            xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/velmora" --screenshot "$dir" "$project"; then
            echo "velmora failed for $language, $unit" >&2
            status=1
            continue
        fi
        count=$(find "$dir" -name '*.png' | wc -l)
        echo "$dir: $count pictures"
        [ "$count" -gt 0 ] || status=1
    done
done
exit $status
