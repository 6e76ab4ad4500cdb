# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by play.sh, test.sh and web.sh; quick when everything is already
# there. A first argument --no-install-recommends is handed on to apt-get.
install_missing_packages() {
    local options=() missing=()
    if [ "${1:-}" = --no-install-recommends ]; then
        options=("$1")
        shift
    fi
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    # A fresh machine may still be running its own apt (unattended upgrades):
    # wait for it rather than fail.
    as_root apt-get -o DPkg::Lock::Timeout=600 update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q "${options[@]}" "${missing[@]}"
}

# Runs a command as root, through sudo for anyone else.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

game_packages=(g++ cmake make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev)
test_packages=(googletest libgtest-dev libfreetype-dev xvfb xauth xdotool imagemagick
    # the end-to-end test reads the pointer's image through XFixes
    python3-xlib
    # the installation checks: the Debian package build and its validators
    debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream man-db fonts-dejavu-core
    # the bench's desktop screen has a window manager
    openbox)
# Wayland reaches the game only through sdl12-compat, the SDL 1.2 of Debian 13
wayland_test_packages=(weston xwayland)
# The web build: the compiler, the tools that unpack Debian's sources of SDL
# 1.2 and FreeType (the versions of the system's own libraries), and for its
# tests a headless browser driven through its DevTools protocol.
web_packages=(emscripten dpkg-dev cmake make python3 libsdl1.2debian libfreetype6)
web_test_packages=(chromium-headless-shell python3-websocket)

# Writes the archive the system's packages come from into the folder PARTS as
# a sources list of TYPES (deb or deb-src), in the system's own style: Debian
# 12 and 13 installs have debian.sources, a root made by mmdebstrap has a
# one-line sources.list.
system_sources() {
    local types=$1 parts=$2
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed "s/^Types: deb\$/Types: $types/" /etc/apt/sources.list.d/debian.sources >"$parts/debian.sources"
    else
        sed -n "s/^deb /$types /p" /etc/apt/sources.list >"$parts/debian.list"
    fi
}

# Unpacks the Debian source package NAME (Debian's patches applied; the given
# VERSION, else the newest) into DEST, from the archive the system's packages
# come from, through a sources list and package lists of our own under APT:
# the system's stay untouched.
fetch_debian_source() {
    local name=$1 dest=$2 apt=$3 version=${4:-}
    rm -rf "$apt/parts" && mkdir -p "$apt/lists/partial" "$apt/parts"
    system_sources deb-src "$apt/parts"
    local options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt/parts"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    apt-get "${options[@]}" update -q
    rm -rf "$apt/get-source" && mkdir -p "$apt/get-source"
    (cd "$apt/get-source" && apt-get "${options[@]}" source -q "$name${version:+=$version}")
    rm -rf "$dest" && mkdir -p "$(dirname "$dest")"
    mv "$apt"/get-source/"$name"-*/ "$dest"
}
