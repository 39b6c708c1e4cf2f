#!/bin/sh
# The register library's worker threads and the plug-in's shared state under
# the thread sanitizer: builds their unit tests in build-tsan and runs them.
# A separate tree, because the thread sanitizer cannot share one with the
# address sanitizer of build-host (docs/register-library.md gives its time).
set -eu
cd "$(dirname "$0")/.."
jobs=${KV_JOBS:-2}

echo "== host build of the register-library and plug-in tests (thread sanitizer)"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DKV_TSAN=ON >/dev/null
cmake --build build-tsan -j "$jobs" --target xulib_tests plugin_tests
echo "== register-library and plug-in tests (thread sanitizer)"
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" \
    ctest --test-dir build-tsan --output-on-failure -j "$jobs" -R '^(xulib|plugin)_tests\.'
