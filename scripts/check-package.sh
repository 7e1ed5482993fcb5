#!/usr/bin/env bash
# Makes the Debian package, checks it with lintian, installs it on this machine
# (as root) and checks the installed editor as a user meets it: its version and
# help, its desktop entry and AppStream metadata, its manual page, its bash
# completion, and Chinese under a Chinese locale from an empty folder. Removes
# the package again. Part of .ci/run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh" lintian desktop-file-utils appstream man-db
package=$(bash "$root/scripts/package.sh" | tail -n 1)
lintian --fail-on error "$package"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends "$package" >/dev/null
trap 'apt-get remove -y drovanel >/dev/null' EXIT

[ "$(drovanel --version)" = "drovanel 1.0" ]
[[ $(drovanel-res --help) == *"check FILE..."* ]]
desktop-file-validate /usr/share/applications/org.drovanel.Drovanel.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.drovanel.Drovanel.metainfo.xml
man -w drovanel-res >/dev/null
# The completion that bash-completion loads on demand completes the commands.
bash -c 'source /usr/share/bash-completion/bash_completion
    _completion_loader drovanel-res
    COMP_WORDS=(drovanel-res ex); COMP_CWORD=1; COMP_LINE="drovanel-res ex"; COMP_POINT=15
    _drovanel_res drovanel-res ex drovanel-res
    [ "${COMPREPLY[*]}" = export ]'
empty=$(mktemp -d)
[[ $(cd "$empty" && LANGUAGE= LC_ALL= LANG=zh_CN.UTF-8 drovanel --help) == *"游戏 RES 文件的编辑器。"* ]]
rmdir "$empty"
echo "check-package.sh: the package installs and works"
