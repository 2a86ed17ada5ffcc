// SPDX-License-Identifier: GPL-3.0-or-later
// The jacket's cover picture: chosen, removed, taken from dropped music
// files, and kept beside the document.
#include "core/jacket/CoverPicture.h"
#include "gui/dialogs/FileDialogs.h"
#include "core/jacket/JacketFiles.h"
#include "core/common/Messages.h"
#include "core/files/RegularFile.h"
#include "gui/mainwindow/JacketHistory.h"
#include "core/intake/AlbumArt.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QFileInfo>

CoverPicture JacketCover;

void TForm1::SetCover(const CoverPicture &picture)
{
    JacketCover = picture;
    RemoveCoverMe->setEnabled(!JacketCover.isNull());
    UpdateCaption();
}

void TForm1::ChooseCoverClick()
{
    const QString path = FileDialogs::chooseFile(
        this, {false, QString(), {tr("画像ファイル(*.jpg *.jpeg *.png *.webp *.bmp *.gif)"), tr("全てのファイル(*)")}, {}, tr("表紙の画像を選ぶ")});
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (file.isFile() && file.size() > CoverPicture::kMostBytes) {
        Messages::ShowError(tr("画像 %1 は大きすぎて表紙にできません。").arg(path));
        return;
    }
    // The bytes are kept from now on: the file may change or go before the jacket is saved.
    const std::optional<QByteArray> bytes = readRegularFile(path, CoverPicture::kMostBytes);
    if (!bytes) {
        Messages::ShowError(tr("ファイル %1 は開けません（%2）。").arg(path, whyNotRead(path, CoverPicture::kMostBytes)));
        return;
    }
    CoverPicture::Unusable why{};
    const std::optional<CoverPicture> picture = CoverPicture::fromBytes(*bytes, &why);
    if (!picture) {
        Messages::ShowError(tr("%1 は表紙にできる画像ではありません（%2）。").arg(path, CoverPicture::reason(why)));
        return;
    }
    History->record(ChooseCoverMe->text(), [&] { SetCover(*picture); });
}

void TForm1::RemoveCoverClick()
{
    History->record(RemoveCoverMe->text(), [this] { SetCover(CoverPicture()); });
}

void TForm1::TakeAlbumArt(const QStringList &droppedPaths)
{
    if (!CoverArtMe->isChecked() || !JacketCover.isNull())
        return;
    // The first front cover in drop order, else the first picture at all;
    // a picture that does not decode whole is passed over for the next.
    std::optional<CoverPicture> first;
    for (const QString &path : droppedPaths) {
        for (const AlbumArt &art : AlbumArtOf(path)) {
            if (first && !art.frontCover)
                break;
            std::optional<CoverPicture> picture = CoverPicture::fromBytes(art.bytes);
            if (!picture)
                continue;
            if (art.frontCover) {
                SetCover(*picture);
                return;
            }
            first = std::move(picture);
        }
    }
    if (first)
        SetCover(*first);
}

void TForm1::ReadCoverBeside(const QString &documentPath)
{
    const JacketFiles::FoundCover found = JacketFiles::findCover(documentPath);
    SetCover(found.picture.value_or(CoverPicture()));
    if (!found.unreadable.isEmpty())
        Messages::ShowWarning(tr("表紙の画像 %1 を使えないので、表紙の画像なしで開きます（%2）。").arg(found.unreadable, found.why));
}
