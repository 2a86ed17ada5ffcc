// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// The audio tag component: title, artist and playing time of one audio file
// at a time (MP3, WAV, RMP and every format TagLib reads), in the record and
// with the four calls the drop handling was written against, and the full
// text besides. Built on TagLib.
//
// Order of use: vbmp3_init once; vbmp3_close before every vbmp3_open;
// vbmp3_close, then vbmp3_free at the end. Results are boolean-like: the low
// byte is 1 on success and 0 on failure. Calls out of that order do the
// harmless thing: an open before init or after free fails, an open while a
// file is still open closes it first, a close with nothing open does nothing,
// a second init succeeds without doing anything, and a free without init
// fails.

struct TagInfo {            // 272 bytes, filled by vbmp3_open
    char Title[128];        // Shift-JIS (code page 932), NUL-terminated when shorter
    char Artist[128];       // likewise
    int32_t Reserved1, Reserved2, Reserved3;  // bit rate (kbit/s), sample rate (Hz), channels
    int32_t TotalSeconds;   // playing time in whole seconds
};
static_assert(sizeof(TagInfo) == 272);

// Starts the component and installs TagLib's text decoders for tags that
// declare no encoding or Latin-1 (Shift-JIS, UTF-8 or Latin-1 in fact; see
// TextDetect).
int32_t vbmp3_init();

// path: the file name as local 8-bit bytes (QFile::encodeName), any length.
// Fills *info and returns 1 when the file is readable audio of a kind TagLib
// knows, a RIFF WAVE or a RIFF RMP3 file (the content decides, not the
// name); otherwise returns 0 and leaves *info zeroed.
int32_t vbmp3_open(const char *path, TagInfo *info);

// The title and artist of the file opened last with every character (the
// record holds what Shift-JIS can, in 128 bytes), control characters as
// spaces; empty when no file is open.
struct TagText
{
    QString Title;
    QString Artist;
};
TagText vbmp3_text();

// Forgets the file opened last. Always 1.
int32_t vbmp3_close();

// Stops the component and puts TagLib's own text decoders back.
int32_t vbmp3_free();
