#!/usr/bin/env bash
# The game as a web page: installs what it needs from Debian, builds SDL 1.2
# and FreeType from Debian's sources once (cached outside the checkout, by
# their versions and the way they are built), and the game into build/web/, a
# folder of static files any web server can serve (and the screenshot tool
# for the browser into build/web-frames/, for the tests).
# Usage: bash tools/web.sh          builds build/web/
#        bash tools/web.sh serve    builds it, then serves it at http://localhost:8000
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages --no-install-recommends "${web_packages[@]}"
# This machine's node may not be Debian's: emcc needs Debian's acorn, and
# emscripten 3.1.6's code breaks on node's own fetch.
export NODE_PATH=/usr/share/nodejs NODE_OPTIONS=--no-experimental-fetch

key=$( (dpkg-query -W -f='${source:Package} ${source:Version}\n' libsdl1.2debian libfreetype6 emscripten
    cat tools/web/libraries.sh tools/web/SDL_config.h tools/web/ftmodule.h) | sha256sum | cut -c1-16)
libraries=${XDG_CACHE_HOME:-$HOME/.cache}/heli-web/$key
if [ ! -f "$libraries/built" ]; then
    echo "== SDL 1.2 and FreeType for the web into $libraries"
    rm -rf "$libraries"
    bash tools/web/libraries.sh "$libraries"
    touch "$libraries/built"
fi

echo "== the game for the web"
mkdir -p build
emcmake cmake -S . -B build/web-build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DHELI_WEB_LIBRARIES="$libraries" >build/web-configure.log 2>&1 || { tail -20 build/web-configure.log; exit 1; }
nice -n 10 cmake --build build/web-build -j2
rm -rf build/web && mkdir -p build/web
cp build/web-build/web/{index.html,heli.js,heli.wasm,heli.data} build/web/
# The README's pictures taken in a browser, for the page test; not part of the page.
rm -rf build/web-frames && mkdir -p build/web-frames
cp build/web-build/web/frames.{html,js,wasm,data} build/web-frames/
echo "build/web: $(du -sh build/web | cut -f1), $(cat build/web/* | gzip -9 | wc -c) bytes with gzip"

if [ "${1:-}" = serve ]; then
    echo "Serving the game at http://localhost:8000 (Ctrl+C ends it)"
    exec python3 -m http.server 8000 --bind localhost --directory build/web
fi
