#!/bin/sh
# Installs what a fresh Debian 12 machine lacks to build and test everything:
# the host toolchain, clang with its fuzzer runtime, GoogleTest, MinGW-w64
# for both Windows trees, Wine (64-bit loader) and Xvfb. Runs apt only when
# something is missing.
set -eu
packages="cmake g++ make clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing:$missing"
$sudo apt-get update -q
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
