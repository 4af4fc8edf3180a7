#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian machine, as root.
# Safe to run again: every step checks before it changes anything.
set -euo pipefail

if [ "$(id -u)" != 0 ]; then
    echo "setup.sh: run as root" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive

# Wine's 32-bit half comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
fi

# The dependency script builds third-party libraries from Debian's source packages.
enable_deb_src() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        if grep -q '^Types: deb$' "$f"; then
            sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
            need_update=1
        fi
    done
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list \
        && ! grep -q '^deb-src ' /etc/apt/sources.list; then
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >>/etc/apt/sources.list
        need_update=1
    fi
}
need_update=${need_update:-0}
enable_deb_src

stamp=/var/lib/apt/tarnwell-updated
if [ "$need_update" = 1 ] || [ ! -f "$stamp" ] || [ -n "$(find "$stamp" -mmin +720 2>/dev/null)" ]; then
    apt-get update -q
    touch "$stamp"
fi

packages=(
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev
    wine wine32 wine64 xvfb xauth
    # DejaVu stands in for the skins' Western font; WenQuanYi draws the texts
    # written in Chinese characters (scripts/wine-env.sh links it to DejaVu).
    fonts-dejavu-core fonts-wqy-microhei
    cmake ninja-build make tcl dpkg-dev
    python3
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
