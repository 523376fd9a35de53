#!/usr/bin/env bash
# Runs a command on a private X desktop: an Xvfb server on a display number it
# picks itself and the openbox window manager, both ended when the command ends.
# Usage: on-x-desktop.sh COMMAND [ARGUMENT...]
# The command sees DISPLAY, QT_QPA_PLATFORM=xcb and VELMORA_X_DESKTOP (the same display, so that a
# script can tell it already runs here); its exit status is returned. VELMORA_X_SCREEN sets the
# screen's size and depth (1024x768x24).
set -euo pipefail
(($# > 0)) || { echo "usage: on-x-desktop.sh COMMAND [ARGUMENT...]" >&2; exit 2; }
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || { echo "on-x-desktop.sh: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
cleanup() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 "${VELMORA_X_SCREEN:-1024x768x24}" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
if ! read -r -t 20 -u "$display_fd" display_number; then
    echo "on-x-desktop.sh: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display_number"

# A configuration of our own, so that the user's openbox settings play no part.
mkdir -p "$work/config/openbox"
cp /etc/xdg/openbox/rc.xml "$work/config/openbox/rc.xml" 2>/dev/null || true
XDG_CONFIG_HOME="$work/config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is up once it names itself on the root window.
for _ in $(seq 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        break
    fi
    sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    echo "on-x-desktop.sh: openbox did not start" >&2
    cat "$work/openbox.log" >&2
    exit 1
fi

status=0
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb VELMORA_X_DESKTOP="$DISPLAY" "$@" || status=$?
exit "$status"
