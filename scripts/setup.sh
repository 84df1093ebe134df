#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine: the
# MinGW-w64 cross compilers, 32-bit Wine, Xvfb, CMake and GoogleTest.
# Quick when everything is already there.
#
# Where the kernel runs no 32-bit Linux programs (32-bit Wine needs them),
# it registers Debian's user-mode emulator for i386 programs. The emulator
# comes from Debian's next release: the one of this release ignores the
# placement hints that Wine gives when it reserves memory, which makes
# every Wine process spend a minute probing its address space.
set -euo pipefail

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 wine64
          xvfb xauth cmake ninja-build googletest imagemagick fonts-wine nsis)

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    # An i386 index of one mirror may fail; the rest is still usable.
    $SUDO apt-get update || true
    $SUDO apt-get install -y --no-install-recommends -t bookworm "${missing[@]}"
}

runs_32bit() {
    /lib/i386-linux-gnu/ld-linux.so.2 --help >/dev/null 2>&1
}

emulator=/usr/local/lib/qel/qemu-i386

# The address of the Debian archive this machine already installs from: the
# source of its own release's main component, as apt itself resolves it.
archive_uri() {
    local release
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
        | awk -v r="$release" '$2 == r && $3 == "main" { print $1; exit }'
}

fetch_emulator() {
    [ -x "$emulator" ] && return
    local work
    work=$(mktemp -d)
    chmod 755 "$work"
    mkdir -p "$work/lists/partial"
    local uri
    uri=$(archive_uri)
    [ -n "$uri" ] || { echo "setup: no Debian archive in this machine's apt sources" >&2; exit 1; }
    echo "deb $uri trixie main" > "$work/sources.list"
    local opts=(-o Dir::Etc::sourcelist="$work/sources.list" -o Dir::Etc::sourceparts=-
                -o Dir::State::Lists="$work/lists" -o APT::Get::List-Cleanup=0)
    $SUDO apt-get "${opts[@]}" update
    (cd "$work" && $SUDO apt-get "${opts[@]}" download qemu-user/trixie)
    dpkg -x "$work"/qemu-user_*.deb "$work/x"
    $SUDO install -D -m 755 "$work/x/usr/bin/qemu-i386" "$emulator"
    $SUDO rm -rf "$work"
}

register_emulator() {
    local misc=/proc/sys/fs/binfmt_misc
    [ -e "$misc/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$misc"
    [ -e "$misc/qel-i386" ] && return
    # 32-bit little-endian ELF programs and shared objects for the 80386.
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qel-i386:M::$magic:$mask:$emulator:F" | $SUDO tee "$misc/register" >/dev/null
}

install_packages
if ! runs_32bit; then
    fetch_emulator
    register_emulator
    runs_32bit || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
    echo "setup: 32-bit programs run through $emulator"
fi
echo "setup: ready"
