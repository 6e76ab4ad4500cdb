#!/usr/bin/env bash
# Installs what the game and its tests need, builds everything and runs every
# test: the unit and scenario tests under AddressSanitizer and
# UndefinedBehaviorSanitizer first, then all tests, end-to-end ones included,
# on the optimised build. Where the system's SDL 1.2 is the classic library
# (Debian 12), all tests run once more on an optimised build against
# sdl12-compat, the SDL 1.2 of Debian 13, unpacked into build/compat; where it
# is sdl12-compat already (Debian 13), the first two stages test that. Last, on
# Debian 12, the web build (tools/web.sh) in headless Chromium against the
# optimised build's game: the tests labelled web.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages "${game_packages[@]}" "${test_packages[@]}"
jobs=$(nproc)

system_sdl=$(dpkg-query -W -f='${source:Package} ${Version}' libsdl1.2debian)
echo "== SDL 1.2 of the system: $system_sdl"
[[ $system_sdl != sdl12-compat* ]] || install_missing_packages "${wayland_test_packages[@]}"

echo "== sanitizer stage ($SECONDS s in)"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DHELI_SANITIZE=ON | grep "SDL 1.2"
cmake --build build/sanitize -j"$jobs"
(cd build/sanitize &&
    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -LE e2e -j"$jobs")

echo "== release stage ($SECONDS s in)"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo | grep "SDL 1.2"
cmake --build build/release -j"$jobs"
(cd build/release && ctest --output-on-failure -j"$jobs" -LE web)

[[ $system_sdl != sdl12-compat* ]] || exit 0
echo "== sdl12-compat stage ($SECONDS s in)"
# The configure step names the SDL.h and the library file it found.
compat=$(bash tools/sdl12_compat.sh build/compat)
cmake -S . -B build/compat -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHELI_SDL_ROOT="$compat" |
    grep "SDL 1.2"
cmake --build build/compat -j"$jobs"
# The package test builds its own package against the system's SDL, which the
# release stage has already done and handed to autopkgtest.
(cd build/compat && LD_LIBRARY_PATH=$compat/lib/$(gcc -print-multiarch)${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
    ctest --output-on-failure -j"$jobs" -E '^(debian_package|autopkgtest)$' -LE web)

echo "== web stage ($SECONDS s in)"
install_missing_packages --no-install-recommends "${web_test_packages[@]}"
bash tools/web.sh
(cd build/release && ctest --output-on-failure -L web)
