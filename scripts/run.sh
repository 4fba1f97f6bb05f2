#!/usr/bin/env bash
# Builds Lexilark, lays out its program folder (build/Lexilark: the program,
# users/, wordlib/ with the sample libraries, the data lists) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXILARK_TESTS=OFF -DLEXILARK_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target lexilark program_folder
exec "$BUILD/Lexilark/lexilark"
