#!/usr/bin/env bash
# Installs what is missing, builds Velmora with its tests and runs every test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

tools/install-deps.sh
cmake --preset dev
cmake --build --preset dev

# The optimised build that installs and packages Velmora: its optimiser sees warnings the debug build
# does not, so it must build cleanly too.
cmake --preset release
cmake --build --preset release

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer, leaks included; the package
# tests install and remove the release layout and need no second run.
cmake --preset asan
cmake --build --preset asan
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --preset asan --parallel "$(nproc)" -E '^packaging_'

QT_QPA_PLATFORM=offscreen ctest --preset dev --parallel "$(nproc)"

# The engine cross-built for Windows with mingw-w64, its tests run under Wine in a prefix kept in the
# build folder. The build preset holds it to two jobs, which is what the machines have; the window
# tests start an X desktop each (tools/wine/run-gui.sh).
cmake --preset windows
cmake --build --preset windows
ctest --preset windows --parallel "$(nproc)"
