#!/usr/bin/env bash
# The menu is pure yellow with the two blue lines, one under the other, at
# (400,300) and (400,350).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# bounding_box COLOUR [X Y WIDTH HEIGHT]: "WxH+X+Y" around every pixel of that
# colour in the rectangle (the whole screen by default), relative to it.
bounding_box()
{
    convert "$shot" -crop "${4:-1024}x${5:-768}+${2:-0}+${3:-0}" +repage -fill white +opaque "$1" \
        -format '%@' info:
}

# blue_width Y HEIGHT: the width of the blue in that band of rows, 0 for none.
blue_width()
{
    local box
    box=$(bounding_box "$blue" 0 "$1" 1024 "$2")
    [[ $(count "$blue" 0 "$1" 1024 "$2") -gt 0 ]] && echo "${box%%x*}" || echo 0
}

start_at_menu
keep_screenshot menu

colours=$(convert "$shot" -format '%k' info:)
((colours == 2)) || fail "the menu has $colours colours, expected yellow and blue only"
((($(count "$yellow" 0 0 1024 768) + $(count "$blue" 0 0 1024 768)) == 1024 * 768)) ||
    fail "the menu's two colours are not yellow and blue"

# Solid text leaves the blue inside the lines' area, starting at their corner.
box=$(bounding_box "$blue")
[[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no blue on the menu ($box)"
read -r width height left top <<<"${BASH_REMATCH[@]:1}"
((left >= 400 && left < 410 && top >= 300 && top < 310 && left + width <= 700 && top + height <= 390)) ||
    fail "blue text at ${width}x${height}+${left}+${top}, outside the lines' area"

first=$(blue_width 300 35)
second=$(blue_width 350 35)
((first > 0 && second > 0)) || fail "a menu line is missing (widths $first and $second)"
[[ $(count "$blue" 0 335 1024 15) -eq 0 ]] || fail "the two menu lines run into each other"
((first > second)) || fail "\"1-Neues Spiel\" should be the upper, longer line ($first <= $second)"

quit_from_menu
