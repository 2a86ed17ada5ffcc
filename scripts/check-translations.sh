#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a text of the program has no English translation, or when
# translations/pelora_en.ts still holds texts the sources no longer have.
# Usage: check-translations.sh SOURCE_DIR TS_FILE LUPDATE
# (cmake --build <build> --target update_translations brings the file up to
# date; the translations themselves are written with Qt Linguist or by hand.)
set -euo pipefail
sources=$1 ts=$2 lupdate=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

stale=$(grep -c -E 'type="(vanished|obsolete)"' "$ts" || true)
cp "$ts" "$scratch/pelora_en.ts"
"$lupdate" -locations none -no-obsolete "$sources" -ts "$scratch/pelora_en.ts" >"$scratch/lupdate.log" 2>&1 \
    || { cat "$scratch/lupdate.log"; exit 1; }
if grep -q -i -E 'warning|error' "$scratch/lupdate.log"; then
    cat "$scratch/lupdate.log"
    exit 1
fi
unfinished=$(grep -c 'type="unfinished"' "$scratch/pelora_en.ts" || true)
if (( unfinished > 0 || stale > 0 )); then
    echo "translations: $unfinished text(s) without an English translation, $stale no longer in the sources"
    grep -B3 'type="unfinished"' "$scratch/pelora_en.ts" | grep '<source>' || true
    exit 1
fi
echo "translations: every text has its English translation"
