#pragma once

#include <QString>

#include <cstdint>

struct TagInfo;

// How a dropped file becomes an item line.
struct DropLineOptions
{
    bool readTags = true;        // audio files give title, time and artist
    bool stripExtension = true;  // names lose what follows their last "."
    bool addTime = true;
    bool addArtist = true;
    QString artistPrefix;
};

// mm:ss; minutes of 100 and more keep all their digits, and a negative time
// shows as 00:00.
QString FormatPlayTime(int32_t seconds);

// The file's own name (a folder's too), without its extension when asked.
QString NameLine(const QString &path, bool stripExtension);

// ".mp3", ".wav" or ".rmp" exactly as written (the comparison is
// case-sensitive); empty otherwise.
bool IsAudioFileName(const QString &path);

// The line for one dropped file. Audio files are read through the tag
// component (vbmp3_close, then vbmp3_open), which must have been started.
QString DropLine(const QString &path, const DropLineOptions &options);

// The line for an audio file the tag component has opened.
QString TagLine(const QString &path, const TagInfo &info, const DropLineOptions &options);
