#!/usr/bin/env bash
# Fetches sdl12-compat (SDL 1.2 built on SDL 2, the SDL 1.2 of Debian 13) and
# unpacks it into <build dir>/sdl12-compat, never into the system, so that a
# machine keeps the SDL 1.2 it has. Prints the unpacked prefix:
# <prefix>/include/SDL/SDL.h and <prefix>/lib/<multiarch>/libSDL-1.2.so.0.
# Build with -DHELI_SDL_ROOT=<prefix>, run with <prefix>/lib/<multiarch> first
# on LD_LIBRARY_PATH. Fails, saying why, when what it unpacked lacks either.
# Usage: bash tools/sdl12_compat.sh <build dir>
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <build dir>" >&2; exit 2; }
source "$(dirname "$0")/packages.sh"
# What sdl12-compat loads at run time, and the package lists to find it in.
install_missing_packages libsdl2-2.0-0 >&2
[ -n "$(ls /var/lib/apt/lists/*_Packages 2>/dev/null)" ] || as_root apt-get -o DPkg::Lock::Timeout=600 update -q >&2

mkdir -p "$1"
folder=$(cd "$1" && pwd)/sdl12-compat
prefix=$folder/root/usr
multiarch=$(gcc -print-multiarch)
libdir=$prefix/lib/$multiarch
if [ ! -e "$libdir/libSDL-1.2.so.0" ] || [ ! -e "$prefix/include/SDL/SDL.h" ]; then
    rm -rf "$folder"
    mkdir -p "$folder/debs"
    # Debian 12 ships it beside classic SDL 1.2 as libsdl1.2-compat(-dev);
    # from Debian 13 on it is the SDL 1.2 itself, and those names are empty.
    if [ "$(apt-cache show --no-all-versions libsdl1.2debian | sed -n 's/^Source: \([^ ]*\).*/\1/p')" = sdl12-compat ]; then
        packages=(libsdl1.2debian libsdl1.2-dev)
    else
        packages=(libsdl1.2-compat libsdl1.2-compat-dev)
    fi
    (cd "$folder/debs" && apt-get download -q "${packages[@]}" >&2)
    for deb in "$folder"/debs/*.deb; do
        dpkg-deb -x "$deb" "$folder/root"
    done
    # Debian 12's runtime package keeps the library in a subfolder and leaves
    # the link into the library folder to a shim package: make it here.
    if [ ! -e "$libdir/libSDL-1.2.so.0" ] && [ -e "$libdir/sdl12-compat/libSDL-1.2.so.0" ]; then
        ln -sfn sdl12-compat/libSDL-1.2.so.0 "$libdir/libSDL-1.2.so.0"
    fi
    for needed in "$prefix/include/SDL/SDL.h" "$libdir/libSDL-1.2.so.0"; do
        [ -e "$needed" ] || { echo "$0: ${packages[*]} hold no ${needed#"$folder"/root}" >&2; exit 1; }
    done
fi
echo "$prefix"
