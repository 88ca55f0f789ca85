#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats every tracked C++ source and header with the house layout
# (.clang-format). With --check it changes nothing and fails on any file
# that differs from the layout, as CI does.
set -e
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if [ "$1" = "--check" ]; then
  clang-format --dry-run -Werror $files
else
  clang-format -i $files
fi
