#!/usr/bin/env bash
# Runs a Windows program under Wine on a private X desktop (Xvfb and openbox, see
# tests/shell/on-x-desktop.sh), in the Wine prefix given as the first argument. Wine's own processes of
# that prefix end before the desktop does, so that none of them outlives its display.
#   tools/wine/run-gui.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
(($# >= 2)) || { echo "usage: run-gui.sh PREFIX PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }
prefix=$(realpath -m "$1")
shift

exec "$here/../../tests/shell/on-x-desktop.sh" bash -c '
    status=0
    VELMORA_WINE_DISPLAY=1 "$0" "$@" || status=$?
    WINEPREFIX="$1" wineserver --wait
    exit "$status"' "$here/run.sh" "$prefix" "$@"
