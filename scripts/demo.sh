#!/bin/sh
# Builds the console program and runs commands against the demo rig of
# simulated cameras, showing after each what it changed in the rig: without
# arguments LED on, LED off and EV 100; with a command, that command in debug
# mode, followed by the run's log.
#
#   sh scripts/demo.sh [COMMAND...]      e.g. sh scripts/demo.sh LED on -CAM1
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

sh scripts/install-deps.sh --host
cmake -S . -B build >/dev/null
cmake --build build -j "${KV_JOBS:-2}" --target KV_DS_Ctrl kvsim >/dev/null

export KV_SIM_RIG="$root/sim/rigs/demo.json"
export KV_COMMON_DOCUMENTS="${KV_COMMON_DOCUMENTS:-$root/build/demo-documents}"
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT

# Runs one command from the program's folder (so that no folder name lands in
# its command line) and prints what it changed in the rig.
run() {
    build/sim/kvsim dump >"$state/before.json"
    echo "== KV_DS_Ctrl $*"
    (cd build/ctrl && ./KV_DS_Ctrl "$@")
    build/sim/kvsim dump >"$state/after.json"
    echo "   what it changed in the rig:"
    python3 scripts/rig-changes.py "$state/before.json" "$state/after.json"
}

build/sim/kvsim reset >/dev/null
if [ "$#" -gt 0 ]; then
    run "$@" /d
    echo "== its log ($KV_COMMON_DOCUMENTS/KV_DS_Ctrl/Log/KV_DS_LOG.txt)"
    cat "$KV_COMMON_DOCUMENTS/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
else
    run LED on
    run LED off
    run EV 100
fi
