#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Pelora (release) and starts it: ./run.sh [file.plr]
# Arguments go to the program unchanged, relative to the current folder.
#
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) there is no
# window to open: the jacket (the given document, else the bundled sample)
# is exported to a PDF in build/release instead, and its path printed.
# Arguments that begin with "-" are the program's own commands
# (./run.sh --help) and run as they are, with or without a display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$root/build/release

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=Release -DPELORA_TESTS=OFF -DPELORA_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"

if [[ ${1:-} == -* || -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec "$build/pelora" "$@"
fi

if (( $# )); then
    document=$1
    name=$(basename -- "$document")
    pdf=$build/${name%.*}-jacket.pdf
else
    document=$root/examples/サンプル.plr
    pdf=$build/sample-jacket.pdf
fi
echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are not set), so no window:" \
     "exporting $document, front and back, to a PDF" >&2
"$build/pelora" --export-pdf "$pdf" --side both "$document"
echo "$pdf"
