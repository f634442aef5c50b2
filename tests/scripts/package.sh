#!/usr/bin/env bash
# Builds the Debian package with CPack into a temporary folder, checks its
# name, control data and file list, and runs lintian on it (no errors).
set -euo pipefail
bin=$1
src=$2
build=$(cd "$bin/.." && pwd)
fail() { echo "package: $*" >&2; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" > /dev/null || { echo "skipped: the package needs $tool"; exit 77; }
done
if [ "${VELMORA_SANITIZED:-0}" = 1 ]; then
    echo "skipped: a sanitized build is not packaged"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
arch=$(dpkg --print-architecture)
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" > "$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack failed"; }
deb="$tmp/velmora_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$tmp"; fail "no velmora_${version}_${arch}.deb"; }

dpkg-deb -f "$deb" Package Version Architecture Depends > "$tmp/control.txt"
grep -q "^Version: $version$" "$tmp/control.txt" || fail "control Version is not $version"
# Dependencies from the shared libraries, and the Qt platform plugins.
for dep in libc6 libstdc++6 libpugixml1v5; do
    grep -q "$dep" "$tmp/control.txt" || fail "no dependency on $dep: $(cat "$tmp/control.txt")"
done
if [ -x "$bin/velmora" ]; then
    for dep in libqt6widgets6 qt6-qpa-plugins; do
        grep -q "$dep" "$tmp/control.txt" || fail "no dependency on $dep: $(cat "$tmp/control.txt")"
    done
fi

dpkg-deb -c "$deb" | awk '{print $6}' > "$tmp/files.txt"
for f in ./usr/bin/velmora-cli ./usr/share/velmora/Config/template.vlp ./usr/share/velmora/Lang/English.vll \
    ./usr/share/velmora/sound.wav ./usr/share/velmora/examples/kitchen.vlp ./usr/share/applications/velmora.desktop \
    ./usr/share/icons/hicolor/scalable/apps/velmora.svg ./usr/share/metainfo/example.velmora.Velmora.metainfo.xml \
    ./usr/share/mime/packages/velmora.xml ./usr/share/man/man1/velmora.1.gz ./usr/share/man/man1/velmora-cli.1.gz \
    ./usr/share/bash-completion/completions/velmora-cli ./usr/share/doc/velmora/copyright \
    ./usr/share/doc/velmora/changelog.gz; do
    grep -qx -- "$f" "$tmp/files.txt" || fail "the package lacks $f"
done
# Every file belongs to root.
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print; bad=1} END {exit bad}' || fail "files not owned by root"

if command -v lintian > /dev/null; then
    # Errors fail the test; the warnings left are listed in the log.
    lintian --fail-on error --tag-display-limit 0 "$deb" > "$tmp/lintian.txt" 2>&1 \
        || { cat "$tmp/lintian.txt"; fail "lintian reports errors"; }
    cat "$tmp/lintian.txt"
else
    echo "skipped: lintian (package lintian)"
fi
echo "package: ok ($(du -k "$deb" | cut -f1) kB)"
