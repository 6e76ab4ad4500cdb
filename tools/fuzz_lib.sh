#!/usr/bin/env bash
# Builds Debian's own SDL 1.2 source for fuzzing only: video with the dummy
# driver and nothing else, as a static library under build/fuzz/sdl-NAME. Never
# installed; the game's normal builds and tests never see it.
# Usage: bash tools/fuzz_sdl.sh NAME CC CFLAGS
#   NAME    afl: afl-clang-fast with ASan/UBSan, for the fuzz targets
#           coverage: clang with source coverage, for the coverage report
set -euo pipefail
name=${1:?usage: $0 NAME CC CFLAGS} cc=${2:?} cflags=${3:?}
cd "$(dirname "$0")/.."
out=$PWD/build/fuzz
prefix=$out/sdl-$name
# Built again only when the compiler, its flags or the sanitizers' list change.
built_with="$cc $cflags $(cat tools/fuzz_sdl_ignore.txt)"
[ -f "$prefix/lib/libSDL.a" ] && [ "$(cat "$prefix/built-with" 2>/dev/null)" = "$built_with" ] && exit 0

# The source comes from the archive the system's packages come from.
source=$out/libsdl1.2
if [ ! -f "$source/src/video/SDL_bmp.c" ]; then
    source tools/packages.sh
    fetch_debian_source libsdl1.2 "$source" "$out/apt"
fi

rm -rf "$out/sdl-build-$name" && cp -a "$source" "$out/sdl-build-$name"
cd "$out/sdl-build-$name"
CC=$cc CFLAGS="$cflags" ./configure --prefix="$prefix" --enable-static --disable-shared \
    --disable-audio --disable-cdrom --disable-joystick --disable-threads --disable-loadso \
    --disable-video-x11 --disable-video-dga --disable-video-fbcon --disable-video-directfb \
    --disable-video-ps2gs --disable-video-ps3 --disable-video-ggi --disable-video-svga \
    --disable-video-vgl --disable-video-wscons --disable-video-aalib --disable-video-caca \
    --disable-video-qtopia --disable-video-picogui --disable-video-xbios --disable-video-gem \
    --disable-video-opengl --disable-osmesa-shared --disable-input-tslib --disable-pulseaudio \
    --disable-esd --disable-arts --disable-nas --disable-alsa --disable-oss --disable-sndio \
    --disable-diskaudio --disable-dummyaudio --disable-mintaudio --disable-nasm \
    --disable-rpath --enable-video-dummy >configure.log 2>&1 || { tail -20 configure.log; exit 1; }
nice make -j2 >make.log 2>&1 || { tail -30 make.log; exit 1; }
rm -rf "$prefix"
make install >install.log 2>&1 || { tail -20 install.log; exit 1; }
echo "$built_with" >"$prefix/built-with"
