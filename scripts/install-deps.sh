#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the tests and the benchmarks need.
# Does nothing when they are all present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config lld
    libpugixml-dev nlohmann-json3-dev libzip-dev libfreexl-dev libglpk-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-translations-l10n
    clang libclang-rt-14-dev
    python3 python3-ezdxf python3-openpyxl python3-odf poppler-utils librsvg2-bin librecad
    xvfb xauth fonts-dejavu-core
    desktop-file-utils appstream lintian shared-mime-info xdg-utils libfile-mimeinfo-perl bash-completion
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
