#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (or the folder given first); further
# arguments go to CMake, e.g. -DQUOVIS_SANITIZE=ON.
set -e
dir="${1:-build}"
[ $# -gt 0 ] && shift
cmake -S "$(dirname "$0")/.." -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$dir" -j "$(nproc)"
