#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmark programs (tree build/bench, Release) and runs each
# bench_* executable found there. Extra arguments go to every program, e.g.
#   scripts/bench.sh --benchmark_filter=Layout --benchmark_repetitions=5
# The printer benchmarks need a private CUPS: the one named by the caller's
# environment (PELORA_PRIVATE_CUPS=1, CUPS_SERVER), else one started here.
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
scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelora-bench.XXXXXX")
chmod 0755 "$scratch"   # the scheduler's filters run as another user under root
# shellcheck disable=SC2317  # called by the trap
cleanup() {
    [[ -d $scratch/cups ]] && "$root/scripts/private-cups.sh" stop "$scratch/cups" >/dev/null 2>&1
    rm -rf "$scratch"
}
trap cleanup EXIT
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    XDG_RUNTIME_DIR=$scratch/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi
# The printer benchmarks ask a private CUPS, never the machine's own: use
# the one the caller set up, or start one for this run.
if [[ ${PELORA_PRIVATE_CUPS:-} != 1 ]]; then
    if exports=$("$root/scripts/private-cups.sh" start "$scratch/cups"); then
        eval "$exports"
    else
        echo "bench: the private CUPS did not start; the printer benchmarks will fail" >&2
    fi
fi
unset PRINTER LPDEST
failed=()
for program in "${programs[@]}"; do
    echo "==== ${program#"$tree"/}"
    "$program" "$@" || failed+=("${program##*/}")
done
if (( ${#failed[@]} )); then
    echo "bench: failed: ${failed[*]}" >&2
    exit 1
fi
