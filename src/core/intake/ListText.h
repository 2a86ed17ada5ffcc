// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the playlist and cue sheet readers share: text of undeclared
// encoding, numbers, paths written on other machines, and the drop's way of
// making lines, handed in so that the readers need not know it.
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// How a reader turns what a list says into item lines; the drop fills it in.
struct ListLineMaker
{
    bool readTags = true;  // a list's own titles and times count
    bool addTime = true;   // times are wanted: only then are the lengths of files read
    std::function<QString(const QString &path)> fileLine;  // a file's line, as if dropped by itself
    std::function<QString(const QString &path)> nameLine;  // a file's name line
    std::function<QString(const QString &title, std::optional<int32_t> seconds, const QString &artist)> trackLine;
    std::function<bool(const QString &path)> isAudioFileName;
};

// Text of undeclared encoding: a UTF-16 or UTF-32 byte-order mark decides,
// else TextDetect (UTF-8, Shift-JIS or Latin-1).
QString DecodeListText(QByteArrayView bytes);

// A text taken from a list, cut to a length that still fits any path
// (PATH_MAX), so that absurd input cannot make absurd lines.
QString CappedListText(QStringView text);

// Numbers in lists are clamped here, far below overflow even after "* 10 + 9".
inline constexpr int64_t kListNumberClamp = 1'000'000'000'000'000;

bool IsAsciiDigit(QChar c);

// Decimal digits only, clamped; nothing for anything else ("-1", "", "1a").
std::optional<int64_t> ListNumber(QStringView digits);

// A path as Windows-made lists write it, with "/" for every "\".
QString WithForwardSlashes(QString path);

// The scheme of a URL, in lower case; empty for a path. A drive letter
// ("C:\") is no scheme, nor is a colon in a file name ("a:b.mp3"): URLs
// other than file: come with "//".
QString UrlSchemeOf(QStringView location);

// The existing file or folder a written location names: a path relative to
// `folder` or absolute (tried as written, then with "\" as "/"), or a
// file:// URL of this machine.
std::optional<QString> LocalEntryPath(const QString &folder, const QString &written);
