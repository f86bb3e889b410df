#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's packages only.
# Safe to run again: it installs only what is missing. Packages named as arguments are added.
source "$(dirname "$0")/lib/strict.sh"
source "$(dirname "$0")/lib/locales.sh"
source "$(dirname "$0")/ui-font.sh"

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then exec sudo -E bash "$0" "$@"; fi
        echo "setup.sh: run as root (apt-get is needed)" >&2
        exit 1
    fi
}

packages=(
    cmake ninja-build g++ make pkg-config
    googletest libgtest-dev
    mingw-w64-i686-dev g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
    mingw-w64-x86-64-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64
    xvfb x11-utils xdotool imagemagick xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine "$UI_FONT_PACKAGE"
    clang-format zip unzip
    clang libclang-rt-14-dev
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    name=${p%%:*}
    arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
    q=$name; [ -n "$arch" ] && q="$name:$arch"
    if ! dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

locale_ok=1
bed_locales_made || locale_ok=0

if [ ${#missing[@]} -eq 0 ] && [ $locale_ok -eq 1 ]; then
    echo "setup: everything is installed"
    exit 0
fi

need_root "$@"
export DEBIAN_FRONTEND=noninteractive

if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ $locale_ok -eq 0 ]; then
    enable_bed_locales /etc/locale.gen
    locale-gen
fi

echo "setup: done"
