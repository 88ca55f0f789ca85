#!/bin/sh
# Installs what the build and the tests need on Debian (once).
set -e
packages="cmake g++ make qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth clang locales"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $missing
