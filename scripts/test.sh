#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test: the core's GoogleTest suite and the window
# tests, which need no display. Arguments as for build.sh.
set -e
dir="${1:-build}"
"$(dirname "$0")/build.sh" "$@"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
