#!/usr/bin/env bash
# Measures the text rule: installs what is missing (jieba's dictionary, rime's
# essay and opencc), builds, writes the corpus of held-out names and of whole
# files (scripts/make-text-corpus.py) into the build directory, and prints the
# share of names shown as they were written, per class and per kind of file,
# beside the character-table rule it replaced, and the rule's speed. --misread
# lists the names shown otherwise.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh" python3 python3-jieba rime-essay opencc
build=$(bash "$root/scripts/build.sh" | tail -n 1)
/usr/bin/python3 "$root/scripts/make-text-corpus.py" "$build/text-corpus.tsv"
"$build/drovanel_textrule" "$build/text-corpus.tsv" "$@"
