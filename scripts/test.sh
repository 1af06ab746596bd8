#!/usr/bin/env bash
# Sets up a fresh Debian machine, checks the formatting, builds everything
# and runs all tests: unit tests, end-to-end runs of the program (checked by
# the G-code interpreter) and the window tests on the offscreen platform;
# then a Release build installed as a Debian package and run, the suite
# built with the address and undefined-behaviour sanitizers, a short run of
# every fuzz target ($FUZZ_SECONDS each, default 60), and the Windows
# program, cross-built, under Wine (scripts/test-windows.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup-debian.sh"
"$here/scripts/check-format.sh"
"$here/scripts/build.sh"
(cd "${BUILD_DIR:-$here/build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
"$here/scripts/test-package.sh"
"$here/scripts/sanitize.sh"
"$here/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}"
LINUX_MAKENC="${BUILD_DIR:-$here/build}/makenc" "$here/scripts/test-windows.sh"
