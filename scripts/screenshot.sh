#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Pelora on a private X server (Xvfb) and saves a picture of the screen.
#
#   scripts/screenshot.sh [--english] [--title PREFIX] [--size WxH] OUT.png [program args...]
#
# The program runs under a Japanese desktop's locale, or an English one with
# --english. Waits until a top-level window whose title starts with PREFIX
# (default "ペロラ", "Pelora" in English) is mapped and its picture has stopped changing, saves the whole
# screen to OUT.png, then ends the program and the X server. The geometry of
# every mapped top-level window is printed, to compare with the intended one.
#
# Environment:
#   PELORA_BIN         program to run (default build/release/pelora)
#   PELORA_CONFIG_DIR  settings folder; default a fresh empty one, so that the
#                      picture shows the program as first started
#   SCREENSHOT_TIMEOUT seconds to wait for the window (default 20)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

title=ペロラ
language=ja_JP.UTF-8
size=1024x768
while (( $# )); do
    case $1 in
        --english) language=en_US.UTF-8; title=Pelora; shift ;;
        --title) title=$2; shift 2 ;;
        --size) size=$2; shift 2 ;;
        -h|--help) sed -n '2,18s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; exit 0 ;;
        --) shift; break ;;
        -*) echo "screenshot: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
(( $# >= 1 )) || { echo "usage: $0 [--english] [--title PREFIX] [--size WxH] OUT.png [program args...]" >&2; exit 2; }
out=$1
shift
bin=${PELORA_BIN:-$root/build/release/pelora}
timeout=${SCREENSHOT_TIMEOUT:-20}
[[ -x $bin ]] || { echo "screenshot: $bin not built (./run.sh builds it, or set PELORA_BIN)" >&2; exit 1; }
for tool in Xvfb xwininfo import; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool missing (scripts/install-deps.sh)" >&2; exit 1; }
done

# xwininfo prints window titles only in a UTF-8 locale.
export LC_ALL=C.UTF-8

scratch=$(mktemp -d)
xvfb_pid=""
app_pid=""
stop() {   # stop PID: end a process started here and reap it
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    if [[ -n $app_pid ]]; then stop "$app_pid"; fi
    if [[ -n $xvfb_pid ]]; then stop "$xvfb_pid"; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# A free display from :97 up. Another server may grab the same number between
# the check and the start; then this server exits and the next number is tried.
display=""
for n in $(seq 97 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    deadline=$((SECONDS + 10))
    while kill -0 "$xvfb_pid" 2>/dev/null && (( SECONDS < deadline )); do
        if DISPLAY=:$n xwininfo -root >/dev/null 2>&1; then
            display=:$n
            break 2
        fi
        sleep 0.05
    done
    stop "$xvfb_pid"
    xvfb_pid=""
done
[[ -n $display ]] || { cat "$scratch/xvfb.log" >&2; echo "screenshot: could not start Xvfb" >&2; exit 1; }
export DISPLAY=$display

if [[ -z ${PELORA_CONFIG_DIR:-} ]]; then
    export PELORA_CONFIG_DIR=$scratch/config
    mkdir -p "$PELORA_CONFIG_DIR"
fi
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=$scratch/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
fi
LC_ALL=$language LANG=$language QT_QPA_PLATFORM=xcb "$bin" "$@" >"$scratch/app.log" 2>&1 &
app_pid=$!

# Lines like:  0x200006 "ペロラ - リストモード": ("pelora" "pelora")  637x480+193+107  +193+107
toplevels() { xwininfo -root -children 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "\(.*\)": (.*$/\1 \2/p'; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

window=""
deadline=$((SECONDS + timeout))
while [[ -z $window ]]; do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        cat "$scratch/app.log" >&2
        echo "screenshot: the program ended before showing its window" >&2
        app_pid=""
        exit 1
    fi
    (( SECONDS < deadline )) || { echo "screenshot: no window titled '$title…' within ${timeout}s" >&2; exit 1; }
    while read -r id name; do
        if [[ $name == "$title"* ]] && viewable "$id"; then
            window=$id
            break
        fi
    done < <(toplevels)
    [[ -n $window ]] || sleep 0.05
done

# Let it paint: wait until two pictures taken a moment apart agree (at most
# a few seconds, for windows that keep changing, e.g. a blinking cursor).
previous=""
settle_deadline=$((SECONDS + 5))
sleep 0.2
while (( SECONDS < settle_deadline )); do
    current=$(import -window root -depth 8 rgb:- 2>/dev/null | md5sum)
    [[ $current == "$previous" ]] && break
    previous=$current
    sleep 0.15
done

import -window root "$out"

while read -r id name; do
    viewable "$id" || continue
    geometry=$(xwininfo -id "$id" | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { printf "%sx%s at +%s+%s", w, h, x, y }')
    echo "window \"$name\": $geometry" >&2
done < <(toplevels)
echo "$out"
