#!/bin/sh
# Installs what is missing, builds the host tree (with sanitizers), the
# shipped 32-bit Windows tree, a 64-bit Windows tree of the same sources (a
# portability check) and the fuzz targets, and runs every test suite: the
# host suite natively, the Windows suites under Wine (the 32-bit one on the
# files we ship, behind a probe that shows Wine starts them), and a bounded
# fuzz run. The four trees are the presets of CMakePresets.json; what this
# machine's kernel can run decides, on top of them, where the Wine tests go.
set -eu
cd "$(dirname "$0")/.."
jobs=${KV_JOBS:-2}

sh scripts/install-deps.sh

echo "== layout check (.clang-format)"
sh scripts/format-check.sh

# Some virtual machines run a kernel that executes no 32-bit user code at all:
# there the shipped 32-bit files cannot start under Wine, whatever is
# installed. Their tree is still built and its files checked; every Wine test,
# the whole-program ones of the shipped files included, then runs on the
# 64-bit tree of the same sources instead.
if sh cmake/i386-probe.sh; then
    wine32_tests=ON wine64_full=OFF
else
    wine32_tests=OFF wine64_full=ON
    echo "== NOTE: this kernel does not start 32-bit programs: the 32-bit tree's Wine tests are not run;"
    echo "==       the 64-bit tree runs every Wine test instead"
fi

echo "== host build (address and undefined-behaviour sanitizers)"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"

echo "== Windows build, 32-bit: the deliverables (build-win/deliverables) and their tests"
cmake --preset win32 -DKV_WINE_TESTS=$wine32_tests >/dev/null
cmake --build --preset win32 -j "$jobs"

echo "== Windows build, 64-bit: the same sources as a portability check"
cmake --preset win64 -DKV_WINE_FULL_E2E=$wine64_full >/dev/null
cmake --build --preset win64 -j "$jobs"

echo "== fuzz targets (clang's libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"

echo "== host tests"
ctest --preset host -j "$jobs"
if [ "$wine32_tests" = ON ]; then
    echo "== Wine starts the 32-bit programs"
    sh cmake/wine-loader-check.sh cmake/wine-run.sh build-win/wine build-win/tests/wine_loader_probe.exe 4
    echo "== Windows tests, 32-bit: the shipped files under Wine"
else
    echo "== Windows tests, 32-bit: the shipped files' own checks (no Wine on this kernel)"
fi
ctest --preset win32 -j "$jobs"
echo "== Windows tests, 64-bit"
ctest --preset win64 -j "$jobs"
echo "== fuzz tests"
ctest --preset fuzz -j "$jobs"
