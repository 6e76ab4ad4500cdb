#!/usr/bin/env bash
# Takes the README's pictures from the real game (tools/screenshots.cpp) and
# writes them to docs/ as PNG. Rerun it after a change to the game's looks.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages "${game_packages[@]}" imagemagick
cmake -S . -B build/screenshots -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/screenshots --target screenshots -j"$(nproc)" >/dev/null
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
build/screenshots/tools/screenshots "$shots" >/dev/null
mkdir -p docs
for picture in menu shoot-down shoot-down-won rescue; do
    convert "$shots/$picture.bmp" -strip "docs/$picture.png"
    echo "docs/$picture.png"
done
