#!/bin/sh
# Whole-program test of KV_DS_Ctrl with no camera connected: help text, the
# no-camera line, exit status 0, and the debug log; the same from a folder
# whose name holds keywords of the command line.
#
#   kv_ds_ctrl_e2e.sh host PROGRAM EXPECTED_DIR
#   kv_ds_ctrl_e2e.sh wine PROGRAM EXPECTED_DIR WINE_RUN WINE_STATE
set -eu
mode=$1 program=$2 expected=$3
failures=0
work=$(mktemp -d)

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ "$mode" = wine ]; then
    wine_run=$4 wine_state=$5
    prefix=$("$wine_run" "$wine_state" --new-prefix)
    docs="$prefix/drive_c/users/Public/Documents"
    eol=$(printf '\r')
    # From the build tree, or from the folder $odd when it is set.
    run() { KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" "${odd:-$(dirname "$program")}/$(basename "$program")" "$@"; }
    odd_root="$prefix/drive_c"
    cleanup() { "$wine_run" "$wine_state" --drop-prefix "$prefix"; rm -rf "$work"; }
else
    docs="$work/Documents"
    eol=''
    # From the build tree by a relative path; from the folder $odd, when it
    # is set, by its whole path (blanks and all) as a user's shell would.
    run() {
        if [ -n "$odd" ]; then
            (cd "$odd" && KV_COMMON_DOCUMENTS="$docs" "$odd/$(basename "$program")" "$@")
        else
            (cd "$(dirname "$program")" && KV_COMMON_DOCUMENTS="$docs" "./$(basename "$program")" "$@")
        fi
    }
    odd_root="$work"
    cleanup() { rm -rf "$work"; }
fi

odd=''
trap cleanup EXIT
# No camera is connected: not even a simulated one.
unset KV_SIM_RIG

# The expected text with the platform's line ends.
sed "s/\$/$eol/" "$expected/help.txt" >"$work/help.txt"
printf 'None Korvex Plugin!!%s\n' "$eol" >"$work/none.txt"

expect_output() {  # expect_output EXPECTED_FILE ARGS...
    want=$1
    shift
    if run "$@" >"$work/out.txt" 2>"$work/err.txt"; then :; else fail "exit status $? for: $*"; fi
    cmp -s "$want" "$work/out.txt" || fail "output of '$*' differs from $(basename "$want"): $(head -c 200 "$work/out.txt")"
}

expect_output "$work/help.txt"
expect_output "$work/help.txt" foo
expect_output "$work/help.txt" -h
expect_output "$work/help.txt" /H
expect_output "$work/help.txt" LED on -h
expect_output "$work/none.txt" LED on
expect_output "$work/none.txt" -CAM1
[ ! -e "$docs/KV_DS_Ctrl" ] || fail "a run without /d created the log folder"

# The program's own path is never read as a command: installed in a folder
# named like a command line (on the host the path holds "/d" as well), it
# behaves exactly as above.
odd="$odd_root/Camera On Desk ev 5 -CAM1 INIT AE/dir"
mkdir -p "$odd"
cp "$program" "$odd/"
expect_output "$work/help.txt"
expect_output "$work/help.txt" -h
expect_output "$work/none.txt" LED on
expect_output "$work/none.txt" EV 100 -CAM2
[ ! -e "$docs/KV_DS_Ctrl" ] || fail "a run from $odd created the log folder"
odd=''

expect_output "$work/none.txt" LED on 2 /d
log="$docs/KV_DS_Ctrl/Log/KV_DS_LOG.txt"
if [ -f "$log" ]; then
    # Message texts only: the stamp is the 25 characters in front of the tab.
    tr -d '\r' <"$log" | cut -c26- >"$work/messages.txt"
    printf '%s\n' "new CDxWnd" "CoCreateInstance" "CoCreateInstance Finished" "Error: 2" \
        "None Korvex Plugin!!" >"$work/want-messages.txt"
    cmp -s "$work/want-messages.txt" "$work/messages.txt" || fail "log messages: $(cat "$work/messages.txt")"
    grep -Eqv '^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]{3} 	' "$log" &&
        fail "a log line without the time stamp: $(cat "$log")"
    if [ -n "$eol" ]; then
        [ "$(grep -c "$eol\$" "$log")" -eq 5 ] || fail "log lines do not end in CR LF"
    fi
else
    fail "no log file at $log"
fi

# A debug run that only prints the help keeps the raw and normalised lines.
expect_output "$work/help.txt" /d
[ "$(wc -l <"$log")" -eq 2 ] || fail "help run log: $(cat "$log")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all KV_DS_Ctrl checks passed ($mode)"
