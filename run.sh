#!/usr/bin/env bash
# Installs what is missing, builds the release version of Velmora's two programs and opens the given
# sheets with them.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$top/build/release"

"$top/tools/install-deps.sh"
# A release folder that ./test.sh (or an earlier run) configured is built as it stands: configuring it
# again from another environment would change its flags and rebuild everything in it.
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    (cd "$top" && cmake --preset release >/dev/null)
fi
# Only what the programs need, not the tests and benchmarks the folder also holds.
cmake --build "$build" --target velmora_programs

window="$build/shell/velmora"
if [[ -x "$window" && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
    exec "$window" "$@"
fi
exec "$build/cli/velmora-fix" "$@"
