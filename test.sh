#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Pelora with its tests and runs them against a private CUPS.
#
#   ./test.sh              tree build/test (RelWithDebInfo), every test but the soak ones
#   ./test.sh --asan       tree build/asan (Debug, AddressSanitizer + UBSan)
#   ./test.sh --soak       only the tests labelled "soak"
#   ./test.sh ... -- ARGS  extra arguments for ctest, e.g. -- -R tst_textcodec
#
# The exit status is ctest's, and CTest's summary is the last thing printed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

asan=0
soak=0
ctest_extra=()
while (( $# )); do
    case $1 in
        --asan) asan=1 ;;
        --soak) soak=1 ;;
        --) shift; ctest_extra=("$@"); break ;;
        -h|--help) sed -n '2,9s/^# \{0,1\}//p' "${BASH_SOURCE[0]}"; exit 0 ;;
        *) echo "test.sh: unknown option $1 (try --help)" >&2; exit 2 ;;
    esac
    shift
done

jobs=$(nproc 2>/dev/null || echo 2)

"$root/scripts/install-deps.sh"

if (( asan )); then
    tree=$root/build/asan
    cmake -S "$root" -B "$tree" -G Ninja --log-level=WARNING \
        -DCMAKE_BUILD_TYPE=Debug -DPELORA_SANITIZE=ON -DPELORA_TESTS=ON -DPELORA_BENCH=OFF
    # libcups has no frame pointers: the fast unwinder stops inside it, and a
    # leak the suppressions name by its libcups caller would go unmatched.
    export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:fast_unwind_on_malloc=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
else
    tree=$root/build/test
    cmake -S "$root" -B "$tree" -G Ninja --log-level=WARNING \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELORA_TESTS=ON -DPELORA_BENCH=OFF
fi
cmake --build "$tree" --parallel "$jobs"

# Scratch space: the private CUPS and a runtime folder for Qt. Short path,
# because the CUPS socket lives in it.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelora-test.XXXXXX")
chmod 0755 "$scratch"   # the scheduler's filters run as another user under root
cups_dir=$scratch/cups
keep_scratch=0

# shellcheck disable=SC2317  # called by the trap
cleanup() {
    "$root/scripts/private-cups.sh" stop "$cups_dir" >/dev/null 2>&1 || true
    if (( keep_scratch )); then
        return
    fi
    rm -rf "$scratch" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if exports=$("$root/scripts/private-cups.sh" start "$cups_dir"); then
    eval "$exports"
else
    echo "test.sh: the private CUPS did not start (see above); printing tests will fail" >&2
    # Still point everything at it, so that nothing reaches the machine's CUPS.
    eval "$("$root/scripts/private-cups.sh" env "$cups_dir")"
fi
# Nothing outside the private server may choose the printer.
unset PRINTER LPDEST

if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=$scratch/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
fi

labels=(-LE soak)
(( soak )) && labels=(-L soak)

echo "test.sh: private CUPS in $cups_dir (its logs and job output are kept if a test fails)" >&2

status=0
ctest --test-dir "$tree" --output-on-failure -j"$jobs" "${labels[@]}" "${ctest_extra[@]}" || status=$?
(( status == 0 )) || keep_scratch=1
exit "$status"
