#!/usr/bin/env bash
# Makes build-windows/makenc-windows.zip, what a shop gets: makenc.exe, an
# example Zemlak\Bin with the templates and set.ini of examples/plate, and a
# short read-me in Japanese (code page 932, CR LF, as every file of the tool).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wbuild=${WINDOWS_BUILD_DIR:-$here/build-windows}

"$here/scripts/build-windows.sh"
command -v zip >/dev/null || {
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends zip
}

stage=$wbuild/package
rm -rf "$stage" "$wbuild/makenc-windows.zip"
mkdir -p "$stage/makenc/Zemlak/Bin"
cp "$wbuild/makenc.exe" "$stage/makenc/"
for f in set.ini head.ini foot.ini sta_cut.ini sta_mark.ini end.ini; do
  cp "$here/examples/plate/Zemlak/Bin/$f" "$stage/makenc/Zemlak/Bin/"
done
iconv -f UTF-8 -t CP932 "$here/scripts/windows/readme-ja.txt" | sed 's/$/\r/' >"$stage/makenc/readme.txt"
(cd "$stage" && zip -q -X -r "$wbuild/makenc-windows.zip" makenc)
echo "made $wbuild/makenc-windows.zip:"
unzip -l "$wbuild/makenc-windows.zip"
