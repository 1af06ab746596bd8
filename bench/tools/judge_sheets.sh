#!/usr/bin/env bash
# Counts the faults the judge finds in the programs of the judged runs of
# tests/app/judged_sheets_test.cpp (the same sheets and plates): generates
# each, runs makenc --batch on it as the test does, judges the program with
# the command-line judge and prints one line of counts per run.
#   bench/tools/judge_sheets.sh [BUILD_DIR]      (default build/)
# The folders stay in $JUDGE_SHEETS_DIR (default a temporary folder, removed
# at the end) with judge.txt beside each program.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${JUDGE_SHEETS_DIR:-$(mktemp -d)}
[ -n "${JUDGE_SHEETS_DIR:-}" ] || trap 'rm -rf "$work"' EXIT
kinds="lead_in_in_material kerf_in_material closed_cut_open cut_before_enclosed lead_in_crosses not_cut off_contour"

judge() {  # name, flags, generator and its arguments...
  local name=$1 flags=$2 folder=$work/$1
  shift 2
  rm -rf "$folder"
  python3 "$here/$1" "${@:2}" --out "$folder" >/dev/null
  cp "$folder/JWC_TEMP.TXT" "$folder/drawing.txt"
  # shellcheck disable=SC2086
  (cd "$folder" && "$build/makenc" --batch $flags >out 2>err) || { echo "$name: the run failed"; return; }
  # shellcheck disable=SC2086
  "$build/tests/nc_judge" $flags --drawing "$folder/drawing.txt" "$folder" >"$folder/judge.txt"
  local counts=""
  for kind in $kinds; do counts+=$(printf " %5s" "$(awk -v k="$kind" '$1 == k && NF == 2 {print $2}' "$folder/judge.txt")"); done
  printf "%-22s%s   %s\n" "$name" "$counts" "$(tail -1 "$folder/judge.txt")"
}

sheet() { judge "$1" "--nested --no-outline" bench/tools/make_sheet.py --shapes mixed --parts 400 --seed "$2" \
            --width "$3" --height "$4" --approach "$5"; }
plate() { judge "$1" "" bench/make_plate.py --width "$2" --height "$3" --holes "$4" --approach "$5"; }

echo "in material: lead-in start (lead), kerf side (kerf); closed_cut_open (open), cut_before_enclosed (order),"
echo "lead_in_crosses (cross), not_cut (uncut), off_contour (off)"
printf "%-22s %5s %5s %5s %5s %5s %5s %5s\n" run lead kerf open order cross uncut off
sheet sheet_1000x500_a5 1 1000 500 5
sheet sheet_1000x500_a10 2 1000 500 10
sheet sheet_1500x750_a7 3 1500 750 7
sheet sheet_2000x1000_a3 4 2000 1000 3
sheet sheet_2000x1000_a10 5 2000 1000 10
sheet sheet_3000x1500_a3 6 3000 1500 3
sheet sheet_3000x1500_a8 7 3000 1500 8
plate plate_1000x500_a5 1000 500 60 5
plate plate_2000x1000_a10 2000 1000 120 10
plate plate_3000x1500_a3 3000 1500 300 3
