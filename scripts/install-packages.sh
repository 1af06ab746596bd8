#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing.
# Runs apt-get only when one is missing; needs root or sudo rights for that.
# Never installs recommended packages: linuxcnc-uspace would pull a kernel.
set -euo pipefail
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends "${missing[@]}"
