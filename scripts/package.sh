#!/usr/bin/env bash
# Installs what is missing, builds Drovanel for the prefix /usr in build-package/
# (or $DROVANEL_PACKAGE_DIR), linked with full RELRO as Debian hardens its
# packages, and makes its Debian package there with CPack.
# Prints the package's path on standard output.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh" dpkg-dev
build=$(DROVANEL_BUILD_DIR=${DROVANEL_PACKAGE_DIR:-$root/build-package} \
    DROVANEL_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF \
        -DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro,-z,now ${DROVANEL_CMAKE_ARGS:-}" \
    bash "$root/scripts/build.sh" | tail -n 1)
(cd "$build" && cpack -G DEB >&2)
ls "$build"/drovanel_*.deb
