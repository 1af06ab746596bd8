#!/bin/bash
# Two builds of makenc side by side on the same host folders: `--batch` runs
# alternating between the builds on fresh copies, the ratio of wall and
# processor time taken pair by pair (absolute times on a shared machine move
# by tens of per cent; a pair's two runs see nearly the same machine).
#
#   bench/compare_builds.sh OLD_MAKENC NEW_MAKENC [RUNS] [FOLDER...]
#
# RUNS defaults to 9. Without folders, the sheets of 550 and 5500 parts from
# bench/tools/make_sheet.py and the plates of 3000 x 1500 (700 holes,
# approach 5) and 6000 x 3000 from bench/make_plate.py are made in a
# temporary folder. For each folder: the median wall and processor time of
# each build, the median of the pair ratios (new / old), and the largest
# peak memory of each build. The outputs of the two builds are compared
# byte for byte as well.
set -euo pipefail

old=$(realpath "${1:?old makenc}")
new=$(realpath "${2:?new makenc}")
runs=${3:-9}
shift $(( $# < 3 ? $# : 3 ))
repo=$(cd "$(dirname "$0")/.." && pwd)
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
  python3 "$repo/bench/tools/make_sheet.py" --parts 550 --out "$work/sheet550" > /dev/null
  python3 "$repo/bench/tools/make_sheet.py" --parts 5500 --out "$work/sheet5500" > /dev/null
  python3 "$repo/bench/make_plate.py" --out "$work/plate3000" > /dev/null
  python3 "$repo/bench/make_plate.py" --width 6000 --height 3000 --out "$work/plate6000" > /dev/null
  folders=("$work/sheet550" "$work/sheet5500" "$work/plate3000" "$work/plate6000")
fi

# One run: prints "wall cpu peak_kb" and leaves the folder it ran in.
run_once() {
  local makenc=$1 folder=$2 dir=$3
  rm -rf "$dir" && cp -r "$folder" "$dir"
  (cd "$dir" && /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$makenc" --batch > out.txt 2> err.txt) || true
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-12s %9s %9s %9s %9s %11s %11s %9s %9s %s\n' folder "old wall" "new wall" "old cpu" "new cpu" \
  "wall ratio" "cpu ratio" "old MB" "new MB" output
for folder in "${folders[@]}"; do
  : > "$work/pairs"
  old_peak=0 new_peak=0 same=same
  for ((i = 0; i < runs; i++)); do
    read -r ow oc op < <(run_once "$old" "$folder" "$work/old")
    read -r nw nc np < <(run_once "$new" "$folder" "$work/new")
    echo "$ow $nw $oc $nc" >> "$work/pairs"
    (( op > old_peak )) && old_peak=$op
    (( np > new_peak )) && new_peak=$np
    diff -r -q "$work/old" "$work/new" > /dev/null || same=DIFFERENT
  done
  printf '%-12s %9s %9s %9s %9s %11.3f %11.3f %9.1f %9.1f %s\n' "$(basename "$folder")" \
    "$(awk '{ print $1 }' "$work/pairs" | median)" "$(awk '{ print $2 }' "$work/pairs" | median)" \
    "$(awk '{ print $3 }' "$work/pairs" | median)" "$(awk '{ print $4 }' "$work/pairs" | median)" \
    "$(awk '{ print $2 / $1 }' "$work/pairs" | median)" \
    "$(awk '{ print ($3 > 0 ? $4 / $3 : 1) }' "$work/pairs" | median)" \
    "$(awk -v k="$old_peak" 'BEGIN { print k / 1024 }')" "$(awk -v k="$new_peak" 'BEGIN { print k / 1024 }')" "$same"
done
