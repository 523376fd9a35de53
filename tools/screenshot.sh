#!/usr/bin/env bash
# Starts Velmora under a private Xvfb display with the given sheet and saves a
# screenshot of the screen, so that people can look at the window.
# Usage: tools/screenshot.sh OUTPUT.png [SHEET] [PROGRAM]
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
import -window root "$output"
echo "saved $output"
