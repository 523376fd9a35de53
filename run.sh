#!/usr/bin/env bash
# Installs what is missing, builds the release version of Velmora and opens the given sheets with it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

"$top/tools/install-deps.sh"
(cd "$top" && cmake --preset release >/dev/null && cmake --build --preset release)

window="$top/build/release/shell/velmora"
if [[ -x "$window" && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
    exec "$window" "$@"
fi
exec "$top/build/release/cli/velmora-fix" "$@"
