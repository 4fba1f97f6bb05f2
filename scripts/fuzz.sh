#!/usr/bin/env bash
# Runs every fuzz target (or those named) for a chosen time each, starting
# from its seed corpus; new inputs go to a work corpus beside the build, and
# findings (crashes, broken round trips) to build-fuzz/fuzz-findings/. The
# targets are built optimised (with the sanitizers) in a build of their own,
# without the windows, so they run several times faster than the Debug
# build the suite replays the corpora in.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. bash scripts/fuzz.sh 300 wordlib config
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
shift || true
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
TARGETS=("$@")
[ ${#TARGETS[@]} -eq 0 ] && TARGETS=(codec wordlib favourites config textimport datalists helptext answer)
CC=clang-14 CXX=clang++-14 cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLEXILARK_SANITIZE=ON -DLEXILARK_FUZZ=ON -DLEXILARK_GUI=OFF -DLEXILARK_TESTS=OFF -DLEXILARK_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target "${TARGETS[@]/#/fuzz_}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${TARGETS[@]}"; do
  work="$BUILD/fuzz-corpus/$t"
  findings="$BUILD/fuzz-findings/$t"
  mkdir -p "$work" "$findings"
  echo "== fuzz_$t for ${SECONDS_EACH}s"
  if ! "$BUILD/tests/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" "tests/fuzz/corpus/$t" 2>"$BUILD/fuzz-$t.log"; then
    status=1
    echo "   finding kept in $findings (log: $BUILD/fuzz-$t.log)"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$BUILD/fuzz-$t.log" | sed 's/^/   /' || true
done
exit $status
