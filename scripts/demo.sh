#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds makenc and runs the main job on the
# bundled sample: a scratch copy of the host folder examples/plate, where
# makenc --batch reads JWC_TEMP.TXT, writes the NC program Zemlak/plate.nc
# and hands the interchange file back. Shows the NC program it wrote.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup-debian.sh"
"$here/scripts/build.sh"
scratch=$(mktemp -d)
cp -r "$here/examples/plate/." "$scratch/"
cd "$scratch"
"${BUILD_DIR:-$here/build}/makenc" --batch --check-drawing --preview-png preview.png
echo "--- $scratch/Zemlak/plate.nc (code page 932, shown as UTF-8) ---"
iconv -f CP932 -t UTF-8 Zemlak/plate.nc | tr -d '\r'
echo "--- the preview after the assignment run: $scratch/preview.png"
