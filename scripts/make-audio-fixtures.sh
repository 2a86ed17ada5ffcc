#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the small tagged audio files of tests/data/audio, one per format
# TagLib reads, with the tools a user has: sox, flac, oggenc, opusenc,
# speexenc, wavpack, mpcenc and ffmpeg for the audio, mutagen for the tags.
# The results are committed; run this only to make them anew:
#
#   sudo apt-get install sox flac vorbis-tools opus-tools speex wavpack \
#       musepack-tools ffmpeg python3-mutagen
#   scripts/make-audio-fixtures.sh
#
# Every file holds two seconds of silence (one for the codecs that want a
# CD rate), so that each is a few kilobytes, and a title and an artist (see
# the Python part below; tests/core/intake/tst_playmp3.cpp expects them).
# Monkey's Audio has no encoder in Debian: its file is written here byte by
# byte (a version 3.99 header and frame table, as TagLib reads them), with
# an APEv2 tag.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$root/tests/data/audio
python=/usr/bin/python3   # Debian's, which has mutagen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/fixture.*

q() { "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; }

q sox -n -r 8000 -c 1 -b 16 "$work/low.wav" trim 0 2
q sox -n -r 44100 -c 1 -b 16 "$work/cd.wav" trim 0 1

q flac --silent -o "$out/fixture.flac" "$work/low.wav"
q oggenc -Q -q -1 -o "$out/fixture.ogg" "$work/low.wav"
q flac --silent --ogg -o "$out/fixture.oga" "$work/low.wav"
q opusenc --quiet --bitrate 6 "$work/low.wav" "$out/fixture.opus"
q speexenc --quiet "$work/low.wav" "$out/fixture.spx"
q ffmpeg -y -i "$work/low.wav" -c:a aac -b:a 16k "$out/fixture.m4a"
q ffmpeg -y -i "$work/low.wav" -c:a alac "$out/fixture.m4b"
q ffmpeg -y -i "$work/low.wav" -c:a wmav2 -b:a 24k "$out/fixture.wma"
q sox "$work/low.wav" -b 8 "$out/fixture.aiff"
q sox "$work/low.wav" -b 8 -t aifc "$out/fixture.aifc"
q wavpack -q -o "$out/fixture.wv" "$work/low.wav"
q mpcenc --silent --quality 1 "$work/cd.wav" "$out/fixture.mpc"
q ffmpeg -y -i "$work/low.wav" -c:a tta "$out/fixture.tta"
q ffmpeg -y -i "$work/cd.wav" -ar 32000 -c:a mp2 -b:a 32k "$out/fixture.mp2"

"$python" - "$out" <<'PY'
import struct, sys
from mutagen.flac import FLAC
from mutagen.oggvorbis import OggVorbis
from mutagen.oggflac import OggFLAC
from mutagen.oggopus import OggOpus
from mutagen.oggspeex import OggSpeex
from mutagen.mp4 import MP4
from mutagen.asf import ASF
from mutagen.aiff import AIFF
from mutagen.apev2 import APEv2
from mutagen.id3 import ID3, TIT2, TPE1
from mutagen.trueaudio import TrueAudio

out = sys.argv[1]
def path(ext): return f"{out}/fixture.{ext}"

# Monkey's Audio 3.99: descriptor, header, a one-entry seek table and a few
# bytes standing for the single frame of 16 000 blocks (2 s at 8 kHz).
descriptor = struct.pack("<4sHH7I16s", b"MAC ", 3990, 0, 52, 24, 4, 0, 16, 0, 0, b"\0" * 16)
header = struct.pack("<HHIIIHHI", 2000, 0, 73728, 16000, 1, 16, 1, 8000)
with open(path("ape"), "wb") as f:
    f.write(descriptor + header + struct.pack("<I", 80) + b"\x55" * 16)

def vorbis(f, title, artist):
    f["title"] = title; f["artist"] = artist; f.save()

vorbis(FLAC(path("flac")), "夜明けのうた", "Björk")
vorbis(OggVorbis(path("ogg")), "사랑해요", "Beyoncé")
vorbis(OggFLAC(path("oga")), "Ogg FLAC の歌", "Motörhead")
vorbis(OggOpus(path("opus")), "Song 🎵", "小さな楽団")
vorbis(OggSpeex(path("spx")), "Speex Talk", "")
for ext, title in (("m4a", "AAC の曲"), ("m4b", "Apple Lossless 曲")):
    m = MP4(path(ext)); m["\xa9nam"] = [title]; m["\xa9ART"] = ["Sigur Rós"]; m.save()
a = ASF(path("wma")); a["Title"] = ["Windows の曲"]; a["Author"] = ["楽団"]; a.save()
for ext in ("aiff", "aifc"):
    f = AIFF(path(ext)); f.add_tags(); f.tags.add(TIT2(encoding=3, text=["AIFF の歌"])); f.tags.add(TPE1(encoding=3, text=["Artist"])); f.save()
for ext, title in (("wv", "WavPack 曲"), ("mpc", "Musepack 曲"), ("ape", "Monkey の曲")):
    t = APEv2(); t["Title"] = title; t["Artist"] = "APE Artist"; t.save(path(ext))
t = TrueAudio(path("tta")); t.add_tags(); t.tags.add(TIT2(encoding=1, text=["TTA の曲"])); t.tags.add(TPE1(encoding=1, text=["TTA Artist"])); t.save()
t = ID3(); t.add(TIT2(encoding=3, text=["MP2 の曲"])); t.add(TPE1(encoding=3, text=["MP2 Artist"])); t.save(path("mp2"))
PY
ls -l "$out"
