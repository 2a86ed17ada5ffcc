#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (tree build/fuzz: clang++, AddressSanitizer
# and UBSan) and fuzzes each of them for a while.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]
#
# SECONDS per target (default 60); TARGETs are names as in fuzz/CMakeLists.txt
# (settingsfile, document, ...), all of them by default. Two fuzzers run at
# a time (PELORA_FUZZ_JOBS changes that), each on a scratch copy of its seed
# corpus fuzz/corpus/NAME, so the committed seeds stay as they are. Inputs
# that crash, hang (over 10 s), run out of memory (2 GiB) or leak are copied
# into fuzz/corpus/NAME as crash-* seeds, which the ordinary test run then
# replays (the fuzzseeds_NAME tests); the script then exits 1.
#
# For each target it prints the executions, the coverage of the last stats
# line (cov: edges, ft: features) and what was found. The full logs stay in
# build/fuzz/logs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=$root/build/fuzz
seconds=${1:-60}
[[ $seconds =~ ^[0-9]+$ && $seconds -gt 0 ]] || { echo "fuzz.sh: SECONDS must be a positive whole number" >&2; exit 2; }
(( $# )) && shift
jobs=${PELORA_FUZZ_JOBS:-2}

# The longest input each fuzzer makes, in bytes: room for every structure of
# the format, small enough to keep the runs fast.
declare -A max_len=(
    [settingsfile]=8192
    [datafile]=4096
    [document]=8192
    [playmp3]=16384
    [albumart]=16384
    [coverpicture]=16384
    [bmpreader]=8192
    [commandline]=512
    [ipptraits]=4096
    [playlist]=8192
    [labeltemplates]=8192
    [disctrayppd]=8192
    [cdtext]=16384
    [musicbrainz]=65536
)

mapfile -t all < <(sed -n 's/^pelora_add_fuzzer(\([a-z0-9_]*\) .*/\1/p' "$root/fuzz/CMakeLists.txt")
targets=("$@")
(( ${#targets[@]} )) || targets=("${all[@]}")
for name in "${targets[@]}"; do
    [[ " ${all[*]} " == *" $name "* ]] || { echo "fuzz.sh: no fuzz target '$name' (have: ${all[*]})" >&2; exit 2; }
done

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$tree" -G Ninja --log-level=WARNING -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELORA_FUZZERS=ON -DPELORA_TESTS=OFF -DPELORA_BENCH=OFF
cmake --build "$tree" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelora-fuzz.XXXXXX")
logs=$tree/logs
mkdir -p "$logs"
pids=()
# shellcheck disable=SC2317  # called by the traps
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL=C.UTF-8
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:handle_abort=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0

# fuzz NAME: one libFuzzer run on a scratch corpus.
fuzz() {
    local name=$1 work=$scratch/$1
    mkdir -p "$work/corpus" "$work/artifacts"
    cp -R "$root/fuzz/corpus/$name/." "$work/corpus/"
    local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${max_len[$name]:-4096}"
                   -print_final_stats=1 -artifact_prefix="$work/artifacts/")
    [[ -r $root/fuzz/$name.dict ]] && options+=(-dict="$root/fuzz/$name.dict")
    # exec: the job's pid is the fuzzer's own, so that stopping the job stops it.
    exec "$tree/fuzz/fuzz_$name" "${options[@]}" "$work/corpus" >"$logs/$name.log" 2>&1
}

# report NAME STATUS: prints the figures, keeps what was found as seeds;
# returns 1 when something was found or the fuzzer failed.
report() {
    local name=$1 status=$2 log=$logs/$1.log
    local execs stats cov ft corpus found=0 artifact kind seed
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    stats=$(grep -E '^#[0-9]+[[:space:]].* cov: ' "$log" | tail -n 1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$stats")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$stats")
    corpus=$(sed -n 's/.* corp: \([0-9]*\/[^ ]*\).*/\1/p' <<<"$stats")
    printf 'fuzz: %-13s %7s executions  cov %-6s ft %-6s corpus %-10s' \
        "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corpus:-?}"
    for artifact in "$scratch/$name/artifacts"/*; do
        [[ -f $artifact ]] || continue
        kind=${artifact##*/}
        case $kind in
            crash-*) seed=$kind ;;
            timeout-* | oom-* | leak-*) seed=crash-$kind ;;
            *) continue ;;  # slow-unit-*: slow, not a failure
        esac
        cp "$artifact" "$root/fuzz/corpus/$name/$seed"
        (( found++ )) || printf '\n'
        printf '    FOUND %s -> fuzz/corpus/%s/%s\n' "${kind%%-*}" "$name" "$seed"
    done
    if (( found )); then
        grep -m 3 -E '^(SUMMARY|==[0-9]+==ERROR|.*runtime error:|.*: failed: )' "$log" | sed 's/^/    /' || true
        printf '    log: %s\n' "$log"
        return 1
    fi
    if (( status != 0 )); then
        printf '\n    FAILED with status %s and no input kept; log: %s\n' "$status" "$log"
        tail -n 5 "$log" | sed 's/^/    /'
        return 1
    fi
    printf 'no crash\n'
}

echo "fuzz.sh: ${#targets[@]} targets, ${seconds} s each, $jobs at a time; logs in $logs"
declare -A running=()
failed=0
finish_one() {
    local pid status=0 name
    wait -n -p pid "${!running[@]}" || status=$?
    name=${running[$pid]}
    unset "running[$pid]"
    pids=("${!running[@]}")
    report "$name" "$status" || failed=1
}
for name in "${targets[@]}"; do
    while (( ${#running[@]} >= jobs )); do
        finish_one
    done
    fuzz "$name" &
    running[$!]=$name
    pids=("${!running[@]}")
done
while (( ${#running[@]} )); do
    finish_one
done
exit "$failed"
