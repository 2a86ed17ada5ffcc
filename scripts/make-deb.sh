#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and prints its path:
#
#   scripts/make-deb.sh [BUILD_DIR]     # default build/package
#
# A Release tree of its own (prefix /usr, no tests, no benchmarks), compiled
# with Debian's build flags (hardening included), packed by CPack with the
# rules in cmake/Packaging.cmake. The .deb lands in the tree itself, e.g.
# build/package/pelora_1.25-1_amd64.deb; install it with
# `sudo apt install ./build/package/pelora_1.25-1_amd64.deb`.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tree=${1:-$root/build/package}

"$root/scripts/install-deps.sh"

# Debian's flags; -ffile-prefix-map maps the folder dpkg-buildflags runs in,
# so run it from the source root.
cd "$root"
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S "$root" -B "$tree" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
    -DPELORA_TESTS=OFF -DPELORA_BENCH=OFF -DPELORA_FUZZERS=OFF -DPELORA_SANITIZE=OFF
cmake --build "$tree" --parallel "$(nproc 2>/dev/null || echo 2)"

rm -f "$tree"/pelora_*.deb
if ! cpack -G DEB -B "$tree" --config "$tree/CPackConfig.cmake" >"$tree/cpack.log" 2>&1; then
    cat "$tree/cpack.log" >&2
    exit 1
fi
ls "$tree"/pelora_*.deb
