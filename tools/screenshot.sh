#!/usr/bin/env bash
# Starts Velmora on a private X desktop (Xvfb and openbox) with the given sheet and saves a
# screenshot of the screen, so that people can look at the window.
# Usage: tools/screenshot.sh OUTPUT.png [SHEET] [PROGRAM]
# VELMORA_SCREENSHOT_MORE="a.cue:b.cue" hands more sheets over by second starts;
# VELMORA_SCREENSHOT_CLICK="X,Y" clicks there in the main window first (465,286
# is the About link); VELMORA_SCREENSHOT_WINDOW="TITLE" saves only that window.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Xvfb and a window manager come from the tests' desktop starter, which runs this script again on them.
if [[ "${VELMORA_X_DESKTOP:-}" != "${DISPLAY:-none}" ]]; then
    exec env VELMORA_X_SCREEN=800x600x24 "$top/tests/shell/on-x-desktop.sh" "$0" "$@"
fi
output="${1:?usage: screenshot.sh OUTPUT.png [SHEET] [PROGRAM]}"
sheet="${2:-}"
program="${3:-$top/build/release/shell/velmora}"
settle="${VELMORA_SCREENSHOT_WAIT:-4}"

command -v import >/dev/null || { echo "screenshot.sh: import is missing (tools/install-deps.sh)" >&2; exit 1; }
[[ -x "$program" ]] || { echo "screenshot.sh: no program at $program" >&2; exit 1; }

work="$(mktemp -d)"
velmora_pid=""
cleanup() {
    [[ -n "$velmora_pid" ]] && kill "$velmora_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -m 0700 "$work/runtime"
XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    "$program" ${sheet:+"$sheet"} >"$work/velmora.log" 2>&1 &
velmora_pid=$!
sleep "$settle"
if [[ -n "${VELMORA_SCREENSHOT_MORE:-}" ]]; then
    IFS=: read -r -a more <<<"$VELMORA_SCREENSHOT_MORE"
    for extra in "${more[@]}"; do
        XDG_RUNTIME_DIR="$work/runtime" "$program" "$extra" >>"$work/velmora.log" 2>&1
    done
    sleep 1
fi
if [[ -n "${VELMORA_SCREENSHOT_CLICK:-}${VELMORA_SCREENSHOT_WINDOW:-}" ]]; then
    command -v xdotool >/dev/null || { echo "screenshot.sh: xdotool is missing (tools/install-deps.sh)" >&2; exit 1; }
fi
if [[ -n "${VELMORA_SCREENSHOT_CLICK:-}" ]]; then
    main_window="$(xdotool search --sync --name '^Velmora ' | head -n 1)"
    xdotool mousemove --window "$main_window" "${VELMORA_SCREENSHOT_CLICK%,*}" "${VELMORA_SCREENSHOT_CLICK#*,}" \
        click 1
    sleep 1
fi
window=root
if [[ -n "${VELMORA_SCREENSHOT_WINDOW:-}" ]]; then
    window="$(xdotool search --sync --name "^${VELMORA_SCREENSHOT_WINDOW}\$" | head -n 1)"
fi
import -window "$window" "$output"
echo "saved $output"
