#!/bin/sh
# Usage: data_test.sh MAKE_SPRITES OUTDIR DATADIR. The committed bitmaps must
# be exactly what the generator draws now, none missing on either side.
rm -rf "$2" && mkdir -p "$2" && "$1" "$2" || { echo "make_sprites failed" >&2; exit 1; }
diff -r "$2" "$3" -x '*.ttf' -x '*.txt' -x '*.md' >&2
