# shellcheck shell=bash
# The fuzz targets' sources and seeds; sourced by fuzz_sprites.sh and
# fuzz_coverage.sh from the project's root.

# fuzz_target_sources TARGET: the target's sources and the libraries beyond SDL
fuzz_target_sources()
{
    local game=(src/framework/{bitmap_header,data_file,display,fatal,sprites}.cpp)
    case $1 in
    bitmap) echo tools/fuzz_sprites.cpp "${game[@]}" ;;
    font) echo tools/fuzz_font.cpp "${game[@]}" src/framework/{text,font_sdl_ttf}.cpp -lSDL_ttf ;;
    esac
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

# bitmap FILE WIDTH HEIGHT BITS: a valid all-black bitmap; up to 8 bits per
# pixel with a full palette
bitmap()
{
    local colours=$(($4 <= 8 ? 1 << $4 : 0))
    head -c $((54 + 4 * colours + ($2 * $4 + 31) / 32 * 4 * ${3#-})) /dev/zero >"$1"
    put "$1" 0 $((0x4d42)) 2
    put "$1" 10 $((54 + 4 * colours))
    put "$1" 14 40
    put "$1" 18 "$2"
    put "$1" 22 "$3"
    put "$1" 26 1 2
    put "$1" 28 "$4" 2
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
    for bits in 1 4 8 16 32; do bitmap "$seeds/bits$bits-33x7.bmp" 33 7 "$bits"; done
    bitmap "$seeds/pixels-one-byte-short.bmp" 33 7 24
    truncate -s -1 "$seeds/pixels-one-byte-short.bmp"
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
