#!/bin/bash
# Whole batch runs on generated sheets: wall time (from the shell) and peak
# memory (from /usr/bin/time) of
# `makenc --batch` for about 1,000, 10,000 and 100,000 entities, and the
# growth from 10,000 to 100,000.
#
#   bench/run_batch.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to build-perf, RUNS (runs per sheet, the best and the
# median are shown) to 5. The sheets come from bench/tools/make_sheet.py and
# go to a temporary folder that is removed at the end.
set -euo pipefail
source "$(dirname "$0")/timed_runs.sh"

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-perf}
[[ $build = /* ]] || build="$repo/$build"
runs=${2:-5}
makenc="$build/makenc"
gen=$repo/bench/tools/make_sheet.py
[ -x "$makenc" ] || { echo "no program $makenc: build it first" >&2; exit 1; }
[ -f "$gen" ] || { echo "no sheet generator $gen" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A best
printf '%-7s %9s %10s %10s %10s %12s\n' parts records "best s" "median s" "worst s" "peak KB"
for parts in 55 550 5500; do
  python3 "$gen" --parts "$parts" --out "$work/sheet$parts" > /dev/null
  records=$(grep -c -v -E '^(hq|file=|#|ly[0-9]|lc[0-9]|lt|pn|pl)' "$work/sheet$parts/JWC_TEMP.TXT" || true)
  timed_batch_runs "$makenc" "$work/sheet$parts" "$runs" "$work"
  best[$parts]=${sorted[0]}
  printf '%-7s %9s %10s %10s %10s %12s\n' "$parts" "$records" "${sorted[0]}" "${sorted[$((runs / 2))]}" \
    "${sorted[$((runs - 1))]}" "$peak"
done
awk -v a="${best[550]}" -v b="${best[5500]}" 'BEGIN { printf "growth from 550 to 5500 parts (best times): %.1fx\n", b / a }'
