#!/usr/bin/env bash
# Installs what is missing, builds Velmora with its tests and runs every test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

tools/install-deps.sh
cmake --preset dev
cmake --build --preset dev
QT_QPA_PLATFORM=offscreen ctest --preset dev --parallel "$(nproc)"
