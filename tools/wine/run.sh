#!/usr/bin/env bash
# Runs a Windows program under Wine without a display, in the Wine prefix given as the first argument:
# the prefix is created on first use (once, whatever runs at the same time) and reused afterwards.
# VELMORA_WINE_DISPLAY=1 keeps DISPLAY, for the window tests that run-gui.sh starts on an X desktop.
#   tools/wine/run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$(realpath -m "$1")
shift

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No downloads of the .NET and HTML runtimes, no windows of Wine's own.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset WAYLAND_DISPLAY
if [[ "${VELMORA_WINE_DISPLAY:-}" != 1 ]]; then
    unset DISPLAY
fi

if [[ ! -f "$prefix/.velmora-ready" ]]; then
    mkdir -p "$(dirname "$prefix")"
    exec 9>"$prefix.lock"
    flock 9
    if [[ ! -f "$prefix/.velmora-ready" ]]; then
        wineboot --init >/dev/null 2>&1
        wineserver --wait
        touch "$prefix/.velmora-ready"
    fi
    exec 9>&-
fi

exec wine "$@"
