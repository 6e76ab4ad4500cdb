#!/usr/bin/env bash
# Runs the test command as a new contributor would: in a fresh Debian root
# made by mmdebstrap from Debian's archive, on a clone of this checkout's
# committed tree, as root, with an empty environment (the POSIX locale) and
# no standard input. Nothing of this machine's packages or locale reaches it.
# Usage: bash tools/fresh_root.sh RELEASE [ROOT]   (RELEASE: bookworm, trixie)
# ROOT defaults to build/roots/RELEASE and is made anew on every run.
set -euo pipefail
[[ $# -ge 1 && $# -le 2 ]] || { echo "usage: $0 RELEASE [ROOT]" >&2; exit 2; }
release=$1
cd "$(dirname "$0")/.."
source tools/packages.sh
install_missing_packages mmdebstrap git
root=$(realpath -m "${2:-build/roots/$release}")
mirror=http://deb.debian.org/debian

rm -rf "$root"
mkdir -p "$(dirname "$root")"
echo "== $release: a fresh root in $root"
mmdebstrap --quiet --variant=apt "$release" "$root" "$mirror"
# apt inside the root needs a resolver; mmdebstrap leaves an empty file.
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet --no-hardlinks "$PWD" "$root/root/heli"

# Private mounts, gone with the process however it ends. The root is a mount
# point of its own, as on a real system: mount namespaces made inside need it.
echo "== $release: CI=true bash tools/test.sh in the root, env -i, no stdin ($SECONDS s in)"
exec unshare --mount --propagation private --fork bash -c '
    set -e
    mount --bind "$1" "$1"
    mount -t proc proc "$1/proc"
    mount -t sysfs sysfs "$1/sys"
    mount --rbind /dev "$1/dev"
    exec chroot "$1" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root CI=true /bin/bash -c "cd /root/heli && exec bash tools/test.sh"' \
    fresh-root "$root" </dev/null
