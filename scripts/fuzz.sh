#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, AddressSanitizer and UBSan) and runs each
# one, or the named ones, for SECONDS on its corpus; prints the executions and the coverage of
# every target. A finding stops that target, is kept as build-fuzz/findings/<target>/crash-* and
# makes the script fail.
#   scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 30 point_file rich_text
# The corpus of each target grows in build-fuzz/corpus/<target>/ (the repository's seeds are
# read, never written). FUZZ_JOBS (default 1) runs that many targets at a time; FUZZ_ARGS adds
# libFuzzer options.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift

# A fresh machine gets the compiler and the libraries first, as scripts/test.sh does.
scripts/setup.sh --packages-only || exit 1

export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DMERILON_BUILD_FUZZ=ON -DMERILON_BUILD_QT=OFF -DMERILON_BUILD_TESTS=OFF \
  -DMERILON_BUILD_BENCH=OFF >/dev/null || exit 1

bin=build-fuzz/bin
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*.cpp; do
    n=$(basename "$f" .cpp)
    grep -qE 'LLVMFuzzerTestOneInput\(.*\) *\{' "$f" && targets+=("$n")
  done
fi
build_targets=()
for t in "${targets[@]}"; do build_targets+=("fuzz_$t"); done
cmake --build build-fuzz -j2 --target "${build_targets[@]}" >/dev/null || {
  echo "build of the fuzz targets failed" >&2
  exit 1
}

run_one() {
  local t=$1 exe=$bin/fuzz_$1
  local corpus=build-fuzz/corpus/$t findings=build-fuzz/findings/$t log=build-fuzz/logs/$t.log
  mkdir -p "$corpus" "$findings" build-fuzz/logs
  local seeds=()
  while IFS= read -r d; do [ -n "$d" ] && seeds+=("$d"); done <"$exe.seeds"
  local dict=()
  [ -f "$exe.dict" ] && dict=("-dict=$exe.dict")
  # Leak checking stays on; -rss_limit_mb keeps a runaway allocation a finding.
  # shellcheck disable=SC2086
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$exe" "$corpus" "${seeds[@]}" "${dict[@]}" -max_total_time="$seconds" -timeout=25 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    ${FUZZ_ARGS:-} >"$log" 2>&1
  local rc=$?
  local execs cov ft
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  if [ $rc -eq 0 ]; then
    printf '%-20s ok       executions %-10s cov %-6s ft %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}"
  else
    printf '%-20s FINDING  executions %-10s cov %-6s ft %s  (see %s)\n' "$t" "${execs:-?}" \
      "${cov:-?}" "${ft:-?}" "$log"
    grep -m3 -E 'ERROR|property failed|runtime error' "$log" | sed 's/^/    /'
  fi
  return $rc
}

# The targets write their input to a file; memory is quicker than the disk for that.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=${TMPDIR:-/dev/shm}
jobs=${FUZZ_JOBS:-1}
status=0
running=0
for t in "${targets[@]}"; do
  if [ ! -x "$bin/fuzz_$t" ]; then
    echo "no fuzz target $t" >&2
    status=1
    continue
  fi
  if [ "$jobs" -le 1 ]; then
    run_one "$t" || status=1
  else
    run_one "$t" &
    running=$((running + 1))
    if [ $running -ge "$jobs" ]; then
      wait -n || status=1
      running=$((running - 1))
    fi
  fi
done
while [ $running -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
