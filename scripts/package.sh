#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages quovis and quovis-nox with dpkg-buildpackage from
# a clean copy of the tracked files in build-deb/quovis/ (so that no build
# folder of the work tree ends up in them), and prints the paths of the two
# .deb files, which land in build-deb/.
set -e
cd "$(dirname "$0")/.."
rm -rf build-deb
mkdir -p build-deb/quovis
git ls-files -z | xargs -0 cp -P --parents -t build-deb/quovis
(cd build-deb/quovis && dpkg-buildpackage -b -us -uc -J"$(nproc)" >../build.log 2>&1) ||
  { tail -n 40 build-deb/build.log; exit 1; }
ls "$PWD"/build-deb/quovis_*.deb "$PWD"/build-deb/quovis-nox_*.deb
