#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the small audio files with pictures in their tags of
# tests/data/audio/art, one or more per container that holds pictures, and
# the 16x16 pictures themselves (one colour each), which the tests compare
# with what they find in the tags. The results are committed; run this only
# to make them anew:
#
#   sudo apt-get install imagemagick sox lame flac vorbis-tools opus-tools \
#       speex wavpack musepack-tools ffmpeg python3-mutagen
#   scripts/make-album-art-fixtures.sh
#
# NAME.EXT holds the picture NAME.jpg or NAME.png; mp3.mp3 also holds
# mp3-other.png before it, as an "other" picture. back.mp3 and ape.ape hold
# only pictures that are not the front cover; noart.mp3 holds text only,
# plain.mp3 no tag at all. Each audio is a quarter of a second of silence, so
# that every file is a few kilobytes.
# Monkey's Audio has no encoder in Debian: ape.ape starts from the hand-made
# tests/data/audio/fixture.ape. Making them anew gives the same bytes, but
# for spx.spx: speexenc picks the Ogg serial number at random.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$root/tests/data/audio/art
python=/usr/bin/python3   # Debian's, which has mutagen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*

q() { "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; }

# -strip: no dates in the pictures, so that they come out the same each time.
picture() { q convert -size 16x16 "xc:$2" -strip "$out/$1"; }
picture mp3-other.png gray
picture mp3.jpg red
picture back.jpg navy
picture mp2.png green
picture tta.jpg blue
picture aiff.png yellow
picture wav.jpg cyan
picture rmp.png magenta
picture flac.jpg orange
picture oga.png purple
picture ogg.jpg brown
picture opus.png pink
picture spx.jpg olive
picture m4a.png teal
picture wma.jpg maroon
picture wv.png lime
picture mpc.jpg coral
picture ape.png gold

q sox -D -n -r 8000 -c 1 -b 16 "$work/low.wav" trim 0 0.25
q sox -D -n -r 44100 -c 1 -b 16 "$work/cd.wav" trim 0 0.25
bitexact=(-fflags +bitexact -flags:a +bitexact -map_metadata -1)

q lame --quiet -b 8 "$work/low.wav" "$out/mp3.mp3"
cp "$out/mp3.mp3" "$out/back.mp3"
cp "$out/mp3.mp3" "$out/noart.mp3"
cp "$out/mp3.mp3" "$out/plain.mp3"
cp "$out/mp3.mp3" "$work/rmp.mp3"
q ffmpeg -y -i "$work/cd.wav" "${bitexact[@]}" -ar 32000 -c:a mp2 -b:a 32k "$out/mp2.mp2"
q ffmpeg -y -i "$work/low.wav" "${bitexact[@]}" -c:a tta "$out/tta.tta"
q sox -D "$work/low.wav" --comment "" -b 8 "$out/aiff.aiff"  # no date in it
q sox -D "$work/low.wav" -b 8 "$out/wav.wav"
q flac --silent --no-padding -o "$out/flac.flac" "$work/low.wav"
q flac --silent --no-padding --ogg --serial-number=1 -o "$out/oga.oga" "$work/low.wav"
q oggenc -Q -q -1 --serial 1 -o "$out/ogg.ogg" "$work/low.wav"
q opusenc --quiet --serial 1 --bitrate 6 "$work/low.wav" "$out/opus.opus"
q speexenc --quiet "$work/low.wav" "$out/spx.spx"
q ffmpeg -y -i "$work/low.wav" "${bitexact[@]}" -c:a aac -b:a 8k "$out/m4a.m4a"
q ffmpeg -y -i "$work/low.wav" "${bitexact[@]}" -c:a wmav2 -b:a 24k "$out/wma.wma"
q wavpack -q -o "$out/wv.wv" "$work/low.wav"
q mpcenc --silent --quality 1 "$work/cd.wav" "$out/mpc.mpc"
cp "$root/tests/data/audio/fixture.ape" "$out/ape.ape"

"$python" - "$out" "$work" <<'PY'
import base64, struct, sys
from mutagen.aiff import AIFF
from mutagen.apev2 import APEv2, APEBinaryValue
from mutagen.asf import ASF, ASFByteArrayAttribute
from mutagen.flac import FLAC, Picture
from mutagen.id3 import APIC, ID3, TIT2
from mutagen.mp4 import MP4, MP4Cover
from mutagen.oggflac import OggFLAC
from mutagen.oggopus import OggOpus
from mutagen.oggspeex import OggSpeex
from mutagen.oggvorbis import OggVorbis
from mutagen.trueaudio import TrueAudio
from mutagen.wave import WAVE

out, work = sys.argv[1], sys.argv[2]
def image(name): return open(f"{out}/{name}", "rb").read()
def mime(name): return "image/png" if name.endswith(".png") else "image/jpeg"
FRONT, OTHER, BACK = 3, 0, 4

# Latin-1 descriptions with a non-ASCII letter: they pass through the tag
# component's text decoders when it is started.
def apic(name, kind):
    return APIC(encoding=0, mime=mime(name), type=kind, desc=f"Caf\u00e9 {kind}", data=image(name))

def id3(path, *frames):
    tags = ID3()
    for frame in frames:
        tags.add(frame)
    tags.save(path)

# mutagen writes frames of one kind smallest first: the small "other" PNG
# comes before the front cover, as the test wants.
id3(f"{out}/mp3.mp3", apic("mp3-other.png", OTHER), apic("mp3.jpg", FRONT))
data = open(f"{out}/mp3.mp3", "rb").read()
assert 0 <= data.find(image("mp3-other.png")) < data.find(image("mp3.jpg"))
id3(f"{out}/back.mp3", apic("back.jpg", BACK))
id3(f"{out}/noart.mp3", TIT2(encoding=3, text=["No picture"]))
id3(f"{out}/mp2.mp2", apic("mp2.png", FRONT))
for container, ext in ((TrueAudio, "tta"), (AIFF, "aiff"), (WAVE, "wav")):
    f = container(f"{out}/{ext}.{ext}")
    f.add_tags()
    f.tags.add(apic(f"{ext}.{'png' if ext == 'aiff' else 'jpg'}", FRONT))
    f.save()

# RMP: RIFF form RMP3 with the tagged MP3 stream in its data chunk.
id3(f"{work}/rmp.mp3", apic("rmp.png", FRONT))
stream = open(f"{work}/rmp.mp3", "rb").read()
def chunk(cid, body): return cid + struct.pack("<I", len(body)) + body + b"\0" * (len(body) % 2)
chunks = chunk(b"data", stream) + chunk(b"LIST", b"INFO" + chunk(b"INAM", b"RMP\0"))
open(f"{out}/rmp.rmp", "wb").write(b"RIFF" + struct.pack("<I", 4 + len(chunks)) + b"RMP3" + chunks)

def flac_picture(name, kind=FRONT):
    p = Picture()
    p.type, p.mime, p.desc, p.width, p.height, p.depth = kind, mime(name), "cover", 16, 16, 24
    p.data = image(name)
    return p

f = FLAC(f"{out}/flac.flac")
f.add_picture(flac_picture("flac.jpg"))
f.save(padding=lambda info: 0)
for container, ext, name in ((OggFLAC, "oga", "oga.png"), (OggVorbis, "ogg", "ogg.jpg"),
                             (OggOpus, "opus", "opus.png"), (OggSpeex, "spx", "spx.jpg")):
    f = container(f"{out}/{ext}.{ext}")
    f["metadata_block_picture"] = [base64.b64encode(flac_picture(name).write()).decode("ascii")]
    f.save()

f = MP4(f"{out}/m4a.m4a")
f["covr"] = [MP4Cover(image("m4a.png"), MP4Cover.FORMAT_PNG)]
f.save()

# WM/Picture: type, size, MIME type and description (UTF-16LE, NUL-ended), bytes.
def utf16z(text): return text.encode("utf-16-le") + b"\0\0"
f = ASF(f"{out}/wma.wma")
data = image("wma.jpg")
f["WM/Picture"] = [ASFByteArrayAttribute(struct.pack("<BI", FRONT, len(data)) + utf16z("image/jpeg") + utf16z("cover") + data)]
f.save()

# APE: the picture's file name, a NUL, then its bytes.
for ext, key, name in (("wv", "Cover Art (Front)", "wv.png"), ("mpc", "Cover Art (Front)", "mpc.jpg"),
                       ("ape", "Cover Art (Other)", "ape.png")):
    t = APEv2()
    t["Title"] = ext
    t[key] = APEBinaryValue(name.encode("ascii") + b"\0" + image(name))
    t.save(f"{out}/{ext}.{ext}")
PY
ls -l "$out"
du -sh "$out"
