#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build and the tests need on Debian (once), and generates
# the decimal-comma locale that the locale tests run under.
set -e
packages="cmake g++ make qt6-base-dev qt6-charts-dev qt6-multimedia-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth clang dpkg-dev mandoc desktop-file-utils man-db locales nlohmann-json3-dev clang-format clang-tidy librsvg2-bin"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $missing
fi
# promtool checks the .prom recordings; the package's recommendations (an
# exporter and its services) are not needed.
if ! dpkg -s prometheus >/dev/null 2>&1; then
  [ -n "$missing" ] || $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends prometheus
fi
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $sudo sed -i 's/^# *de_DE.UTF-8/de_DE.UTF-8/' /etc/locale.gen
  $sudo locale-gen
fi
