#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (or $SANITIZE_BUILD_DIR) and runs the whole test suite on
# it: any memory fault, leak or undefined behaviour fails the test it
# happens in.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${SANITIZE_BUILD_DIR:-$here/build-sanitize}
BUILD_DIR=$build "$here/scripts/build.sh" -DMAKENC_SANITIZE=ON
cd "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/leaks.supp}
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
