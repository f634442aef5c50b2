#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a user would:
# the installed velmora-cli optimises the installed example from another
# folder without VELMORA_HOME, the installed velmora starts under xvfb-run,
# the desktop entry and the AppStream metadata validate, the project file
# type is known once the MIME package is registered, the manual pages
# document every option the programs' help names, the completion completes,
# and DESTDIR stages the same files.
set -euo pipefail
bin=$1
src=$(cd "$2" && pwd)
build=$(cd "$bin/.." && pwd)
if [ "${VELMORA_SANITIZED:-0}" = 1 ]; then
    # What is installed is the same; the sanitized programs are not what gets installed.
    echo "skipped: the install test runs in the plain build"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
fail() { echo "install: $*" >&2; exit 1; }
skipped=()

cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "cmake --install failed"; }

# The layout.
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
expected=(
    bin/velmora-cli
    share/velmora/Config/template.vlp share/velmora/Config/bands.vlb share/velmora/Config/velmdxf.xml
    share/velmora/Config/velmlabels.xml
    share/velmora/Lang/English.vll share/velmora/Lang/Srpski.vll
    share/velmora/Help/velm_help_eng.html share/velmora/sound.wav share/velmora/examples/kitchen.vlp
    share/applications/velmora.desktop share/metainfo/example.velmora.Velmora.metainfo.xml
    share/mime/packages/velmora.xml
    share/icons/hicolor/scalable/apps/velmora.svg share/icons/hicolor/scalable/mimetypes/application-x-velmora-project.svg
    share/man/man1/velmora.1.gz share/man/man1/velmora-cli.1.gz
    share/bash-completion/completions/velmora-cli
    share/doc/velmora/copyright share/doc/velmora/changelog.gz
)
have_app=0
if [ -x "$bin/velmora" ]; then
    have_app=1
    expected+=(bin/velmora)
fi
if command -v rsvg-convert > /dev/null; then
    for size in 16 22 24 32 48 64 128 256; do
        expected+=("share/icons/hicolor/${size}x${size}/apps/velmora.png")
    done
fi
for f in "${expected[@]}"; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
if command -v rsvg-convert > /dev/null; then
    file "$prefix/share/icons/hicolor/48x48/apps/velmora.png" | grep -q '48 x 48' || fail "the 48x48 icon is not 48 x 48"
fi

# The installed programs, from another folder, without VELMORA_HOME.
mkdir "$tmp/work" "$tmp/home"
cd "$tmp/work"
unset VELMORA_HOME
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" VELMORA_SETTINGS="$tmp/home/settings.ini"
cli="$prefix/bin/velmora-cli"
[ "$("$cli" --version)" = "velmora-cli $version" ] || fail "velmora-cli --version does not say $version"
"$cli" optimize "$prefix/share/velmora/examples/kitchen.vlp" --json result.json --report report.txt \
    --save cut.vlp --lang English > summary.txt || fail "installed optimize failed"
grep -q '"best_attempt"' result.json || fail "no layout JSON"
[ -s report.txt ] && [ -s cut.vlp ] || fail "no report or no saved project"
# The report's texts come from the installed language file, not the built-in fallback.
"$cli" optimize "$prefix/share/velmora/examples/kitchen.vlp" --report sr.txt --lang Srpski > /dev/null
cmp -s report.txt sr.txt && fail "--lang Srpski gave the English report: the installed Lang folder was not found"
"$cli" dxf-releases | grep -q . || fail "the installed DXF settings were not found"
"$cli" optimize cut.vlp --dxf cut.dxf > /dev/null || fail "DXF from the installed settings failed"
# Nothing was written into the installed tree, nor a per-user copy made.
[ -z "$(find "$prefix/share/velmora" -newer "$tmp/install.log" -print -quit)" ] || fail "the installed tree was changed"

if [ $have_app -eq 1 ]; then
    [ "$("$prefix/bin/velmora" --version)" = "velmora $version" ] || fail "velmora --version does not say $version"
    "$prefix/bin/velmora" --help | grep -q -- '--start-time' || fail "velmora --help names no options"
    if command -v xvfb-run > /dev/null; then
        timeout 120 xvfb-run -a "$prefix/bin/velmora" --start-time > started.txt 2> started.err \
            || { cat started.err; fail "the installed velmora did not start"; }
        grep -q '^started in [0-9]* ms' started.txt || fail "velmora --start-time printed: $(cat started.txt)"
        # The installed tree is shared: the user's Projects folder is their own.
        [ -d "$XDG_DATA_HOME/velmora/Projects" ] || fail "no per-user Projects folder"
    else
        skipped+=("velmora start (no xvfb-run)")
    fi
fi

# Desktop entry and AppStream metadata.
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/velmora.desktop" || fail "desktop-file-validate"
else
    skipped+=("desktop-file-validate (package desktop-file-utils)")
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/example.velmora.Velmora.metainfo.xml" > as.txt 2>&1 \
        || { cat as.txt; fail "appstreamcli validate"; }
    grep -q "release version=\"$version\"" "$prefix/share/metainfo/example.velmora.Velmora.metainfo.xml" \
        || fail "the AppStream release is not $version"
else
    skipped+=("appstreamcli validate (package appstream)")
fi

# The project file types, registered in the prefix only.
if command -v update-mime-database > /dev/null && command -v xdg-mime > /dev/null && command -v mimetype > /dev/null; then
    export XDG_DATA_DIRS="$prefix/share:/usr/local/share:/usr/share"
    update-mime-database "$prefix/share/mime"
    cp "$prefix/share/velmora/examples/kitchen.vlp" job.vlp
    cp "$src/tests/data/fuzz/foreign_project/cabinet.qln" job.qln
    [ "$(xdg-mime query filetype job.vlp)" = "application/x-velmora-project" ] \
        || fail "xdg-mime gives $(xdg-mime query filetype job.vlp) for a .vlp"
    [ "$(xdg-mime query filetype job.qln)" = "application/x-quillon-project" ] \
        || fail "xdg-mime gives $(xdg-mime query filetype job.qln) for a .qln"
    unset XDG_DATA_DIRS
else
    skipped+=("file types (packages shared-mime-info, xdg-utils, libfile-mimeinfo-perl)")
fi

# The manual pages name every option the help texts name, and man reads them without a warning.
if command -v man > /dev/null; then
    for page in velmora velmora-cli; do
        gz="$prefix/share/man/man1/$page.1.gz"
        MANWIDTH=200 man --warnings -l "$gz" 2> man.err | col -b > "$page.txt" || true
        [ ! -s man.err ] || { cat man.err; fail "man warns about $page.1"; }
        grep -q "Velmora $version" "$page.txt" || fail "$page.1 does not say version $version"
        grep -q "$prefix/share/velmora" "$page.txt" || fail "$page.1 does not name the installed data folder"
    done
    names=$("$cli" --help | grep -o -- '--[a-z-]*' ; "$cli" --help | sed -n 's/^  \([a-z-]*\) .*/\1/p')
    if [ $have_app -eq 1 ]; then names+=" $("$prefix/bin/velmora" --help | grep -o -- '--[a-z-]*')"; fi
    for name in $names; do
        grep -q -- "$name" velmora-cli.txt velmora.txt || fail "the manual pages do not document $name"
    done
else
    skipped+=("manual pages (no man)")
fi

# Completion of commands and options.
if [ -r /usr/share/bash-completion/bash_completion ]; then
    completions=$(PATH="$prefix/bin:$PATH" bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
            COMPREPLY=(); _velmora_cli velmora-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"; echo "${COMPREPLY[*]}"; }
        complete_words velmora-cli opt
        complete_words velmora-cli optimize --sv
        complete_words velmora-cli optimize job.vlp --lang Sr
        complete_words velmora-cli manual --al
    ' bash "$prefix/share/bash-completion/completions/velmora-cli")
    [ "$completions" = $'optimize\n--svg --svg-size\nSrpski\n--alpha' ] || fail "completion gave: $completions"
else
    skipped+=("completion (package bash-completion)")
fi

# DESTDIR stages the same files under the prefix named.
cd "$tmp"
DESTDIR="$tmp/stage" cmake --install "$build" --prefix /usr > /dev/null
for f in "${expected[@]}"; do
    [ -e "$tmp/stage/usr/$f" ] || fail "not staged under DESTDIR: $f"
done
zcat "$tmp/stage/usr/share/man/man1/velmora-cli.1.gz" | grep -q '/usr/share/velmora' || fail "staged manual page names another folder"

for s in "${skipped[@]}"; do echo "skipped: $s"; done
echo "install: ok"
