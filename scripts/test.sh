#!/usr/bin/env bash
# Builds everything and runs the whole test suite (GoogleTest, Qt Test on the
# offscreen platform, lxtool checks); then builds the suite again with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang, Debug) together
# with the fuzz targets, and runs it there with every fuzz target on its
# seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
CHECK_BUILD=${CHECK_BUILD_DIR:-$BUILD-check}
# The package test builds the program again beside this build, without
# the tests; relative paths and no working folder in ccache's hashes let
# it reuse this build's objects.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
cmake --build "$BUILD" --target program_folder
export QT_QPA_PLATFORM=offscreen

# Runs the tests of one build. A test that fails is run once more before it
# counts as failed: the window tests start real Qt back ends (audio, X11 on
# a private Xvfb) that have been seen to stall once in a while on a loaded
# machine. A real fault fails both runs; a test that needed the second run
# is listed at the end, so flakiness is seen and mended, not hidden.
FLAKY=()
run_suite() {
  local build=$1
  shift
  if ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600 "$@"; then
    return 0
  fi
  local failed_log="$build/Testing/Temporary/LastTestsFailed.log"
  local first
  first=$(cut -d: -f2- "$failed_log" | sort)
  echo "== Running the failed tests of $build once more"
  local status=0
  ctest --test-dir "$build" --output-on-failure --timeout 600 --rerun-failed "$@" || status=$?
  local again=""
  [ "$status" -ne 0 ] && again=$(cut -d: -f2- "$failed_log" | sort)
  while IFS= read -r name; do
    [ -n "$name" ] && FLAKY+=("$build: $name")
  done < <(comm -23 <(printf '%s\n' "$first") <(printf '%s\n' "$again"))
  return "$status"
}

report_flaky() {
  if [ ${#FLAKY[@]} -gt 0 ]; then
    echo
    echo "== Tests that passed only on their second run (flaky, mend them):"
    printf '   %s\n' "${FLAKY[@]}"
  fi
}
trap report_flaky EXIT

run_suite "$BUILD"

if [ "${LEXILARK_CHECK_BUILD:-1}" = 1 ]; then
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$CHECK_BUILD" -DCMAKE_BUILD_TYPE=Debug \
    -DLEXILARK_SANITIZE=ON -DLEXILARK_FUZZ=ON -DLEXILARK_BENCH=OFF >/dev/null
  cmake --build "$CHECK_BUILD" -j"$(nproc)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
  run_suite "$CHECK_BUILD"
fi
