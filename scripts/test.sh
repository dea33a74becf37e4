#!/usr/bin/env bash
# Sets up and builds what is missing, then runs the checks that CI runs, each stage timed:
#   normal    the whole test suite on the release build (build/)
#   sanitize  the whole suite built with AddressSanitizer and UBSan, leak checking on
#             (build-asan/)
#   fuzz      every fuzz target for 30 seconds on its corpus (build-fuzz/, clang)
# With stage names as arguments only those run: scripts/test.sh normal
set -euo pipefail
cd "$(dirname "$0")/.."
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(normal sanitize fuzz)
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
jobs=$(nproc)
timings=()

timed() {
  local name=$1 start=$SECONDS
  shift
  echo "=== $name"
  local rc=0
  "$@" || rc=$?
  timings+=("$(printf '%-10s %4d s%s' "$name" $((SECONDS - start)) "$([ $rc -ne 0 ] && echo '  FAILED')")")
  return $rc
}

normal() {
  scripts/setup.sh &&
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
}

sanitize() (
  # Leaks inside Qt's and fontconfig's own caches are theirs (tests/lsan.supp); any other leak
  # fails the suite. The build lists the tests by running them, so it runs with the same options.
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # The random user takes minutes a seed under the sanitizers; the normal stage runs three.
  export MERILON_STRESS_SEEDS=${MERILON_STRESS_SEEDS:-1}
  # -O1 and line tables only: the build is a third quicker, and reports still name file and line.
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERILON_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
    "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all" \
    "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null &&
    cmake --build build-asan -j "$jobs" &&
    (cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
)

fuzz() {
  # Two targets at a time: one per core of the machine CI runs on.
  FUZZ_JOBS=${FUZZ_JOBS:-2} scripts/fuzz.sh 30
}

status=0
for s in "${stages[@]}"; do
  case $s in
    normal | sanitize | fuzz) timed "$s" "$s" || status=1 ;;
    *)
      echo "unknown stage $s (normal, sanitize, fuzz)" >&2
      exit 2
      ;;
  esac
  [ $status -ne 0 ] && break
done
echo "=== time per stage"
printf '%s\n' "${timings[@]}"
exit $status
