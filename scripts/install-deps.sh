#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build and test everything:
# the host toolchain (with pkg-config and libusb-1.0, which the Linux
# cameras' direct USB path links), clang with its fuzzer runtime,
# clang-format (the layout check), GoogleTest, Python (the
# end-to-end tests read the rig's trace with it), umockdev (the Linux
# adapters' mocked-kernel test), MinGW-w64
# for both Windows trees, Wine with its 32-bit loader (the shipped programs
# are 32-bit), Xvfb, NSIS (makensis makes the Windows setup program), and
# the GStreamer plugins and OpenGL (for both Windows trees) that Wine's own
# file splitters and video renderer need for the playback tests.
# Runs apt only when something is missing.
#
#   sh scripts/install-deps.sh           everything the full test set needs
#   sh scripts/install-deps.sh --host    only the host toolchain: what it takes
#                                        to configure the host tree and run the
#                                        demo (no Windows tools, no i386)
set -eu
host_packages="cmake g++ make pkg-config libusb-1.0-0-dev googletest libgtest-dev libgmock-dev nlohmann-json3-dev python3"
case "${1:-}" in
    --host) packages=$host_packages ;;
    "") packages="$host_packages clang libclang-rt-14-dev clang-format
  umockdev libumockdev-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 wine32:i386 xvfb nsis
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good libgl1 libgl1-mesa-dri libglx-mesa0
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386" ;;
    *) echo "usage: sh scripts/install-deps.sh [--host]" >&2; exit 2 ;;
esac

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# wine32 is an i386 package: the architecture must be known before apt can
# even look for it.
need_i386=0
case "$packages" in
    *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1 ;;
esac

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && [ "$need_i386" -eq 0 ] && exit 0

[ "$need_i386" -eq 1 ] && $sudo dpkg --add-architecture i386
echo "installing:$missing"
# A mirror caught mid-sync serves a package list of the wrong size for a
# while: try the update again after a pause. When a list still fails, apt goes
# on without it; if that list is an i386 one of the security suite, the
# security suite's amd64 libraries no longer have i386 twins of the same
# version and the install breaks. So in that case both architectures take the
# release's own suite (its point releases carry the security fixes too).
tries=1 target=""
until $sudo apt-get update -q -o Acquire::Retries=3; do
    if [ "$tries" -ge 3 ]; then
        target="-t $(. /etc/os-release && echo "$VERSION_CODENAME")"
        echo "install-deps: package lists still incomplete; installing from the release's own suite ($target)" >&2
        break
    fi
    tries=$((tries + 1))
    echo "install-deps: package lists incomplete; trying again in 30 s ($tries of 3)" >&2
    sleep 30
done
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends -o Acquire::Retries=3 $target $missing
