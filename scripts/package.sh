#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package quovis_<version>_<arch>.deb in a clean
# build-package/ (Release, no tests) and prints its path.
set -e
cd "$(dirname "$0")/.."
rm -rf build-package
cmake --preset package >/dev/null
cmake --build --preset package -j "$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/quovis_*.deb
