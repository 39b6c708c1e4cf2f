#!/bin/sh
# Runs a Windows program under Wine in its own prefix, so that tests never
# share registry or file state.
#
#   wine-run.sh STATE PROGRAM [ARGS...]   run in a fresh prefix, then drop it
#                                         (or in $KV_WINEPREFIX, kept, if set);
#                                         with KV_WINE_REQUIRE_OUTPUT set, a run
#                                         that prints nothing fails
#   wine-run.sh STATE --new-prefix        print the path of a fresh prefix
#   wine-run.sh STATE --keep-server DIR   keep one wineserver running for the
#                                         prefix's runs until it is dropped
#   wine-run.sh STATE --drop-prefix DIR   stop its wineserver and remove it
#   wine-run.sh STATE --loader            print the Wine loader the runs use
#
# STATE is a folder of the build tree; the template prefix is made there once
# (wineboot takes 10-15 s). A copy is hard links (about 0.1 s), except the
# registry files at the prefix root, which wineserver rewrites in place and
# which therefore must be real copies.
set -eu
mkdir -p "$1"
state=$(cd "$1" && pwd)  # Wine wants an absolute prefix path
shift
# Quiet unless a test asks for a debug channel (KV_WINEDEBUG).
export WINEDEBUG=${KV_WINEDEBUG:--all}
# The 32-bit loader, named directly (the "wine" wrapper script only adds a
# hint when it is missing): it runs the shipped 32-bit programs and hands
# 64-bit ones to its 64-bit sibling in the same WoW64 prefix. On a kernel
# that does not execute 32-bit code at all (cmake/i386-probe.sh) that loader
# cannot start, and the 64-bit one runs the 64-bit tree's programs itself.
WINE=${KV_WINE:-/usr/lib/wine/wine}
if [ -z "${KV_WINE:-}" ] && ! "$WINE" --version >/dev/null 2>&1; then
    WINE=/usr/lib/wine/wine64
fi
export WINELOADER="$WINE"
[ -n "${KV_WINE_DISPLAY:-}" ] && export DISPLAY="$KV_WINE_DISPLAY" || unset DISPLAY
template="$state/template"

make_template() {
    (
        flock 9
        if [ ! -f "$template/.ready" ]; then
            rm -rf "$template"
            WINEPREFIX="$template" "$WINE" wineboot -i >/dev/null 2>&1
            WINEPREFIX="$template" wineserver -w
            touch "$template/.ready"
        fi
    ) 9>"$state/.lock"
}

new_prefix() {
    make_template
    dir=$(mktemp -d "$state/prefix.XXXXXX")
    cp -al "$template/." "$dir/"
    for reg in "$template"/*.reg; do
        rm -f "$dir/${reg##*/}"
        cp "$reg" "$dir/"
    done
    rm -f "$dir/.ready"
    echo "$dir"
}

# Without it the server ends a few seconds after each run, and runs started
# on a busy machine just then (several at once, as the GUI starts them) meet
# a server on its way out, or race each other to start a new one. (A test
# that waits for the prefix's programs with `wineserver -w` must not ask for
# it: that waits for the server itself to end.) The first program of a
# server's life starts the prefix's system processes, which then live as long
# as the server: a first program of our own, with no output, keeps the later
# runs' output pipes from being held open by them.
keep_server() {
    WINEPREFIX="$1" wineserver -p </dev/null >/dev/null 2>&1
    WINEPREFIX="$1" "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

drop_prefix() {
    WINEPREFIX="$1" wineserver -k >/dev/null 2>&1 || true
    rm -rf "$1"
}

case "${1:-}" in
    --new-prefix) new_prefix; exit 0 ;;
    --keep-server) keep_server "$2"; exit 0 ;;
    --drop-prefix) drop_prefix "$2"; exit 0 ;;
    --loader) echo "$WINE"; exit 0 ;;
esac

if [ -n "${KV_WINEPREFIX:-}" ]; then
    WINEPREFIX="$KV_WINEPREFIX" "$WINE" "$@"
    exit $?
fi
prefix=$(new_prefix)
set +e
if [ -n "${KV_WINE_REQUIRE_OUTPUT:-}" ]; then
    # A loader that cannot start the program may still exit 0 having printed
    # nothing: such a run is a failure, whatever its status.
    out="$prefix.out"
    WINEPREFIX="$prefix" "$WINE" "$@" >"$out"
    rc=$?
    cat "$out"
    if [ "$rc" -eq 0 ] && [ ! -s "$out" ]; then
        echo "wine-run.sh: $1 printed nothing; not taken as a pass" >&2
        rc=1
    fi
    rm -f "$out"
else
    WINEPREFIX="$prefix" "$WINE" "$@"
    rc=$?
fi
set -e
drop_prefix "$prefix"
exit $rc
