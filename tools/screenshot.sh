#!/usr/bin/env bash
# Starts Velmora under a private Xvfb display with the given sheet and saves a
# screenshot of the screen, so that people can look at the window.
# Usage: tools/screenshot.sh OUTPUT.png [SHEET] [PROGRAM]
# VELMORA_SCREENSHOT_MORE="a.cue:b.cue" hands more sheets over by second starts;
# VELMORA_SCREENSHOT_CLICK="X,Y" clicks there in the main window first (465,286
# is the About link); VELMORA_SCREENSHOT_WINDOW="TITLE" saves only that window.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
output="${1:?usage: screenshot.sh OUTPUT.png [SHEET] [PROGRAM]}"
sheet="${2:-}"
program="${3:-$top/build/release/shell/velmora}"
settle="${VELMORA_SCREENSHOT_WAIT:-4}"

for tool in Xvfb import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
done
[[ -x "$program" ]] || { echo "screenshot.sh: no program at $program" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
velmora_pid=""
cleanup() {
    [[ -n "$velmora_pid" ]] && kill "$velmora_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to the descriptor.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$display_fd" display_number
export DISPLAY=":$display_number"

mkdir -m 0700 "$work/runtime"
env -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=xcb \
    "$program" ${sheet:+"$sheet"} >"$work/velmora.log" 2>&1 &
velmora_pid=$!
sleep "$settle"
if [[ -n "${VELMORA_SCREENSHOT_MORE:-}" ]]; then
    IFS=: read -r -a more <<<"$VELMORA_SCREENSHOT_MORE"
    for extra in "${more[@]}"; do
        env -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" "$extra" \
            >>"$work/velmora.log" 2>&1
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
