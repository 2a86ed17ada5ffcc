#!/usr/bin/env bash
# Builds Pelora (release) and starts it: ./run.sh [file.plr]
# Arguments go to the program unchanged, relative to the current folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$root/build/release

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=Release -DPELORA_TESTS=OFF -DPELORA_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)"
exec "$build/pelora" "$@"
