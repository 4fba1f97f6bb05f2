#!/usr/bin/env bash
# Builds the Debian package of the installed program in a build folder of
# its own, without the tests (the program then holds no test code).
#
#   build.sh SOURCE_DIR PACKAGE_BUILD_DIR [VERSION]
#
# The folder sits beside the test build, at the same depth, so that ccache
# finds the objects the test build compiled.
set -euo pipefail
SOURCE=$1
BUILD=$2
VERSION=${3:-}
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXILARK_TESTS=OFF -DLEXILARK_BENCH=OFF)
[ -n "$VERSION" ] && args+=("-DLEXILARK_PACKAGE_VERSION=$VERSION")
cmake -S "$SOURCE" -B "$BUILD" "${args[@]}" >/dev/null
cmake --build "$BUILD" -j2 >/dev/null
cmake --build "$BUILD" --target package >/dev/null
ls "$BUILD"/lexilark_*_amd64.deb
