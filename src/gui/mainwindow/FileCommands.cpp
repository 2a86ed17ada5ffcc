// SPDX-License-Identifier: GPL-3.0-or-later
// New, Open, Save and Save As, and the document named on the command line.
#include "gui/dialogs/FileDialogs.h"
#include "core/jacket/JacketDocument.h"
#include "core/jacket/JacketFiles.h"
#include "core/jacket/RecoveryKeeper.h"
#include "gui/widgets/BusyCursor.h"
#include "core/common/Messages.h"
#include "core/files/RegularFile.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {

QString jacketFilter() { return QCoreApplication::translate("TForm1", "ペロラ用ファイル(*.plr)"); }
QString allFilesFilter() { return QCoreApplication::translate("TForm1", "全てのファイル(*)"); }

}  // namespace

bool TForm1::WriteDocument(const QString &path)
{
    const BusyCursor busy;
    const JacketFiles::Saved saved = JacketFiles::save(path, ShownJacket());
    if (!saved.ok()) {
        if (saved.failedPath == path)
            Messages::ShowError(tr("ファイル %1 を作成できません（%2）。").arg(path, saved.failure));
        else
            Messages::ShowError(tr("表紙の画像を %1 に保存できないので、文書も保存していません（%2）。").arg(saved.failedPath, saved.failure));
        return false;
    }
    for (const QString &path : saved.notDeleted)
        Messages::ShowMessage(tr("表紙の画像だった %1 を削除できませんでした。次に開くとき表紙として使われます。").arg(path));
    if (saved.coverLeftOut) {
        // The jacket stays changed: its cover is not on disk.
        Messages::ShowMessage(tr("文書 %1 の名前は .plr で終わらないので、表紙の画像はいっしょに保存されません。"
                                 "表紙の画像も残すには、「名前を付けて保存」で .plr で終わる名前を付けてください。")
                                  .arg(path));
        return true;
    }
    History->markSaved();
    return true;
}

bool TForm1::ReadDocument(const QString &path)
{
    // Only a regular file: a FIFO would keep the window waiting for a writer.
    const std::optional<QByteArray> bytes = readRegularFile(path, JacketFormat::kMostBytes);
    if (!bytes) {
        Messages::ShowError(tr("ファイル %1 は開けません（%2）。").arg(path, whyNotRead(path, JacketFormat::kMostBytes)));
        return false;
    }
    JacketFormat::Unreadable why{};
    const std::optional<Jacket> document = JacketFormat::fromBytes(*bytes, &why);
    if (!document) {
        Messages::ShowError(why == JacketFormat::Unreadable::NotText ? tr("ファイル %1 はジャケットの文書ではありません（%2）。").arg(path, JacketFormat::reason(why))
                                                                       : tr("リストのインデックスが範囲を超えています (0)"));
        return false;
    }
    ShowContent(*document);
    ReadCoverBeside(path);
    return true;
}

void TForm1::Open1Click()
{
    const QString path = FileDialogs::chooseFile(this, {false, CurrentFileName, {jacketFilter(), allFilesFilter()}, {}});
    if (path.isEmpty() || !MaySetJacketAside())
        return;
    const BusyCursor busy;
    if (!ReadDocument(path))
        return;
    HasFileName = true;
    CurrentFileName = path;
    History->startOver();
    RefreshView();
}

void TForm1::SaveAs1Click()
{
    const QString path = FileDialogs::chooseFile(this, {true, CurrentFileName, {jacketFilter()}, QStringLiteral("plr")});
    if (path.isEmpty() || !WriteDocument(path))
        return;
    HasFileName = true;
    CurrentFileName = path;
}

void TForm1::Save1Click()
{
    if (HasFileName)
        WriteDocument(CurrentFileName);
    else
        SaveAs1Click();
}

bool TForm1::MaySetJacketAside()
{
    if (!JacketChanged())
        return true;
    const int answer = Messages::Choose(tr("変更を保存しますか？"), {tr("保存する(&S)"), tr("保存しない(&N)"), tr("キャンセル(&C)")}, 0, 2);
    if (answer == 0)
        Save1Click();  // Save As for a jacket without a file: it may be cancelled
    if (answer == 1 && Recovery)
        Recovery->discard();
    return answer == 1 || (answer == 0 && !JacketChanged());
}

void TForm1::New1Click()
{
    if (JacketChanged()) {
        // Asked once: after this answer no 全て削除 question follows.
        if (!MaySetJacketAside())
            return;
        ClearDocument();
    } else {
        AllDelbtnClick();
        if (!JacketIsEmpty())
            return;
    }
    History->startOver();
}

void TForm1::OpenCommandLineDocument()
{
    if (ProgramArguments.isEmpty())
        return;
    const QString path = ProgramArguments.first();
    const BusyCursor busy;
    if (!ReadDocument(path))
        return;
    CurrentFileName = path;
    History->startOver();
    RefreshView();
}
