// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/ListText.h"

#include "core/text/TextDetect.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>

namespace {

constexpr qsizetype kMaxTextLength = 4096;

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The local path of a file: URL of this machine.
std::optional<QString> fileUrlPath(const QString &location)
{
    const QUrl url(location);
    if (!url.isValid() || !url.isLocalFile())
        return std::nullopt;
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> existing(const QString &folder, const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    // Never a path that starts with ":", which Qt would look up in its resources.
    QString full = path.startsWith(u'/') ? path : folder + u'/' + path;
    if (!QFileInfo::exists(full))
        return std::nullopt;
    return full;
}

}  // namespace

QString DecodeListText(QByteArrayView bytes)
{
    // Notepad's "Unicode" is UTF-16 with its mark; the UTF-8 mark is TextDetect's.
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    return TextDetect::decode(bytes);
}

QString CappedListText(QStringView text)
{
    if (text.size() <= kMaxTextLength)
        return text.toString();
    qsizetype length = kMaxTextLength;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.first(length).toString();
}

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

std::optional<int64_t> ListNumber(QStringView digits)
{
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), IsAsciiDigit))
        return std::nullopt;
    int64_t value = 0;
    for (const QChar c : digits)
        value = std::min(value * 10 + (c.unicode() - u'0'), kListNumberClamp);
    return value;
}

QString WithForwardSlashes(QString path) { return path.replace(u'\\', u'/'); }

QString UrlSchemeOf(QStringView location)
{
    qsizetype end = 0;
    while (end < location.size()
           && (isAsciiLetter(location[end]) || (end > 0 && (IsAsciiDigit(location[end]) || location[end] == u'+'
                                                            || location[end] == u'-' || location[end] == u'.'))))
        ++end;
    if (end < 2 || end >= location.size() || location[end] != u':')
        return {};
    const QString scheme = location.first(end).toString().toLower();
    if (scheme == u"file" || location.sliced(end + 1).startsWith(u"//"))
        return scheme;
    return {};
}

std::optional<QString> LocalEntryPath(const QString &folder, const QString &written)
{
    const QString scheme = UrlSchemeOf(written);
    if (scheme == u"file") {
        const auto path = fileUrlPath(written);
        return path ? existing(folder, *path) : std::nullopt;
    }
    if (!scheme.isEmpty())
        return std::nullopt;
    if (auto path = existing(folder, written))
        return path;
    if (written.contains(u'\\'))
        return existing(folder, WithForwardSlashes(written));
    return std::nullopt;
}
