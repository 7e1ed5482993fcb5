#!/usr/bin/env bash
# Installs the Debian packages that building and testing Drovanel needs (with
# Qt 6 as well when DROVANEL_QT_MAJOR is 6), and those named as arguments, when
# any of them is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake g++ make qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev
          qttranslations5-l10n clang libclang-rt-14-dev xvfb xauth fonts-noto-cjk git python3
          help2man pkg-config bash-completion rapidjson-dev libxxhash-dev libopencc-dev strace)
if [ "${DROVANEL_QT_MAJOR:-5}" = 6 ]; then
    packages+=(qt6-base-dev qt6-5compat-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
fi
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
