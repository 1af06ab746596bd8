#!/usr/bin/env bash
# Installs what building, testing and running makenc need on a Debian
# machine. Runs apt-get only when a package is missing; needs root for that.
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libgl-dev linuxcnc-uspace fonts-noto-cjk xvfb xauth python3
          clang libclang-rt-dev clang-format dpkg-dev)
"$(dirname "$0")/install-packages.sh" "${packages[@]}"
