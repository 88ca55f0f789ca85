#!/bin/sh
# Builds and runs every test: the core's GoogleTest suite and the window
# tests, which need no display.
set -e
dir="${1:-build}"
"$(dirname "$0")/build.sh" "$dir"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
