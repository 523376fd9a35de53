#!/usr/bin/env bash
# Installs what is missing, builds Velmora with its tests and runs every test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

tools/install-deps.sh
cmake --preset dev
cmake --build --preset dev

# The engine's and velmora-fix's tests and every fuzz corpus again under AddressSanitizer and
# UndefinedBehaviorSanitizer, leaks included.
cmake --preset asan
cmake --build --preset asan --target cue_tests cli_tests fuzz_targets
ASAN_OPTIONS=detect_leaks=1 build/asan/tests/cue/cue_tests --gtest_brief=1
ASAN_OPTIONS=detect_leaks=1 build/asan/tests/cli/cli_tests --gtest_brief=1
ctest --preset asan -L fuzz_corpus

QT_QPA_PLATFORM=offscreen ctest --preset dev --parallel "$(nproc)"
