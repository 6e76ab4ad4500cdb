#!/usr/bin/env bash
# Installs what the game and its tests need, builds everything and runs every
# test: the unit and scenario tests under AddressSanitizer and
# UndefinedBehaviorSanitizer first, then all tests, end-to-end ones included,
# on the optimised build.
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
cd build/release
ctest --output-on-failure
