#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything and runs all tests:
# unit tests, end-to-end runs of the program (checked by the G-code
# interpreter) and the window tests on the offscreen platform.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup-debian.sh"
"$here/scripts/build.sh"
cd "${BUILD_DIR:-$here/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
