#!/usr/bin/env bash
# Counts the faults the judge finds in the programs made from the hard
# drawings of bench/tools/make_hard_sheet.py: each class on a sheet of
# 1000 x 500 at approach 5, all classes together on sheets of 3000 x 1500 at
# approach lengths 1, 3, 10 and 20, each sheet run with --nested
# --no-outline, with --nested and with --nested --no-joints; and single
# plates: of holes alone with no options, with discs standing in bores with
# --nested. One line of counts per run, as bench/tools/judge_sheets.sh
# prints them.
#   bench/tools/judge_hard_sheets.sh [BUILD_DIR]      (default build/)
# The folders stay in $JUDGE_SHEETS_DIR (default a temporary folder, removed
# at the end) with judge.txt beside each program.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${JUDGE_SHEETS_DIR:-$(mktemp -d)}
[ -n "${JUDGE_SHEETS_DIR:-}" ] || trap 'rm -rf "$work"' EXIT
kinds="lead_in_in_material kerf_in_material closed_cut_open cut_before_enclosed lead_in_crosses not_cut off_contour"

judge() {  # name, flags, generator arguments...
  local name=$1 flags=$2 folder=$work/$1 judge_flags=""
  shift 2
  rm -rf "$folder"
  python3 "$here/bench/tools/make_hard_sheet.py" "$@" --out "$folder" >/dev/null
  cp "$folder/JWC_TEMP.TXT" "$folder/drawing.txt"
  # The judge takes the options that change what is material and cut.
  for flag in $flags; do
    case $flag in --nested | --no-outline) judge_flags+=" $flag" ;; esac
  done
  # shellcheck disable=SC2086
  (cd "$folder" && "$build/makenc" --batch $flags >out 2>err) || { echo "$name: the run failed"; return; }
  # shellcheck disable=SC2086
  "$build/tests/nc_judge" $judge_flags --drawing "$folder/drawing.txt" "$folder" >"$folder/judge.txt"
  local counts=""
  for kind in $kinds; do counts+=$(printf " %5s" "$(awk -v k="$kind" '$1 == k && NF == 2 {print $2}' "$folder/judge.txt")"); done
  printf "%-42s%s   %s\n" "$name" "$counts" "$(tail -1 "$folder/judge.txt")"
}

flag_sets=("--nested --no-outline" "--nested" "--nested --no-joints")
tags=("nested_no_outline" "nested" "nested_no_joints")
sheet() {  # class, width, height, approach, parts, seed
  for k in 0 1 2; do
    judge "$1_$2x$3_a$4_${tags[$k]}" "${flag_sets[$k]}" --class "$1" --width "$2" --height "$3" \
      --approach "$4" --parts "$5" --seed "$6"
  done
}
# A plate of holes alone as it is run; one with discs and washers standing
# in bores with every part material.
plate() {
  judge "plate_holes_$1x$2_a$3" "" --class plate --holes-only --width "$1" --height "$2" --approach "$3" \
    --parts "$4" --seed "$5"
  judge "plate_$1x$2_a$3_nested" "--nested" --class plate --width "$1" --height "$2" --approach "$3" \
    --parts "$4" --seed "$5"
}

echo "in material: lead-in start (lead), kerf side (kerf); closed_cut_open (open), cut_before_enclosed (order),"
echo "lead_in_crosses (cross), not_cut (uncut), off_contour (off)"
printf "%-42s %5s %5s %5s %5s %5s %5s %5s\n" run lead kerf open order cross uncut off
seed=1
for class in polyline washers edge_holes slots small frames doubled shared_edges; do
  sheet "$class" 1000 500 5 40 $seed
  seed=$((seed + 1))
done
for approach in 1 3 10 20; do
  sheet all 3000 1500 "$approach" 400 $seed
  seed=$((seed + 1))
done
plate 1000 500 5 40 $seed
for approach in 1 3 10 20; do
  seed=$((seed + 1))
  plate 3000 1500 "$approach" 300 $seed
done
