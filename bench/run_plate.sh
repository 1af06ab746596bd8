#!/bin/bash
# Whole batch runs on a single plate with holes of the common shapes (made by
# bench/make_plate.py): best, median and worst wall time and the peak memory.
#
#   bench/run_plate.sh [BUILD_DIR] [RUNS] [make_plate.py options...]
#
# BUILD_DIR defaults to build-perf, RUNS to 5; the plate to 3000 x 1500 with
# 700 holes at approach 5.
set -euo pipefail
source "$(dirname "$0")/timed_runs.sh"

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-perf}
[[ $build = /* ]] || build="$repo/$build"
runs=${2:-5}
shift $(( $# < 2 ? $# : 2 ))
makenc="$build/makenc"
[ -x "$makenc" ] || { echo "no program $makenc: build it first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$repo/bench/make_plate.py" --out "$work/plate" "$@"
timed_batch_runs "$makenc" "$work/plate" "$runs" "$work"
printf '%10s %10s %10s %12s\n' "best s" "median s" "worst s" "peak KB"
printf '%10s %10s %10s %12s\n' "${sorted[0]}" "${sorted[$((runs / 2))]}" "${sorted[$((runs - 1))]}" "$peak"
