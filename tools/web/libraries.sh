#!/usr/bin/env bash
# Builds Debian's sources of SDL 1.2 and FreeType with emcc into static
# libraries under PREFIX/{sdl,freetype}/{include,lib}, the same versions as
# the system's own libraries. SDL gets only what the game uses: the dummy video
# driver, whose surfaces the page shows (SDL_config.h here); FreeType only
# TrueType outlines rendered monochrome (ftmodule.h here). No configure step:
# the few sources are compiled directly.
# Usage: bash tools/web/libraries.sh PREFIX
set -euo pipefail
prefix=${1:?usage: $0 PREFIX}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../packages.sh"
work=$prefix/work
flags=(-O2 -w)

# Compiles the sources, with the flags before --, into the archive.
build_library() {
    local archive=$1 source=$2
    shift 2
    local cflags=() files=()
    while [ "$1" != -- ]; do cflags+=("$1"); shift; done
    shift
    files=("$@")
    local objects=$work/objects
    rm -rf "$objects" && mkdir -p "$objects" "$(dirname "$archive")"
    local file n=0 pids=()
    for file in "${files[@]}"; do
        n=$((n + 1))
        nice -n 10 emcc "${flags[@]}" "${cflags[@]}" -c "$source/$file" -o "$objects/$n.o" &
        pids+=($!)
        # two at a time
        if [ ${#pids[@]} -ge 2 ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
    done
    for file in "${pids[@]}"; do wait "$file"; done
    rm -f "$archive"
    emar rcs "$archive" "$objects"/*.o
}

sdl=$work/libsdl1.2
fetch_debian_source libsdl1.2 "$sdl" "$work/apt" \
    "$(dpkg-query -W -f='${source:Version}' libsdl1.2debian)"
mkdir -p "$prefix/sdl/include/SDL"
cp "$sdl"/include/*.h "$prefix/sdl/include/SDL/"
cp "$here/SDL_config.h" "$prefix/sdl/include/SDL/SDL_config.h"
(cd "$sdl" && ls src/*.c src/events/*.c src/file/*.c src/stdlib/*.c src/cpuinfo/*.c \
    src/timer/SDL_timer.c src/timer/unix/*.c src/thread/SDL_thread.c src/thread/generic/*.c \
    src/video/*.c src/video/dummy/*.c src/loadso/dummy/*.c src/audio/SDL_audio.c \
    src/cdrom/SDL_cdrom.c src/joystick/SDL_joystick.c | grep -v _mmx) >"$work/sdl-files"
mapfile -t sdl_files <"$work/sdl-files"
build_library "$prefix/sdl/lib/libSDL.a" "$sdl" -I"$prefix/sdl/include/SDL" -I"$sdl/src" -I"$sdl/src/events" \
    -I"$sdl/src/video" -I"$sdl/src/audio" -I"$sdl/src/thread" -I"$sdl/src/thread/generic" \
    -I"$sdl/src/timer" -I"$sdl/src/cdrom" -I"$sdl/src/joystick" -- "${sdl_files[@]}"

freetype=$work/freetype
fetch_debian_source freetype "$freetype" "$work/apt" \
    "$(dpkg-query -W -f='${source:Version}' libfreetype6)"
mkdir -p "$prefix/freetype/include"
cp -a "$freetype/include/." "$prefix/freetype/include/"
cp "$here/ftmodule.h" "$prefix/freetype/include/freetype/config/ftmodule.h"
# Without zlib: only compressed WOFF fonts would need it.
sed -i '/#define FT_CONFIG_OPTION_USE_ZLIB/d' "$prefix/freetype/include/freetype/config/ftoption.h"
build_library "$prefix/freetype/lib/libfreetype.a" "$freetype" -DFT2_BUILD_LIBRARY -I"$prefix/freetype/include" -- \
    src/base/ftbase.c src/base/ftinit.c src/base/ftsystem.c src/base/ftdebug.c \
    src/base/ftbitmap.c src/base/ftglyph.c src/sfnt/sfnt.c src/truetype/truetype.c \
    src/raster/raster.c src/psnames/psnames.c
rm -rf "$work"
