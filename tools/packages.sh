# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by play.sh and test.sh; quick when everything is already there.
install_missing_packages() {
    local missing=()
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
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q "${missing[@]}"
}

# Runs a command as root, through sudo for anyone else.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

game_packages=(g++ cmake make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev)
test_packages=(googletest libgtest-dev xvfb xauth xdotool imagemagick
    # the end-to-end test reads the pointer's image through XFixes
    python3-xlib
    # the installation checks: the Debian package build and its validators
    debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream man-db fonts-dejavu-core
    # the bench's desktop screen has a window manager
    openbox)
# Wayland reaches the game only through sdl12-compat, the SDL 1.2 of Debian 13
wayland_test_packages=(weston xwayland)
