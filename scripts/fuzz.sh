#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (or $FUZZ_BUILD_DIR) and runs
# each for the given number of seconds (default 60), one after another.
# The corpus grows in the build folder from run to run; an input that makes
# a target fail is written to <build>/failed/<target>/ and the script fails.
# Keep such an input in fuzz/found/<target>/ once fixed: the tests replay it.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(interchange settings templates)

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DMAKENC_FUZZ=ON -DMAKENC_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  failed=$build/failed/$target
  mkdir -p "$corpus" "$failed"
  # Seeds and every input once found join the corpus under their own names.
  while read -r t glob; do
    [ "$t" = "$target" ] || continue
    for f in $here/$glob; do [ -f "$f" ] && cp "$f" "$corpus/seed-$(echo "$f" | md5sum | cut -c1-12)"; done
  done < <(grep -v '^#' "$here/fuzz/seeds.list")
  find "$here/fuzz/found/$target" -type f ! -name '.*' -exec cp {} "$corpus/" \;
  echo "fuzzing $target for ${seconds}s"
  # Settings and templates are short files: without a limit of their own the
  # fuzzer would grow its inputs no longer than the seeds.
  case $target in
    settings) size=(-max_len=512 -len_control=0) ;;
    templates) size=(-max_len=2048 -len_control=0) ;;
    *) size=() ;;
  esac
  log=$build/fuzz-$target.log
  if ! (cd "$build" && ./fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 "${size[@]}" \
          -print_final_stats=1 -artifact_prefix="$failed/" "$corpus" >"$log" 2>&1) ||
     [ -n "$(ls -A "$failed")" ]; then
    tail -n 60 "$log" >&2
    echo "fuzz target $target failed; inputs in $failed" >&2
    exit 1
  fi
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss)' "$log"
done
