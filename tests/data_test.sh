#!/bin/sh
# Usage: data_test.sh MAKE_SPRITES OUTDIR DATADIR
# Regenerates the bitmaps into OUTDIR and fails unless they match the
# committed ones in DATADIR byte for byte, with none missing on either side.
set -u

tool=$1
out=$2
data=$3

rm -rf "$out"
mkdir -p "$out" || exit 1
"$tool" "$out" || { echo "make_sprites failed" >&2; exit 1; }

status=0
generated=0
for file in "$out"/*; do
    [ -e "$file" ] || continue
    generated=$((generated + 1))
    name=$(basename "$file")
    if [ ! -f "$data/$name" ]; then
        echo "missing in $data: $name" >&2
        status=1
    elif ! cmp -s "$file" "$data/$name"; then
        echo "differs: $name" >&2
        status=1
    fi
done
for file in "$data"/*.bmp; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    if [ ! -f "$out/$name" ]; then
        echo "no longer generated: $name" >&2
        status=1
    fi
done
if [ "$generated" -eq 0 ]; then
    echo "make_sprites wrote nothing" >&2
    status=1
fi
exit $status
