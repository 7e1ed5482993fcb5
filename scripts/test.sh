#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; exits non-zero on any
# failure. $DROVANEL_CTEST_ARGS replaces ctest's default options (-j with the
# number of cores), for example "--repeat until-fail:3 -j4".
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh"
build=$(bash "$root/scripts/build.sh" | tail -n 1)
export QT_QPA_PLATFORM=offscreen
# shellcheck disable=SC2086
ctest --test-dir "$build" --output-on-failure ${DROVANEL_CTEST_ARGS:--j $(nproc)}
