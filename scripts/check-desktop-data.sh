#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the desktop integration files in data/: the launcher entry and the
# software-centre metainfo are valid, the MIME type maps *.plr, the names
# agree across files, the PNG icons have the sizes their names promise, and
# (given a build tree) `cmake --install` puts everything, the manual pages
# included, where desktops and man look for it.
#
#   scripts/check-desktop-data.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
data=$root/data
build=${1:-}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Launcher entry.
desktop-file-validate "$data/pelora.desktop" || fail "desktop-file-validate reports errors"
entry() { sed -n "s/^$1=//p" "$data/pelora.desktop"; }
[[ $(entry Exec) == "pelora %f" ]] || fail "Exec is '$(entry Exec)'"
[[ $(entry Icon) == pelora ]] || fail "Icon is '$(entry Icon)'"
[[ $(entry 'Name\[ja\]') == ペロラ ]] || fail "Name[ja] is '$(entry 'Name\[ja\]')'"

# MIME type: build a private MIME database from the package file alone.
mkdir -p "$scratch/mime/packages"
cp "$data/pelora-mime.xml" "$scratch/mime/packages/"
update-mime-database "$scratch/mime" >/dev/null 2>&1 || fail "update-mime-database rejects pelora-mime.xml"
grep -qx '50:application/x-pelora:\*\.plr' "$scratch/mime/globs2" 2>/dev/null \
    || fail "*.plr does not map to application/x-pelora"
type_in_desktop=$(entry MimeType)
[[ $type_in_desktop == "application/x-pelora;" ]] || fail "MimeType in the desktop file is '$type_in_desktop'"
grep -q '<comment xml:lang="ja">' "$data/pelora-mime.xml" || fail "no Japanese comment for the MIME type"

# Software-centre entry: valid offline, and naming the same launcher, MIME
# type and command as the files above.
metainfo=$data/pelora.metainfo.xml
component_id=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")
appstreamcli validate --no-net --pedantic "$metainfo" >"$scratch/appstream.txt" 2>&1 \
    || fail "appstreamcli validate: $(cat "$scratch/appstream.txt")"
grep -q '<launchable type="desktop-id">pelora.desktop</launchable>' "$metainfo" \
    || fail "the metainfo does not launch pelora.desktop"
grep -q '<mediatype>application/x-pelora</mediatype>' "$metainfo" || fail "the metainfo lacks the MIME type"
grep -q "<binary>$(entry Exec | cut -d' ' -f1)</binary>" "$metainfo" || fail "the metainfo names another binary than Exec"

# Icons: every PNG is square with the size in its name, with transparency.
for size in 16 32 48 64 128 256; do
    png=$data/icons/pelora-$size.png
    if [[ ! -f $png ]]; then
        fail "missing $png"
        continue
    fi
    got=$(identify -format '%w %h %A' "$png" 2>/dev/null || echo "?")
    [[ $got == "$size $size "[Bb]lend || $got == "$size $size True" ]] \
        || fail "pelora-$size.png is '$got', expected ${size}x$size with alpha"
done

# Installation layout.
if [[ -n $build ]]; then
    prefix=$scratch/prefix
    if cmake --install "$build" --prefix "$prefix" >/dev/null; then
        for f in share/applications/pelora.desktop \
                 share/mime/packages/pelora-mime.xml \
                 share/icons/hicolor/scalable/apps/pelora.svg \
                 share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/pelora.png \
                 share/metainfo/"$component_id".metainfo.xml \
                 share/man/man1/pelora.1.gz share/man/ja/man1/pelora.1.gz \
                 share/doc/pelora/README.md share/doc/pelora/COPYING; do
            [[ -f $prefix/$f ]] || fail "not installed: $f"
        done
        cmp -s "$data/icons/pelora-48.png" "$prefix/share/icons/hicolor/48x48/apps/pelora.png" \
            || fail "48x48/apps/pelora.png is not the 48 px icon"
    else
        fail "cmake --install failed"
    fi
fi

if (( failures )); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "desktop data OK"
