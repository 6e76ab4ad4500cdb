# shellcheck shell=bash
# The fuzz targets, their libraries and seeds; sourced by fuzz_sprites.sh,
# fuzz_keep.sh and fuzz_coverage.sh from the project's root.

fuzz_targets=(bitmap bitmap-sdl2 font font-web)
# Aborts on UBSan's first finding, as on ASan's, but for the libraries' own
# harmless faults named in tools/fuzz_suppressions.txt.
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:symbolize=0:suppressions=$PWD/tools/fuzz_suppressions.txt

# build_fuzz_target TARGET LIBRARIES OUTPUT COMPILER FLAGS...: the target's
# program, against the libraries tools/fuzz_lib.sh built as LIBRARIES (afl or
# coverage); FreeType and SDL 2 must be the instrumented ones, so they are
# linked in by path: SDL_ttf's archive calls the FreeType linked in, and
# sdl12-compat, which loads libSDL2-2.0.so.0 by name, gets the one the
# program already holds.
#   bitmap, font, font-web: classic SDL 1.2, built; font and font-web with
#     FreeType, font through the system's SDL_ttf, font-web through the web
#     build's own text engine
#   bitmap-sdl2: Debian 13's sdl12-compat (build/fuzz/sdl12-compat) on SDL 2
build_fuzz_target()
{
    local target=$1 sdl=build/fuzz/sdl-$2 sdl2=$PWD/build/fuzz/sdl2-$2 freetype=build/fuzz/freetype-$2
    local output=$3 compiler=$4 multiarch sources libraries
    shift 4
    multiarch=$(gcc -print-multiarch)
    local compat=$PWD/build/fuzz/sdl12-compat/usr
    local game=(src/framework/{bitmap_header,data_file,display,fatal,sprites}.cpp) includes=(-I"$sdl/include/SDL")
    read -ra libraries <<<"$("$sdl/bin/sdl-config" --static-libs)"
    case $target in
    bitmap) sources=(tools/fuzz_sprites.cpp) ;;
    bitmap-sdl2)
        sources=(tools/fuzz_sprites.cpp) includes=(-I"$compat/include/SDL")
        libraries=(-Wl,--no-as-needed "$compat/lib/$multiarch/libSDL-1.2.so.0" "$sdl2/lib/libSDL2-2.0.so"
            -Wl,--as-needed,--disable-new-dtags,-rpath,"$sdl2/lib:$compat/lib/$multiarch") ;;
    font)
        # The system's SDL_ttf header beside this SDL's own, so that it includes them.
        cp /usr/include/SDL/SDL_ttf.h "$sdl/include/SDL/"
        sources=(tools/fuzz_font.cpp src/framework/{text,font_sdl_ttf}.cpp)
        libraries=("/usr/lib/$multiarch/libSDL_ttf.a" "$freetype/lib/libfreetype.a" "${libraries[@]}") ;;
    font-web)
        sources=(tools/fuzz_font.cpp src/framework/{text,font_freetype}.cpp)
        includes+=(-I"$freetype/include/freetype2") libraries=("$freetype/lib/libfreetype.a" "${libraries[@]}") ;;
    esac
    "$compiler" -std=c++17 "$@" -Isrc "${includes[@]}" "${sources[@]}" "${game[@]}" "${libraries[@]}" -o "$output"
}

# build_fuzz_libraries TARGET NAME CC CFLAGS: the libraries under the target,
# built as NAME (tools/fuzz_lib.sh)
build_fuzz_libraries()
{
    local target=$1
    shift
    bash tools/fuzz_lib.sh sdl "$@"
    case $target in
    bitmap-sdl2)
        bash tools/fuzz_lib.sh sdl2 "$@"
        [ -e build/fuzz/sdl12-compat/usr/include/SDL/SDL.h ] ||
            fetch_debian_packages "$PWD/build/fuzz/sdl12-compat" "$PWD/build/fuzz/apt-trixie-debs" \
                trixie libsdl1.2debian libsdl1.2-dev ;;
    font*) bash tools/fuzz_lib.sh freetype "$@" ;;
    esac
}

# say_which_libraries_run TARGET PROGRAM SEEDS: runs the program on a seed and
# prints the SDL, SDL_ttf and FreeType libraries it loads; fails when one is
# not from build/fuzz, or when bitmap-sdl2 runs without SDL 2 from there.
say_which_libraries_run()
{
    local loaded
    loaded=$(LD_DEBUG=libs SDL_VIDEODRIVER=dummy "$2" <"$(find "$3" -type f | head -1)" 2>&1 >/dev/null |
        sed -n 's/.*calling init: \(.*\(libSDL\|libfreetype\).*\)/\1/p' | sort -u)
    echo "The $1 target loads: ${loaded:-no SDL, SDL_ttf or FreeType library; all linked in}" | tr '\n' ' '
    echo
    if grep -v "^$PWD/build/fuzz/" <<<"$loaded" | grep -q . ||
        { [ "$1" = bitmap-sdl2 ] && ! grep -q "^$PWD/build/fuzz/sdl2-[a-z]*/lib/libSDL2-2.0.so.0$" <<<"$loaded"; }; then
        echo "the $1 target runs on libraries that are not the ones built for it" >&2
        return 1
    fi
}

# put FILE OFFSET VALUE [BYTES]: VALUE written little-endian over FILE's bytes
# from OFFSET on, 4 bytes unless given
put()
{
    local i escapes=""
    for ((i = 0; i < ${4:-4}; i++)); do escapes+=$(printf '\\x%02x' $(($3 >> 8 * i & 255))); done
    # shellcheck disable=SC2059 # the escapes are the format
    printf "$escapes" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# bitmap FILE WIDTH HEIGHT BITS [HEADER [COMPRESSION]]: a valid all-black
# bitmap with an info header of HEADER bytes (40 unless given; 12 is the old
# OS/2 one, with 16-bit sizes and 3-byte colours); up to 8 bits per pixel with
# a full palette; with colour masks (COMPRESSION 3) 5-6-5 or 8-8-8, and an
# alpha mask where the header has room for one
bitmap()
{
    local header=${5:-40} compression=${6:-0} colours=$(($4 <= 8 ? 1 << $4 : 0))
    local colour=$((header == 12 ? 3 : 4)) masks=$((compression == 3 && header < 52 ? 12 : 0))
    local pixels_from=$((14 + header + masks + colour * colours))
    head -c $((pixels_from + ($2 * $4 + 31) / 32 * 4 * ${3#-})) /dev/zero >"$1"
    put "$1" 0 $((0x4d42)) 2
    put "$1" 10 "$pixels_from"
    put "$1" 14 "$header"
    if ((header == 12)); then
        put "$1" 18 "$2" 2
        put "$1" 20 "$3" 2
        put "$1" 22 1 2
        put "$1" 24 "$4" 2
        return
    fi
    put "$1" 18 "$2"
    put "$1" 22 "$3"
    put "$1" 26 1 2
    put "$1" 28 "$4" 2
    put "$1" 30 "$compression"
    ((compression == 3)) || return 0
    if (($4 == 16)); then
        put "$1" 54 $((0xf800)) && put "$1" 58 $((0x07e0)) && put "$1" 62 $((0x001f))
    else
        put "$1" 54 $((0xff0000)) && put "$1" 58 $((0xff00)) && put "$1" 62 $((0xff))
    fi
    ((header < 56)) || put "$1" 66 $((0xff000000))
}

# runs FILE BYTE...: FILE's pixels replaced by the given bytes (runs of a
# compressed bitmap)
runs()
{
    local file=$1
    shift
    truncate -s "$(od -An -tu4 -j10 -N4 "$file")" "$file"
    # shellcheck disable=SC2059 # the escapes are the format
    printf "$(printf '\\x%02x' "$@")" >>"$file"
}

# The damages every data file gets in the damaged-data test that leave a file
# to read: FILE, damaged in place.
emptied() { : >"$1"; }
truncated() { truncate -s $(($(stat -c %s "$1") / 2)) "$1"; }
wrong_magic() { put "$1" 0 $((0x58)) 1; }
random_bytes() # each byte from its offset i: i * 97 ^ 0x5a
{
    local i size escapes=""
    size=$(stat -c %s "$1")
    for ((i = 0; i < size; i++)); do escapes+=$(printf '\\x%02x' $(((i * 97 ^ 0x5a) & 255))); done
    # shellcheck disable=SC2059 # the escapes are the format
    printf "$escapes" >"$1"
}

# seeds_from FILE FOLDER NAME: FOLDER/NAME-KIND for each of those damages
seeds_from()
{
    local damage
    for damage in emptied truncated wrong_magic random_bytes; do
        cp "$1" "$2/$3-$damage"
        "$damage" "$2/$3-$damage"
    done
}

# bitmap_seeds FOLDER: the game's bitmaps (the large background left out: AFL
# works best on small inputs) and the damaged-data test's bitmap kinds, made
# from the smallest sprite
bitmap_seeds()
{
    local seeds=$1 sprite=data/Shoot.bmp bits
    mkdir -p "$seeds"
    find data -name '*.bmp' -size -64k -exec cp {} "$seeds/" \;
    seeds_from "$sprite" "$seeds" bitmap
    damaged() # NAME OFFSET VALUE [BYTES]: the sprite with VALUE put at OFFSET
    {
        cp "$sprite" "$seeds/$1.bmp"
        put "$seeds/$1.bmp" "$2" "$3" "${4:-4}"
    }
    damaged bits4100 28 4100 2
    damaged bits32772 28 32772 2
    damaged bits65535 28 65535 2
    damaged bits0 28 0 2
    damaged height0x80000000 22 $((0x80000000))
    damaged height0 22 0
    damaged width-negative 18 -150
    damaged height-huge 22 $((0x7fffffff))
    damaged offset-past-end 10 $((0x7ffffff0))
    damaged compression 30 1
    damaged runs-height-huge 22 $((0x7fffffff))
    put "$seeds/runs-height-huge.bmp" 28 8 2
    put "$seeds/runs-height-huge.bmp" 30 1
    damaged top-down 22 $((-$(od -An -tu4 -j22 -N4 "$sprite")))
    for bits in 1 4 8 15 16 32; do bitmap "$seeds/bits$bits-33x7.bmp" 33 7 "$bits"; done
    bitmap "$seeds/pixels-one-byte-short.bmp" 33 7 24
    truncate -s -1 "$seeds/pixels-one-byte-short.bmp"
    # The other headers a painting program may write, and their colour masks
    bitmap "$seeds/os2-header-8bits.bmp" 9 3 8 12
    bitmap "$seeds/os2-header-24bits.bmp" 9 3 24 12
    bitmap "$seeds/os2-v2-header.bmp" 9 3 8 64
    bitmap "$seeds/masks-16bits.bmp" 9 3 16 40 3
    bitmap "$seeds/masks-32bits.bmp" 9 3 32 40 3
    bitmap "$seeds/v2-header-masks.bmp" 9 3 16 52 3
    bitmap "$seeds/v3-header-masks.bmp" 9 3 32 56 3
    bitmap "$seeds/v4-header.bmp" 9 3 24 108
    bitmap "$seeds/v5-header-masks.bmp" 9 -3 32 124 3
    bitmap "$seeds/top-down-4bits.bmp" 9 -3 4
    bitmap "$seeds/alpha-32bits.bmp" 2 2 32
    put "$seeds/alpha-32bits.bmp" 54 $((0x80ffffff))
    # Palettes shorter and longer than the depth's, and a pixel past the end
    bitmap "$seeds/colours-2.bmp" 9 3 8
    put "$seeds/colours-2.bmp" 46 2
    bitmap "$seeds/colours-300.bmp" 9 3 8
    put "$seeds/colours-300.bmp" 46 300
    cp "$seeds/colours-2.bmp" "$seeds/colour-past-palette.bmp"
    put "$seeds/colour-past-palette.bmp" 1078 5 1
    # Runs of each kind: a run, odd and even stretches of plain pixels, the
    # end of a row, a jump, the end of the picture
    bitmap "$seeds/runs-8bits.bmp" 8 4 8 40 1
    runs "$seeds/runs-8bits.bmp" 3 1 0 3 1 2 3 0 0 0 0 0 2 1 1 0 4 1 2 3 4 0 0 0 1
    bitmap "$seeds/runs-4bits.bmp" 8 4 4 40 2
    runs "$seeds/runs-4bits.bmp" 3 18 0 3 18 48 0 0 0 5 18 52 80 0 0 2 1 1 0 0 0 1
}

# font_seeds FOLDER: the game's font cut down to the letters of its texts
# (AFL works best on small inputs; the whole font is 740 KiB), and the
# damaged-data test's font kinds, made from it
font_seeds()
{
    local seeds=$1
    mkdir -p "$seeds"
    /usr/bin/python3 -m fontTools.subset data/RZ4417.ttf --text="Zerstoere innerhalb der Zeit 30 Gegner Gewonnen Verloren Passwort:mkr0123456789-" \
        --output-file="$seeds/RZ4417-texts.ttf"
    seeds_from "$seeds/RZ4417-texts.ttf" "$seeds" font
}
