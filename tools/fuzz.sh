#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (sanitizers on), then runs
# each named target for SECONDS, one after another, one process at a time.
#
#   tools/fuzz.sh [-m] [-k] SECONDS [TARGET...]   targets: corto ply ply_model frame shader (default: all)
#     -m  afterwards, merge the inputs that add coverage into the target's committed corpus
#     -k  keep going after a crash (libFuzzer's fork mode), saving every one found
#
# Each run starts from the committed corpus and from what earlier runs kept in
# $FUZZ_BUILD/corpus/TARGET; crash, timeout and out-of-memory inputs go to the
# target's crashers folder, which the normal test suite replays. The full
# libFuzzer output is in $FUZZ_BUILD/logs/TARGET.log.
#   FUZZ_BUILD  the clang build folder (build-fuzz)
#   FUZZ_JOBS   build parallelism (2)
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  sed -n '5,7p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

merge=0 keep=0
while getopts mk opt; do
  case $opt in
    m) merge=1 ;;
    k) keep=1 ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] && [[ $1 =~ ^[0-9]+$ ]] || usage
seconds=$1
shift
targets=("$@")
all=(corto ply ply_model frame shader)
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

# Where each target's committed corpus/ and dictionary lie, and where its crashers go.
declare -A seeds=([corto]=lib/corto/fuzz [ply]=lib/ply/fuzz [ply_model]=lib/ply/fuzz
                  [frame]=tools/fuzz/frame [shader]=tools/fuzz/shader)
declare -A crashers=([corto]=lib/corto/tests/crashers [ply]=lib/ply/fuzz/crashers
                     [ply_model]=tools/fuzz/ply_model/crashers [frame]=tools/fuzz/frame/crashers
                     [shader]=tools/fuzz/shader/crashers)
for t in "${targets[@]}"; do
  [ -n "${seeds[$t]:-}" ] || { echo "fuzz.sh - unknown target $t (${all[*]})" >&2; exit 2; }
done

build=${FUZZ_BUILD:-build-fuzz}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DTORVANEL_SANITIZE=ON -DTORVANEL_TESTS=OFF -DTORVANEL_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j"${FUZZ_JOBS:-2}" --target "${targets[@]/%/_fuzz}"
mkdir -p "$build/logs"
# The shader target writes its files per input: keep that off the disk.
[ -d /dev/shm ] && export TMPDIR=${TMPDIR:-/dev/shm}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

found=0
for t in "${targets[@]}"; do
  dir=${seeds[$t]}
  kept=$build/corpus/$t
  log=$build/logs/$t.log
  mkdir -p "$kept" "${crashers[$t]}"
  flags=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 -print_final_stats=1
         -artifact_prefix="${crashers[$t]}/")
  for dict in "$dir"/*.dict; do [ -f "$dict" ] && flags+=(-dict="$dict"); done
  [ $keep -eq 1 ] && flags+=(-fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1)
  before=$(ls "${crashers[$t]}")
  echo "== $t: $seconds s, log $log"
  status=0
  "$build/fuzz/${t}_fuzz" "${flags[@]}" "$kept" "$dir/corpus" >"$log" 2>&1 || status=$?

  # The last progress line carries the run count and the coverage.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  echo "   last: ${last:-none}"
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" |
    sed 's/^/   /' || true
  echo "   corpus: $(ls "$kept" | wc -l) kept by runs, $(ls "$dir/corpus" | wc -l) committed"
  grep -E '^SUMMARY:|ERROR: libFuzzer' "$log" | sort | uniq -c | sed 's/^/   /' || true
  for artifact in $(comm -13 <(echo "$before") <(ls "${crashers[$t]}")); do
    echo "   saved: ${crashers[$t]}/$artifact"
    found=1
  done
  [ $status -eq 0 ] || { echo "   libFuzzer exited with $status"; found=1; }

  if [ $merge -eq 1 ]; then
    "$build/fuzz/${t}_fuzz" -merge=1 -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 "$dir/corpus" "$kept" 2>&1 |
      grep -E '^MERGE-OUTER: .*new files' | sed 's/^/   /' || true
  fi
done
exit $found
