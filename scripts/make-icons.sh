#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders data/icons/pelora.svg into the PNG sizes that are committed beside
# it (data/icons/pelora-SIZE.png). Run after editing the SVG.
set -euo pipefail
icons=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data/icons" && pwd)
svg=$icons/pelora.svg

for size in 16 32 48 64 128 256; do
    out=$icons/pelora-$size.png
    if command -v rsvg-convert >/dev/null; then
        rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio "$svg" --output "$out"
    else
        # ImageMagick's own renderer; -strip keeps the file free of timestamps.
        convert -background none -density 384 "$svg" -resize "${size}x${size}" -strip "PNG32:$out"
    fi
    echo "$out"
done
