#!/usr/bin/env bash
# The program started as the host starts it, without arguments, in a copy of
# the bundled host folder: it loads its window and keeps it open until
# `timeout` ends it (exit 124). A window that cannot be loaded or opened ends
# the program at once with a message.
#   opens_window.sh MAKENC SOURCE_DIR
set -uo pipefail
makenc=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp -r "$2/examples/plate/." "$folder/"
cd "$folder" && QT_QPA_PLATFORM=offscreen timeout 10 "$makenc" > out.txt 2> err.txt
code=$?
if [ "$code" -ne 124 ]; then
  echo "makenc without arguments ended with $code instead of keeping its window open:" >&2
  cat err.txt >&2
  exit 1
fi
echo "the window stayed open"
