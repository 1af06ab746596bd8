#!/usr/bin/env bash
# Renews the pictures of the Qt window in docs/: main_window.png,
# main_window_zoomed.png, template_editor.png and conditions_dialog.png.
# Builds tests/window/qt/screenshot/grab_windows into build/ (or
# $BUILD_DIR), runs it on a copy of examples/plate on a virtual display
# (start-up rewrites the folder's working copy; nothing is handed back) and
# writes the pictures deflated into docs/. The Windows window's pictures
# are renewed by scripts/test-windows.sh --picture.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/install-packages.sh" xvfb xauth fonts-noto-cjk

[ -f "$build/CMakeCache.txt" ] ||
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAKENC_WERROR=ON >/dev/null
cmake --build "$build" --target grab_windows -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$here/examples/plate" "$work/host"
mkdir "$work/pictures"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tests/grab_windows" "$work/host" "$work/pictures"
for picture in main_window main_window_zoomed template_editor conditions_dialog; do
  "$here/tests/tools/png-recompress" "$work/pictures/$picture.png" "$here/docs/$picture.png"
  echo "wrote docs/$picture.png"
done
