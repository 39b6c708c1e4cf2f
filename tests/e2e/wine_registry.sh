# Registry reads in a test's Wine prefix, through the prefix's own reg.exe
# (named by its path: a reg.exe in the current folder would be taken first).
# Sourced by the Wine tests; they set prefix, wine_run and wine_state.
# KV_REG_VIEW is /reg:32 or /reg:64, the registry view of the tree's programs
# (a 64-bit program's classes are not where 32-bit ones look).
reg_view=${KV_REG_VIEW:-/reg:32}

# reg_value KEY NAME: the value's data as reg.exe shows it (DWORDs as 0x...,
# binaries as hex digits); the default value for an empty NAME; nothing when
# the key or the value is missing.
reg_value() {
    if [ -z "$2" ]; then
        set -- "$1" /ve
    else
        set -- "$1" /v "$2"
    fi
    KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" 'C:\windows\system32\reg.exe' query "$@" "$reg_view" 2>/dev/null |
        tr -d '\r' | sed -n 's/^ \{4\}.* \{4\}REG_[A-Z_]* \{4\}//p'
}

# reg_has KEY: whether the key exists.
reg_has() {
    KV_WINEPREFIX="$prefix" "$wine_run" "$wine_state" 'C:\windows\system32\reg.exe' query "$1" "$reg_view" >/dev/null 2>&1
}
