#!/usr/bin/env bash
# Configures and builds Drovanel with Qt $DROVANEL_QT_MAJOR (5, the default, or
# 6) into $DROVANEL_BUILD_DIR (default: build/ in the clone, build-qt6/ for
# Qt 6). Extra CMake options come from $DROVANEL_CMAKE_ARGS. Prints the build
# directory on standard output and everything else on standard error.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
major=${DROVANEL_QT_MAJOR:-5}
default_build=$root/build
[ "$major" = 5 ] || default_build=$root/build-qt$major
build=${DROVANEL_BUILD_DIR:-$default_build}
case $build in /*) ;; *) build=$root/$build ;; esac

# shellcheck disable=SC2086
cmake -S "$root" -B "$build" -DDROVANEL_QT_MAJOR="$major" ${DROVANEL_CMAKE_ARGS:-} >&2
cmake --build "$build" -j "$(nproc)" >&2
echo "$build"
