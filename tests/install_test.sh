#!/usr/bin/env bash
# `install_test.sh BUILD_DIR ARTIFACT_DIR`: cmake --install into a staging
# folder must give exactly the files below, and the staged launcher must start
# the game from an unrelated folder, under a private X server.
artifacts=$2
# shellcheck source=tests/installed.sh
source "$(dirname "$0")/installed.sh"
stage=$artifacts/stage
rm -rf "$stage"
DESTDIR=$stage cmake --install "$1" --prefix /usr >/dev/null || fail "cmake --install failed"

expected=(games/heli libexec/heli/heli share/applications/heli.desktop
    share/doc/heli/{LICENSE,README.md} share/man/man6/heli.6 share/metainfo/org.example.heli.metainfo.xml
    share/games/heli/data/{"B-1 EggFall",Background,Egg,Explosion,"F-1 Rex",Fallschirm,Fallschirmoffen}.bmp
    share/games/heli/data/{Heli,Shoot,Stegosaurus}.bmp share/games/heli/data/RZ4417.{LICENSE.txt,ttf}
    share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/heli.png)
diff <(cd "$stage/usr" && find . ! -type d | cut -c3- | LC_ALL=C sort) \
    <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) || fail "installed files differ (<) from the expected (>)"

play_installed "$stage/usr/games/heli"
