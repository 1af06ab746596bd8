#!/usr/bin/env bash
# Installs what building, testing and running makenc need on a Debian
# machine. Runs apt-get only when a package is missing; needs root for that.
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libgl-dev linuxcnc-uspace fonts-noto-cjk xvfb xauth python3
          clang libclang-rt-dev clang-format dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  # Without --no-install-recommends linuxcnc-uspace would pull a kernel.
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
