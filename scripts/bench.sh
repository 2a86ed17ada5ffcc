#!/usr/bin/env bash
# Builds the benchmark programs (tree build/bench, Release) and runs each
# bench_* executable found there. Extra arguments go to every program, e.g.
#   scripts/bench.sh --benchmark_filter=Layout --benchmark_repetitions=5
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=$root/build/bench

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$tree" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=Release -DPELORA_BENCH=ON -DPELORA_TESTS=OFF
cmake --build "$tree" --parallel "$(nproc)"

mapfile -t programs < <(find "$tree" -type f -name 'bench_*' -perm -u+x ! -path '*/CMakeFiles/*' | sort)
if (( ${#programs[@]} == 0 )); then
    echo "bench: no bench_* programs in $tree" >&2
    exit 1
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    XDG_RUNTIME_DIR=$(mktemp -d)   # mode 0700, as Qt wants it
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
failed=()
for program in "${programs[@]}"; do
    echo "==== ${program#"$tree"/}"
    "$program" "$@" || failed+=("${program##*/}")
done
if (( ${#failed[@]} )); then
    echo "bench: failed: ${failed[*]}" >&2
    exit 1
fi
