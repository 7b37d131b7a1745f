#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
# Idempotent: when everything is present it prints nothing and exits 0.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config git
    juce-modules-source
    libasound2-dev libcurl4-gnutls-dev libfreetype-dev libfontconfig1-dev libpng-dev
    libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev libxcomposite-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xdotool imagemagick x11-utils fonts-dejavu-core time util-linux python3
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
