# Sourced by the benchmark scripts: RUNS whole `makenc --batch` runs, each
# on a fresh copy of a host folder, timed from the shell with the peak memory
# from /usr/bin/time.
#
#   timed_batch_runs MAKENC FOLDER RUNS WORK
#
# Leaves the wall times, fastest first, in the array `sorted` (seconds) and
# the largest peak in `peak` (KB). WORK is a scratch folder.
timed_batch_runs() {
  local makenc=$1 folder=$2 runs=$3 work=$4 i start end kb
  local times=()
  peak=0
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/run" && cp -r "$folder" "$work/run"
    start=$(date +%s%N)
    (cd "$work/run" && /usr/bin/time -f "%M" -o "$work/time" "$makenc" --batch > /dev/null)
    end=$(date +%s%N)
    times+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')")
    read -r kb < "$work/time"
    (( kb > peak )) && peak=$kb
  done
  mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
}
