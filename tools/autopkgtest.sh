#!/usr/bin/env bash
# Runs the package's own tests (debian/tests) with Debian's autopkgtest, as
# Debian tests an installed package: the given .deb is installed into a fresh
# root of this machine's release and the tests run there from SOURCE_DIR.
# Usage: bash tools/autopkgtest.sh DEB SOURCE_DIR [OUTPUT_DIR]   (as root)
# The root comes from build/autopkgtest/RELEASE-DATE.tar, made by mmdebstrap
# with the tests' own dependencies once a day; each run unpacks it anew, so
# the package's dependencies still come from Debian's archive every time.
set -euo pipefail
[[ $# -ge 2 && $# -le 3 ]] || { echo "usage: $0 DEB SOURCE_DIR [OUTPUT_DIR]" >&2; exit 2; }
deb=$(realpath "$1") source_dir=$(realpath "$2")
cd "$(dirname "$0")/.."
output=$(realpath -m "${3:-build/autopkgtest/output}")
source tools/packages.sh
install_missing_packages autopkgtest mmdebstrap
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
cache=$PWD/build/autopkgtest
tarball=$cache/$release-$(date -u +%Y%m%d).tar
mirror=http://deb.debian.org/debian

# The tests' dependencies but the package itself, comma-separated.
test_dependencies()
{
    sed -n 's/^Depends: //p' "$source_dir/debian/tests/control" | tr -d ' ' | tr , '\n' | grep -vx heli | paste -sd,
}

make_tarball()
{
    [[ -f $tarball ]] && return 0
    mkdir -p "$cache"
    rm -f "$cache/$release"-*.tar
    echo "== $release: a root with $(test_dependencies) into $tarball"
    # apt-utils: autopkgtest offers the package to apt through apt-ftparchive.
    mmdebstrap --quiet --variant=apt --include="apt-utils,$(test_dependencies)" "$release" "$cache/partial.tar" "$mirror"
    mv "$cache/partial.tar" "$tarball"
}

make_tarball
work=$(mktemp -d "$cache/run.XXXXXX")
trap 'rm -rf --one-file-system "$work"' EXIT
root=$work/root tree=$work/tree
mkdir "$root" "$tree"
tar -C "$root" -xf "$tarball"
# autopkgtest copies the whole tree into the root: not the builds, this cache among them.
tar -C "$source_dir" --exclude=./build --exclude='./build-*' --exclude=./.git -cf - . | tar -C "$tree" -xf -
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -rf "$output"
echo "== $release: autopkgtest $(basename "$deb") in a fresh root ($SECONDS s in)"
# Private mounts, gone with the process however it ends.
unshare --mount --propagation private --fork bash -c '
    set -e
    mount -t proc proc "$1/proc"
    mount -t sysfs sysfs "$1/sys"
    mount --rbind /dev "$1/dev"
    exec autopkgtest --apt-upgrade --output-dir "$2" "$3" "$4" -- chroot "$1"' \
    autopkgtest-root "$root" "$output" "$deb" "$tree" </dev/null
