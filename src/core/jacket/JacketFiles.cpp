// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/JacketFiles.h"

#include "core/files/OwnedFiles.h"
#include "core/jacket/JacketDocument.h"
#include "core/files/RegularFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace JacketFiles {

bool keepsCover(const QString &documentPath) { return documentPath.endsWith(QLatin1String(".plr"), Qt::CaseInsensitive); }

QString coverPath(const QString &documentPath, const QString &suffix) { return documentPath + u'.' + suffix; }

QStringList coverFiles(const QString &documentPath)
{
    QStringList found;
    if (!keepsCover(documentPath))
        return found;
    // Only the names Pelora writes, in the picture's own lower-case
    // extension: anything else beside the document is the user's.
    for (const QString &suffix : CoverPicture::suffixes()) {
        const QString path = coverPath(documentPath, suffix);
        if (OwnedFiles::kindOf(path) == OwnedFiles::Kind::File)
            found << path;
    }
    return found;
}

FoundCover findCover(const QString &documentPath)
{
    const QStringList files = coverFiles(documentPath);
    if (files.isEmpty())
        return {};
    const std::optional<QByteArray> bytes = readRegularFile(files.first(), CoverPicture::kMostBytes);
    if (!bytes) {
        // A regular file of Pelora's that cannot be read whole: too large, or not ours to read.
        const bool large = QFileInfo(files.first()).size() > CoverPicture::kMostBytes;
        return FoundCover{std::nullopt, files.first(),
                          large ? CoverPicture::reason(CoverPicture::Unusable::TooLarge)
                                : QCoreApplication::translate("JacketFiles", "読めません")};
    }
    CoverPicture::Unusable why{};
    std::optional<CoverPicture> picture = CoverPicture::fromBytes(*bytes, &why);
    if (!picture)
        return FoundCover{std::nullopt, files.first(), CoverPicture::reason(why)};
    return FoundCover{std::move(picture), QString(), QString()};
}

Saved save(const QString &documentPath, const Jacket &jacket)
{
    const CoverPicture &cover = jacket.cover;
    Saved saved;
    const bool keeps = keepsCover(documentPath);
    saved.coverLeftOut = !keeps && !cover.isNull();
    const auto failed = [&](const QString &why, const QString &path) {
        saved.failure = why;
        saved.failedPath = path;
        return saved;
    };

    // Both written whole before either is put in place.
    const QString kept = keeps && !cover.isNull() ? coverPath(documentPath, cover.suffix()) : QString();
    OwnedFiles::Replacement coverFile(kept, OwnedFiles::Replacement::Owner::Pelora);
    if (!kept.isEmpty()) {
        if (const QString why = coverFile.prepare(cover.bytes()); !why.isEmpty())
            return failed(why, kept);
    }
    OwnedFiles::Replacement documentFile(documentPath, OwnedFiles::Replacement::Owner::User);
    if (const QString why = documentFile.prepare(JacketFormat::toBytes(jacket)); !why.isEmpty())
        return failed(why, documentPath);
    if (const QString why = documentFile.commit(); !why.isEmpty())
        return failed(why, documentPath);
    // Its new file is already made beside it, so this can only fail when
    // something else took the name meanwhile.
    if (!kept.isEmpty()) {
        if (const QString why = coverFile.commit(); !why.isEmpty())
            return failed(why, kept);
    }

    // The document's other cover files would be found next time.
    for (const QString &path : coverFiles(documentPath)) {
        if (path == kept)
            continue;
        if (const QString why = OwnedFiles::remove(path); !why.isEmpty())
            saved.notDeleted << QStringLiteral("%1 (%2)").arg(path, why);
    }
    return saved;
}

}  // namespace JacketFiles
