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

# complain NAME COMMAND...: fails on a non-zero status or on any output.
complain()
{
    local name=$1 out status=0
    shift
    out=$("$@" 2>&1) || status=$?
    echo "$name: status $status${out:+, said:}" >&2
    [[ -z $out ]] || echo "$out" >&2
    if ((status != 0)) || [[ -n $out ]]; then fail "$name complained"; fi
}
# appstream_issues ROOT: the issues appstreamcli finds in the tree, one "tag"
# or "tag hint" a line, from its machine-readable report.
appstream_issues()
{
    local report status=0
    report=$(appstreamcli validate-tree --no-net --pedantic --format yaml "$1") || status=$?
    awk 'function issue() { if (tag) print tag (hint ? " " hint : "") }
         /^- tag:/ { issue(); tag = $3; hint = "" } /^  hint:/ { hint = $2 } END { issue() }' <<<"$report"
    # It fails on any warning; failing with no issue named, it did not run.
    ((status == 0)) || grep -q '^- tag:' <<<"$report" || fail "appstreamcli validate-tree failed ($status)"
}
man_warnings() { man --warnings -l "$1" >/dev/null; }
complain desktop-file-validate desktop-file-validate "$root/usr/share/applications/heli.desktop"
# Known and accepted, nothing else: Heli has no homepage, so its metadata names
# none (appstreamcli from 1.0 warns); appstreamcli before 1.0 does not know the
# developer element that later ones ask for.
issues=$(appstream_issues "$root")
unexpected=$(grep -vxF -e url-homepage-missing -e 'unknown-tag developer' <<<"$issues" || true)
echo "appstreamcli validate-tree: ${issues:-no issues}" >&2
[[ -z $unexpected ]] || fail "appstreamcli complained"
complain man man_warnings "$root/usr/share/man/man6/heli.6.gz"
# lintian's appstream check (from Debian 13 on) is the validate-tree run above
# without --pedantic, folded into one tag: that run judges it.
folded=appstream-metadata-validation-failed
lintian-explain-tags --list-tags | grep -x "$folded" >/dev/null || folded=
complain lintian lintian --allow-root --info --pedantic --fail-on error,warning,info,pedantic \
    ${folded:+--suppress-tags "$folded"} "$pkg"/heli_*.changes

version=$(dpkg-deb -f "$deb" Version)
grep -q "release version=\"$version\"" "$root"/usr/share/metainfo/*.xml || fail "metainfo lacks version $version"
[[ $(dpkg-deb -f "$deb" Depends) == *fonts-dejavu-core*libsdl1.2debian* ]] || fail "dependencies: $(dpkg-deb -f "$deb" Depends)"
# The package links to Debian's font in place of the copy; a unit test checks
# that it draws the game's texts the same.
font=/$(awk '$2 == "usr/share/games/heli/data/RZ4417.ttf" { print $1 }' "$src/debian/heli.links")
[[ $(readlink -m "$root/usr/share/games/heli/data/RZ4417.ttf") == "$root$font" ]] || fail "no link to $font"
mkdir -p "$root${font%/*}"
ln -s "$font" "$root$font"

play_installed "$root/usr/games/$(sed -n 's/^Exec=//p' "$root/usr/share/applications/heli.desktop")"
