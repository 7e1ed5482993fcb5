#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor from the build
# directory, where its Chinese translation drovanel_zh.qm is found. A RES file
# given as the argument is opened at start.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
file=()
[ $# -gt 0 ] && file=("$(realpath -- "$1")")
bash "$root/scripts/install-deps.sh"
build=$(bash "$root/scripts/build.sh" | tail -n 1)
cd "$build"
exec ./drovanel "${file[@]}"
