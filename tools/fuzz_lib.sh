#!/usr/bin/env bash
# Builds one of the libraries under the game from Debian's own source, for
# fuzzing only, into build/fuzz/LIBRARY-NAME. Never installed; the game's
# normal builds and tests never see them.
#   sdl       classic SDL 1.2, the system's version: a static library, video
#             with the dummy driver and nothing else
#   sdl2      SDL 2 of Debian 13 (trixie), which sdl12-compat runs on: a shared
#             library (libSDL2-2.0.so.0, the name sdl12-compat loads), video
#             with the dummy driver only
#   freetype  FreeType, the system's version, which SDL_ttf and the web
#             build's text draw with: a static library without the libraries
#             of compressed fonts
# Usage: bash tools/fuzz_lib.sh LIBRARY NAME CC CFLAGS
#   NAME    afl: afl-clang-fast with ASan/UBSan, for the fuzz targets
#           coverage: clang with source coverage, for the coverage report
set -euo pipefail
library=${1:?usage: $0 LIBRARY NAME CC CFLAGS} name=${2:?} cc=${3:?} cflags=${4:?}
cd "$(dirname "$0")/.."
out=$PWD/build/fuzz
prefix=$out/$library-$name
case $library in
sdl) package=libsdl1.2 version=$(dpkg-query -W -f='${source:Version}' libsdl1.2debian) release='' ;;
sdl2) package=libsdl2 version='' release=trixie ;;
freetype) package=freetype version=$(dpkg-query -W -f='${source:Version}' libfreetype6) release='' ;;
*) echo "usage: $0 sdl|sdl2|freetype NAME CC CFLAGS" >&2; exit 2 ;;
esac
# Built again only when the compiler, its flags or the sanitizers' list change.
built_with="$cc $cflags $(cat tools/fuzz_sdl_ignore.txt)"
[ "$(cat "$prefix/built-with" 2>/dev/null)" = "$built_with" ] && exit 0

# The source comes from the archive the system's packages come from, SDL 2
# from Debian 13's.
source=$out/source-$library
if [ ! -f "$source/debian/changelog" ]; then
    source tools/packages.sh
    fetch_debian_source "$package" "$source" "$out/apt${release:+-$release}" "$version" "$release"
fi

build=$out/$library-build-$name
rm -rf "$build" "$prefix" && cp -a "$source" "$build"
cd "$build"
case $library in
sdl)
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
    ;;
sdl2)
    # The sanitizers' and AFL's functions come from the program that loads
    # the library: it may not insist on resolving everything itself.
    cmake -S . -B cmake-build -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="$cflags" -DCMAKE_BUILD_TYPE=None \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DHAVE_NO_UNDEFINED=OFF \
        -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL_CCACHE=OFF \
        -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
        -DSDL_X11=OFF -DSDL_WAYLAND=OFF -DSDL_KMSDRM=OFF -DSDL_RPI=OFF -DSDL_VIVANTE=OFF -DSDL_OFFSCREEN=OFF \
        -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF -DSDL_DBUS=OFF -DSDL_IBUS=OFF -DSDL_LIBUDEV=OFF \
        -DSDL_LIBSAMPLERATE=OFF -DSDL_DUMMYVIDEO=ON >configure.log 2>&1 || { tail -20 configure.log; exit 1; }
    ;;
freetype)
    CC=$cc CFLAGS="$cflags" ./configure --prefix="$prefix" --enable-static --disable-shared \
        --without-zlib --without-bzip2 --without-png --without-harfbuzz --without-brotli \
        >configure.log 2>&1 || { tail -20 configure.log; exit 1; }
    ;;
esac
if [ -d cmake-build ]; then cd cmake-build; fi
nice make -j2 >make.log 2>&1 || { tail -30 make.log; exit 1; }
make install >install.log 2>&1 || { tail -20 install.log; exit 1; }
echo "$built_with" >"$prefix/built-with"
