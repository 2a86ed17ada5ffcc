// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// Text whose encoding nobody declared: tag fields marked Latin-1, RIFF INFO,
// ID3v1, playlists and cue sheets. Japanese tools wrote Shift-JIS there,
// newer ones UTF-8, European ones Latin-1; the bytes decide (see the .cpp
// for the rule).
namespace TextDetect {

// `mayBeCut`: the bytes fill a fixed-width field (ID3v1's 30 bytes), whose
// end may fall inside a character.
QString decode(QByteArrayView bytes, bool mayBeCut = false);

}  // namespace TextDetect
