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
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

game_packages=(g++ cmake make pkg-config libsdl1.2-dev libsdl-ttf2.0-dev)
test_packages=(googletest libgtest-dev xvfb xauth xdotool imagemagick
    # the installation checks: the Debian package build and its validators
    debhelper dpkg-dev fakeroot lintian desktop-file-utils appstream man-db fonts-dejavu-core)
