#!/usr/bin/env bash
# Makes the README's screenshots again, docs/screenshot-en.png and
# docs/screenshot-zh.png: installs what is missing, builds, writes a sample RES
# file, runs the editor on it under Xvfb, expands the tree and selects a weapon
# with seven Part1 and three Part2 entries by typing, and captures the window,
# once in English and once in Chinese. Run it after changing the interface.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/install-deps.sh" python3 xdotool imagemagick optipng
build=$(bash "$root/scripts/build.sh" | tail -n 1)
if [ ! -f "$build/drovanel_zh.qm" ]; then
    echo "screenshots.sh: $build/drovanel_zh.qm is missing" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=
editor_pid=
cleanup() {
    for pid in $editor_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

python3 "$root/scripts/make-sample-res.py" "$work/sample.res"

# Xvfb picks a free display and writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q '^[0-9]' "$work/display" && break
    sleep 0.1
done
if ! grep -q '^[0-9]' "$work/display"; then
    echo "screenshots.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

grab() {
    import -window "$1" "$2"
}

# Runs the editor in directory $1 (its translation is looked for there) and
# captures its window into $2.
capture() {
    local directory=$1 output=$2
    (cd "$directory" && exec env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
        -u QT_SCALE_FACTOR QT_QPA_PLATFORM=xcb "$build/drovanel" "$work/sample.res") &
    editor_pid=$!

    local window
    if ! window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$editor_pid" | head -n 1); then
        echo "screenshots.sh: the editor showed no window for $output" >&2
        exit 1
    fi
    xdotool windowfocus --sync "$window"
    grab "$window" "$work/before.ppm"
    # The tree starts on the file node: * expands everything below it, and the
    # fifth row down is the second weapon, the one with the entries.
    xdotool key asterisk Down Down Down Down Down

    # The editor shows no sign of having handled the keys, so the window is
    # captured until it has changed and then looks the same twice running.
    grab "$window" "$work/previous.ppm"
    local settled=false
    for _ in $(seq 50); do
        sleep 0.2
        grab "$window" "$work/current.ppm"
        if cmp -s "$work/previous.ppm" "$work/current.ppm" \
                && ! cmp -s "$work/before.ppm" "$work/current.ppm"; then
            settled=true
            break
        fi
        mv "$work/current.ppm" "$work/previous.ppm"
    done
    if [ "$settled" != true ]; then
        echo "screenshots.sh: the window of $output did not settle" >&2
        exit 1
    fi

    # Without the time chunks, an unchanged interface gives unchanged files.
    convert "$work/current.ppm" -define png:exclude-chunks=date,time "$output"
    optipng -quiet -o5 -strip all "$output"
    kill "$editor_pid"
    wait "$editor_pid" || true
    editor_pid=
    echo "$output"
}

mkdir -p "$root/docs" "$work/english"
capture "$build" "$root/docs/screenshot-zh.png"
capture "$work/english" "$root/docs/screenshot-en.png"
