#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (or $FUZZ_BUILD_DIR) and runs
# them one after another on one core.
#   scripts/fuzz.sh [seconds] [target...]      each target for `seconds` (default 30)
#   scripts/fuzz.sh --campaign [target...]     each fast target to $FUZZ_RUNS executions
#                                              (default 10 million) or $FUZZ_MAX_TIME
#                                              seconds if set, then its corpus minimised
#                                              into fuzz/corpus/<target>/
# The corpus grows in the build folder from run to run, starting from the
# seeds, the kept corpus and the inputs once found. An input that makes a
# target fail is written to <build>/failed/<target>/ and the script fails.
# Keep such an input in fuzz/found/<target>/ once fixed: the tests replay it.
# A campaign writes its table to <build>/campaign.tsv and goes on with the
# next target after a failure.
set -euo pipefail
# The whole script is one block: bash reads it before running any of it, so
# the script may be edited while a campaign of hours runs from it.
{
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$here/build-fuzz}
whole_job=(interchange settings templates)
fast=(read_drawing read_settings read_options read_templates material_map read_nc)

campaign=false
if [ "${1:-}" = "--campaign" ]; then
  campaign=true
  shift
  targets=("$@")
  [ ${#targets[@]} -eq 0 ] && targets=("${fast[@]}")
else
  seconds=${1:-30}
  shift || true
  targets=("$@")
  [ ${#targets[@]} -eq 0 ] && targets=("${whole_job[@]}" "${fast[@]}")
fi
runs=${FUZZ_RUNS:-10000000}
limit=()
[ -n "${FUZZ_MAX_TIME:-}" ] && limit=(-max_total_time="$FUZZ_MAX_TIME")

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DMAKENC_FUZZ=ON -DMAKENC_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

# Short files get a length limit of their own: without one the fuzzer would
# grow its inputs no longer than the seeds. The fast targets but the settings
# reader leave out the entropic schedule: its bookkeeping of features took
# more time than the stage under test.
options_of() {
  case $1 in
    settings | read_settings | read_options) echo "-max_len=512 -len_control=0" ;;
    templates) echo "-max_len=2048 -len_control=0" ;;
    read_templates) echo "-max_len=2048 -len_control=0 -entropic=0" ;;
    # Ten bytes of conditions and at most 48 entities of six bytes.
    material_map) echo "-max_len=320 -entropic=0" ;;
    # Long drawings are slow to read under the sanitizers; a few dozen
    # records reach every path of the reader and the chaining.
    read_drawing) echo "-max_len=2048 -entropic=0" ;;
    *) echo "" ;;
  esac
}

# A whole job may take seconds under the sanitizers; one stage in memory not.
timeout_of() {
  case " ${whole_job[*]} " in
    *" $1 "*) echo 30 ;;
    *) echo 10 ;;
  esac
}

# Seeds, the kept corpus and every input once found, under their own names.
gather_corpus() {
  local target=$1 corpus=$2
  mkdir -p "$corpus"
  while read -r t glob; do
    [ "$t" = "$target" ] || continue
    for f in $here/$glob; do [ -f "$f" ] && cp "$f" "$corpus/seed-$(echo "$f" | md5sum | cut -c1-12)"; done
  done < <(grep -v '^#' "$here/fuzz/seeds.list")
  for kept in "$here/fuzz/found/$target" "$here/fuzz/corpus/$target"; do
    [ -d "$kept" ] && find "$kept" -type f ! -name '.*' -exec cp {} "$corpus/" \;
  done
  return 0
}

if ! $campaign; then
  for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    failed=$build/failed/$target
    mkdir -p "$failed"
    gather_corpus "$target" "$corpus"
    echo "fuzzing $target for ${seconds}s"
    log=$build/fuzz-$target.log
    # shellcheck disable=SC2046
    if ! (cd "$build" && ./fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout="$(timeout_of "$target")" \
            -rss_limit_mb=2048 $(options_of "$target") -print_final_stats=1 -artifact_prefix="$failed/" \
            "$corpus" >"$log" 2>&1) ||
       [ -n "$(ls -A "$failed")" ]; then
      tail -n 60 "$log" >&2
      echo "fuzz target $target failed; inputs in $failed" >&2
      exit 1
    fi
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss)' "$log"
  done
  exit 0
fi

table=$build/campaign.tsv
[ -f "$table" ] ||
  printf 'target\texecutions\tseconds\texec/s\tcpu seconds\texec/cpu s\tcov\tft\tcorpus files\tcorpus bytes\tfindings\n' \
    >"$table"
status=0
for target in "${targets[@]}"; do
  corpus=$build/campaign/$target
  failed=$build/failed/$target
  mkdir -p "$failed"
  gather_corpus "$target" "$corpus"
  log=$build/campaign-$target.log
  echo "campaign: $target to $runs executions (log $log)"
  start=$(date +%s)
  # The processor time the target had: on a shared machine the time on the
  # clock says little.
  cpu_log=$build/campaign-$target.cpu
  TIMEFORMAT='%U %S'
  # Without the stacks of allocations a sanitizer report is shorter; the
  # input it keeps gives them back when it is run again. They cost a tenth
  # of the time of the targets that read text.
  # shellcheck disable=SC2046
  { time (cd "$build" && ASAN_OPTIONS=malloc_context_size=0 ./fuzz/fuzz_"$target" -runs="$runs" "${limit[@]}" -timeout="$(timeout_of "$target")" \
            -rss_limit_mb=2048 $(options_of "$target") -print_final_stats=1 -artifact_prefix="$failed/" \
            "$corpus" >"$log" 2>&1) || status=1; } 2>"$cpu_log"
  elapsed=$(($(date +%s) - start))
  cpu=$(awk '{ printf "%d", $1 + $2 }' "$cpu_log")
  executions=$(grep -oP '^stat::number_of_executed_units: \K[0-9]+' "$log" || echo 0)
  last=$(grep -E '^#[0-9]+[[:space:]]' "$log" | tail -n 1 || true)
  cov=$(echo "$last" | grep -oP 'cov: \K[0-9]+' || echo '?')
  ft=$(echo "$last" | grep -oP 'ft: \K[0-9]+' || echo '?')
  # The minimised corpus replaces the kept one.
  kept=$here/fuzz/corpus/$target
  merged=$build/merged/$target
  rm -rf "$merged" && mkdir -p "$merged"
  # shellcheck disable=SC2046
  (cd "$build" && ./fuzz/fuzz_"$target" -merge=1 $(options_of "$target") -timeout="$(timeout_of "$target")" \
     "$merged" "$corpus" >"$build/merge-$target.log" 2>&1)
  rm -rf "$kept" && mkdir -p "$kept" && cp "$merged"/* "$kept/" 2>/dev/null || true
  files=$(find "$kept" -type f | wc -l)
  # The inputs' own bytes, not the folder's entries.
  bytes=$(find "$kept" -type f -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }')
  findings=$(find "$failed" -type f | wc -l)
  rate=$((executions / (elapsed > 0 ? elapsed : 1)))
  cpu_rate=$((executions / (cpu > 0 ? cpu : 1)))
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$target" "$executions" "$elapsed" "$rate" "$cpu" \
    "$cpu_rate" "$cov" "$ft" "$files" "$bytes" "$findings" | tee -a "$table"
  [ "$findings" -eq 0 ] || status=1
done
exit $status
}
