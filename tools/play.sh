#!/usr/bin/env bash
# Installs what the game needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages "${game_packages[@]}"
cmake -S . -B build/game -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/game --target heli -j"$(nproc)" >/dev/null
# The game reads its pictures and font from data/ beside where it runs.
exec build/game/heli "$@"
