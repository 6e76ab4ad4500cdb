#!/usr/bin/env bash
# Usage: page_test.sh HELI_BINARY SCREENSHOTS_BINARY SOURCE_DIR WEB_FOLDER WEB_FRAMES ARTIFACT_DIR.
# The native game on a private depth-24 Xvfb gives the reference pictures: its menu, and its
# shoot-down mission's first second; the native screenshot tool its arranged frames.
# page_test.py plays the web page in headless Chromium against them.
heli_binary=$1 screenshots_binary=$2 source_dir=$3 web=$4 web_frames=$5 artifacts=$6
# shellcheck source=tests/e2e/xsession.sh
source "$(dirname "$0")/../e2e/xsession.sh"
mkdir -p "$artifacts/native-frames"
(cd "$source_dir" && "$screenshots_binary" "$artifacts/native-frames") >/dev/null || exit 1
start_server native 1024x768x24
export DISPLAY=$started_display
colour_fuzz=3% # 255 shows as 248
start_game
wait_for "native menu" 15 menu_shown
sleep 0.5
take_screenshot
cp "$shot" "$artifacts/native-menu.png"
open_shoot_down
cp "$shot" "$artifacts/native-mission.png"
kill -KILL "$game_pid"
game_pid=
/usr/bin/python3 "$source_dir/tests/web/page_test.py" "$web" "$artifacts" \
    "$artifacts/native-menu.png" "$artifacts/native-mission.png" "$web_frames" "$artifacts/native-frames"
