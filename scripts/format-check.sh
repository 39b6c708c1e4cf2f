#!/bin/sh
# Checks that every C and C++ file in the repository is laid out as
# .clang-format says, and names the files that are not;
# `sh scripts/format-check.sh --fix` lays them out instead.
set -eu
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "format-check: clang-format is not installed (sh scripts/install-deps.sh installs it)" >&2
    exit 1
fi
files=$(git ls-files '*.c' '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    # shellcheck disable=SC2086
    clang-format -i $files
    exit 0
fi
# shellcheck disable=SC2086
if ! report=$(clang-format --dry-run --Werror $files 2>&1); then
    echo "format-check: not laid out as .clang-format says (sh scripts/format-check.sh --fix):" >&2
    echo "$report" | sed -n 's/^\([^: ]*\):[0-9]*:[0-9]*: error:.*/  \1/p' | sort -u >&2
    exit 1
fi
echo "format-check: $(echo "$files" | wc -l) files laid out as .clang-format says"
