#!/usr/bin/env bash
# Configures and builds Drovanel into $DROVANEL_BUILD_DIR (default: build/ in the
# clone). Extra CMake options come from $DROVANEL_CMAKE_ARGS. Prints the build
# directory on standard output and everything else on standard error.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${DROVANEL_BUILD_DIR:-$root/build}
case $build in /*) ;; *) build=$root/$build ;; esac

# shellcheck disable=SC2086
cmake -S "$root" -B "$build" ${DROVANEL_CMAKE_ARGS:-} >&2
cmake --build "$build" -j "$(nproc)" >&2
echo "$build"
