#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and runs each for the given seconds
# (default 30) from its seed corpus. A crash leaves its input in build-fuzz/.
set -e
seconds="${1:-30}"
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DQUOVIS_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$(nproc)"
status=0
mkdir -p "$dir/logs"
for target in "$dir"/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  cp "$root/fuzz/corpus/$name/"* "$corpus/" 2>/dev/null || true
  echo "== $name for ${seconds}s"
  if ! (cd "$dir" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
          "$corpus" >"$dir/logs/$name.log" 2>&1); then
    status=1
    tail -n 40 "$dir/logs/$name.log"
  fi
  grep -E "^Done|ERROR|SUMMARY" "$dir/logs/$name.log" || true
done
exit $status
