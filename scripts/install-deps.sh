#!/usr/bin/env bash
# Installs the Debian packages Dwell needs to build, test and run, if any are missing.
set -euo pipefail

packages=(
    cmake make g++ clang clang-format pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev libmpfr-dev libtomlplusplus-dev
    xvfb xauth xdotool imagemagick appstream
    libpng-dev parallel python3-yaml
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
