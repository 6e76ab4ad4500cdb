#!/usr/bin/env bash
# Installs what the game and its tests need, builds everything and runs every
# test: the unit and scenario tests under AddressSanitizer and
# UndefinedBehaviorSanitizer first, then all tests, end-to-end ones included,
# on the optimised build, then all tests again on an optimised build against
# sdl12-compat, the SDL 1.2 of current Debian, unpacked into build/compat.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages "${game_packages[@]}" "${test_packages[@]}"
jobs=$(nproc)

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DHELI_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
(cd build/sanitize &&
    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -LE e2e -j"$jobs")

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$jobs"
(cd build/release && ctest --output-on-failure -j"$jobs")

# The configure step names the SDL.h and the library file it found.
compat=$(bash tools/sdl12_compat.sh build/compat)
cmake -S . -B build/compat -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHELI_SDL_ROOT="$compat" |
    grep "SDL 1.2"
cmake --build build/compat -j"$jobs"
cd build/compat
# The package test builds its own package against the system's SDL, which the
# release stage has already done.
LD_LIBRARY_PATH=$compat/lib/$(gcc -print-multiarch)${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
    ctest --output-on-failure -j"$jobs" -E '^debian_package$'
