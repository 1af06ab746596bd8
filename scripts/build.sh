#!/usr/bin/env bash
# Configures and builds makenc with its tests into build/ (or $BUILD_DIR),
# warnings as errors. Further arguments go to cmake (a later -D wins).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAKENC_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
