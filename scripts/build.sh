#!/bin/sh
# Configures and builds into build/ (or the folder given).
set -e
dir="${1:-build}"
cmake -S "$(dirname "$0")/.." -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$dir" -j "$(nproc)"
