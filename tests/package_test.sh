#!/usr/bin/env bash
# `package_test.sh SOURCE_DIR ARTIFACT_DIR`: builds the Debian package from a
# copy of the source tree; desktop-file-validate, appstreamcli, man and lintian
# judge what it installs, and any complaint fails. Then the game starts from
# the package's files as its desktop entry starts it.
artifacts=$2
# shellcheck source=tests/installed.sh
source "$(dirname "$0")/installed.sh"
src=$1 pkg=$artifacts/pkg root=$artifacts/root
rm -rf "$pkg" "$root"
mkdir -p "$pkg/heli"
tar -C "$src" --exclude=./build --exclude='./build-*' --exclude=./.git -cf - . | tar -C "$pkg/heli" -xf -
(cd "$pkg/heli" && dpkg-buildpackage -us -uc -b -j2 >"$pkg/build.log" 2>&1) ||
    fail "dpkg-buildpackage failed: see $pkg/build.log"
deb=$(echo "$pkg"/heli_*.deb)
dpkg-deb -x "$deb" "$root"

# complain NAME COMMAND...: fails on a non-zero status, or on any output but
# the success line that appstreamcli prints.
complain()
{
    local name=$1 out status=0
    shift
    out=$("$@" 2>&1) || status=$?
    out=$(grep -v -e '^✔ Validation was successful.$' -e 'running with root privileges' <<<"$out" || true)
    echo "$name: status $status${out:+, said:}" >&2
    [[ -z $out ]] || echo "$out" >&2
    if ((status != 0)) || [[ -n $out ]]; then fail "$name complained"; fi
}
man_warnings() { man --warnings -l "$1" >/dev/null; }
complain desktop-file-validate desktop-file-validate "$root/usr/share/applications/heli.desktop"
complain appstreamcli appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.xml
complain man man_warnings "$root/usr/share/man/man6/heli.6.gz"
complain lintian lintian --info --pedantic --fail-on error,warning,info,pedantic "$pkg"/heli_*.changes

version=$(dpkg-deb -f "$deb" Version)
grep -q "release version=\"$version\"" "$root"/usr/share/metainfo/*.xml || fail "metainfo lacks version $version"
[[ $(dpkg-deb -f "$deb" Depends) == *fonts-dejavu-core*libsdl1.2debian* ]] || fail "dependencies: $(dpkg-deb -f "$deb" Depends)"
# The package links to Debian's font in place of the copy, which must be the same.
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[[ $(readlink -m "$root/usr/share/games/heli/data/RZ4417.ttf") == "$root$font" ]] || fail "no link to $font"
cmp "$src/data/RZ4417.ttf" "$font" || fail "data/RZ4417.ttf is not Debian's DejaVu Sans"
mkdir -p "$root${font%/*}"
ln -s "$font" "$root$font"

play_installed "$root/usr/games/$(sed -n 's/^Exec=//p' "$root/usr/share/applications/heli.desktop")"
