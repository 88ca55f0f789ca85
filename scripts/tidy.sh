#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy with the house checks (.clang-tidy) over every source in
# src/, windows included, and fails on any finding, as CI does. Builds into
# build/ (or the folder given first) with a compilation database, so the
# generated Qt sources the windows need exist.
set -e
cd "$(dirname "$0")/.."
dir="${1:-build}"
scripts/build.sh "$dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
runner=$(command -v run-clang-tidy || command -v run-clang-tidy-14)
"$runner" -p "$dir" -quiet -j "$(nproc)" "^$(pwd)/src/" >"$dir/tidy.log" 2>&1 || {
  grep -E -A3 '(warning|error):' "$dir/tidy.log" >&2
  echo "tidy: findings above (full log in $dir/tidy.log)" >&2
  exit 1
}
