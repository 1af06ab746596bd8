#!/usr/bin/env bash
# The sheet generator of the benchmarks, bench/tools/make_sheet.py: the same
# arguments give the same bytes, the sheet edge is there only when asked
# for, and every kind of sheet it writes runs whole through makenc --batch
# into a program the G-code check accepts.
#   tests/tools/make_sheet_test.sh MAKENC
set -euo pipefail
makenc=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
gen=$here/bench/tools/make_sheet.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
records() { sed -n 's/^[0-9]* parts, \([0-9]*\) records.*/\1/p' <<<"$1"; }

a=$(python3 "$gen" --parts 12 --seed 4 --out "$work/a")
python3 "$gen" --parts 12 --seed 4 --out "$work/b" >/dev/null
cmp -s "$work/a/JWC_TEMP.TXT" "$work/b/JWC_TEMP.TXT" || fail "the same arguments gave other bytes"
python3 "$gen" --parts 12 --seed 5 --out "$work/c" >/dev/null
! cmp -s "$work/a/JWC_TEMP.TXT" "$work/c/JWC_TEMP.TXT" || fail "another seed gave the same sheet"
n=$(python3 "$gen" --parts 12 --seed 4 --no-edge --out "$work/d")
[ "$(records "$a")" -eq $(($(records "$n") + 4)) ] || fail "the edge is not four lines: '$a' / '$n'"
[ "$(grep -c -v -E '^(hq|file=|#|ly[0-9]|lc[0-9]|lt1)' "$work/a/JWC_TEMP.TXT")" -eq "$(records "$a")" ] ||
  fail "the count printed is not the records written"
! grep -q -E '[eE][-+]?[0-9]|\.[0-9]{5}' "$work/a/JWC_TEMP.TXT" || fail "a number with an exponent or five places"
python3 "$gen" --parts 0 --out "$work/e" 2>/dev/null && fail "0 parts were taken"

run() {  # name, generator arguments..., --, makenc arguments...
  local name=$1; shift
  local gen_args=() run_args=()
  while [ "$1" != -- ]; do gen_args+=("$1"); shift; done
  shift
  run_args=("$@")
  python3 "$gen" --out "$work/$name" "${gen_args[@]}" >/dev/null
  (cd "$work/$name" && "$makenc" --batch "${run_args[@]}" >out 2>err) || fail "$name: $(cat "$work/$name/err")"
  local nc=("$work/$name"/Zemlak/*.nc)
  [ -f "${nc[0]}" ] || fail "$name: no NC program"
  "$here/tests/tools/nc-check" --set-ini "$work/$name/Zemlak/Bin/set.ini" "${nc[0]}" >"$work/$name/check" 2>&1 ||
    fail "$name: the G-code check fails: $(tail -5 "$work/$name/check")"
}
run edged --parts 20 --seed 1 --
run shuffled --parts 20 --seed 2 --shuffle-all -- --check-drawing
run no_outline --parts 20 --seed 3 -- --no-outline
run no_edge --parts 20 --seed 3 --no-edge -- --no-joints
run named --parts 3 --name 表示板 --
[ -f "$work/named/Zemlak/表示板.nc" ] || fail "the drawing name does not name the program"
echo "make_sheet: 5 sheets run whole"
