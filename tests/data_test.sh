#!/bin/sh
# Usage: data_test.sh MAKE_ART OUTDIR DATADIR. The committed bitmaps (or icons) must
# be exactly what the generator draws now, none missing on either side.
rm -rf "$2" && mkdir -p "$2" && "$1" "$2" || { echo "$1 failed" >&2; exit 1; }
diff -r "$2" "$3" -x '*.ttf' -x '*.txt' -x '*.md' -x icons >&2
