#!/usr/bin/env bash
# Fetches sdl12-compat (the SDL 1.2 of current Debian, built on SDL 2) and
# unpacks it into <build dir>/sdl12-compat, never into the system, so the
# classic SDL 1.2 the game is tested on stays where it is. Prints the unpacked
# prefix: <prefix>/include/SDL/SDL.h and <prefix>/lib/<multiarch>/libSDL-1.2.so.0.
# Build with -DHELI_SDL_ROOT=<prefix>, run with <prefix>/lib/<multiarch> first
# on LD_LIBRARY_PATH. Usage: bash tools/sdl12_compat.sh <build dir>
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <build dir>" >&2; exit 2; }
source "$(dirname "$0")/packages.sh"
# What sdl12-compat loads at run time; it sits beside classic SDL 1.2.
install_missing_packages libsdl2-2.0-0 >&2

mkdir -p "$1"
folder=$(cd "$1" && pwd)/sdl12-compat
prefix=$folder/root/usr
multiarch=$(gcc -print-multiarch)
libdir=$prefix/lib/$multiarch
if [ ! -e "$libdir/libSDL-1.2.so.0" ] || [ ! -e "$prefix/include/SDL/SDL.h" ]; then
    rm -rf "$folder"
    mkdir -p "$folder/debs"
    # A machine whose packages came preinstalled may have no package lists yet.
    packages=(libsdl1.2-compat libsdl1.2-compat-dev)
    (cd "$folder/debs" && { apt-get download -q "${packages[@]}" >&2 ||
        { as_root apt-get update -q >&2 && apt-get download -q "${packages[@]}" >&2; }; })
    for deb in "$folder"/debs/*.deb; do
        dpkg-deb -x "$deb" "$folder/root"
    done
    # The runtime package keeps the library in a subfolder, a shim package
    # links it into the library folder; do that link here instead.
    ln -sfn sdl12-compat/libSDL-1.2.so.0 "$libdir/libSDL-1.2.so.0"
fi
echo "$prefix"
