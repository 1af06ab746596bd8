#!/usr/bin/env bash
# Fails when a C++ file under src/ tests/ fuzz/ bench/ is not formatted as
# .clang-format says, and lists those files. With --fix it formats them in
# place instead. $CLANG_FORMAT names another clang-format.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" >/dev/null || { echo "$clang_format is missing (Debian package clang-format)" >&2; exit 1; }
cd "$here"
mapfile -t files < <(git ls-files -- 'src/*' 'tests/*' 'fuzz/*' 'bench/*' | grep -E '\.(cpp|h)$')
[ ${#files[@]} -gt 0 ] || { echo "no C++ files found" >&2; exit 1; }
if [ "${1:-}" = --fix ]; then
  "$clang_format" -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  "$clang_format" --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf '%s\n' "${bad[@]}" >&2
  echo "${#bad[@]} of ${#files[@]} files are not formatted; scripts/check-format.sh --fix formats them" >&2
  exit 1
fi
echo "${#files[@]} files formatted"
