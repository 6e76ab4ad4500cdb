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

# Sets private_apt to apt-get's options for a sources list and package lists
# of our own under APT, with the archive the system's packages come from, or
# that archive's RELEASE (e.g. trixie) when given, and updates those lists:
# the system's stay untouched. TYPES: deb or deb-src. The system's list comes
# in either style: Debian 12 and 13 installs have debian.sources, a root made
# by mmdebstrap a one-line sources.list.
private_apt() {
    local apt=$1 types=$2 release=${3:-} system_release
    system_release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    rm -rf "$apt/parts" && mkdir -p "$apt/lists/partial" "$apt/parts"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -e "s/^Types: deb\$/Types: $types/" -e "/^Suites:/s/$system_release/${release:-$system_release}/g" \
            /etc/apt/sources.list.d/debian.sources >"$apt/parts/debian.sources"
    else
        sed -n -e "/^deb /!d" -e "s/^deb /$types /" -e "s/ $system_release/ ${release:-$system_release}/g" -e p \
            /etc/apt/sources.list >"$apt/parts/debian.list"
    fi
    private_apt=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt/parts"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::State::status=/dev/null" -o "Dir::Cache=$apt/cache")
    apt-get "${private_apt[@]}" update -q
}

# Unpacks the Debian source package NAME (Debian's patches applied; the given
# VERSION, else the newest) into DEST, through private_apt APT deb-src RELEASE.
fetch_debian_source() {
    local name=$1 dest=$2 apt=$3 version=${4:-} release=${5:-}
    private_apt "$apt" deb-src "$release"
    rm -rf "$apt/get-source" && mkdir -p "$apt/get-source"
    (cd "$apt/get-source" && apt-get "${private_apt[@]}" source -q "$name${version:+=$version}")
    rm -rf "$dest" && mkdir -p "$(dirname "$dest")"
    mv "$apt"/get-source/"$name"-*/ "$dest"
}

# Unpacks the newest Debian binary packages named after DEST, APT and RELEASE
# into the root DEST, through private_apt APT deb RELEASE; nothing installed.
fetch_debian_packages() {
    local dest=$1 apt=$2 release=$3 deb
    shift 3
    private_apt "$apt" deb "$release"
    rm -rf "$apt/debs" && mkdir -p "$apt/debs"
    (cd "$apt/debs" && apt-get "${private_apt[@]}" download -q "$@")
    for deb in "$apt"/debs/*.deb; do dpkg-deb -x "$deb" "$dest"; done
}
