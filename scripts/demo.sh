#!/bin/sh
# Builds the console program and runs one command against the demo rig of
# simulated cameras, in debug mode, then shows the run's log and the state it
# left in the rig.
#
#   sh scripts/demo.sh [COMMAND...]      e.g. sh scripts/demo.sh LED on -CAM1
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

sh scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j "${KV_JOBS:-2}" --target KV_DS_Ctrl kvsim >/dev/null

export KV_SIM_RIG="$root/sim/rigs/demo.json"
export KV_COMMON_DOCUMENTS="${KV_COMMON_DOCUMENTS:-$root/build/demo-documents}"
[ "$#" -gt 0 ] || set -- LED on

echo "== KV_DS_Ctrl $* /d"
# Started from its folder, so that no folder name lands in its command line.
(cd build/ctrl && ./KV_DS_Ctrl "$@" /d)
echo "== its log ($KV_COMMON_DOCUMENTS/KV_DS_Ctrl/Log/KV_DS_LOG.txt)"
cat "$KV_COMMON_DOCUMENTS/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
echo "== the rig's state (build/sim/kvsim dump)"
build/sim/kvsim dump
