#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor from the build
# directory, where its Chinese translation drovanel_zh.qm is found.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh"
build=$(bash "$root/scripts/build.sh" | tail -n 1)
cd "$build"
exec ./drovanel
