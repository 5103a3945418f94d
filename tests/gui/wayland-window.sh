#!/bin/sh
# The window under a Wayland compositor: a headless weston on a socket of its own, and every page
# rendered through Qt's Wayland platform. Skipped (77) where weston is not installed.
set -eu
winkavex="$1"
command -v weston >/dev/null 2>&1 || exit 77
work=$(mktemp -d)
trap 'kill "$weston" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY=wayland-kavex-test QT_QPA_PLATFORM=wayland
unset DISPLAY
weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --width=1280 --height=800 \
    >"$work/weston.log" 2>&1 &
weston=$!
tries=0
until [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$weston" 2>/dev/null; then
        echo "weston did not start:" >&2
        cat "$work/weston.log" >&2
        exit 1
    fi
    sleep 0.1
done
mkdir "$work/shots"
"$winkavex" --simulate --screenshots "$work/shots"
for page in Grundkonfiguration Gebührenaufteilung Diagnosemodus Traymenü; do
    [ -s "$work/shots/$page.png" ] || { echo "no picture of $page" >&2; exit 1; }
done
