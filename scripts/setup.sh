#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev qt6-translations-l10n qt6-charts-dev \
  libsqlcipher-dev sqlcipher sqlite3 \
  libchm-dev fp-utils \
  fonts-ipafont-gothic fonts-ipafont-mincho fontconfig \
  libgtest-dev libgmock-dev libbenchmark-dev \
  xvfb xauth \
  clang libclang-rt-14-dev >/dev/null
