// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies of the window's jacket while it has unsaved changes, and
// the offer at start to restore one that a run left behind.
#include "core/jacket/RecoveryKeeper.h"
#include "core/common/Messages.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QCoreApplication>
#include <QProcess>
#include <QLineEdit>
#include <QUndoStack>

namespace {

// The name the window gives a jacket that has no file.
QString untitledName() { return QCoreApplication::translate("TForm1", "無題.plr"); }

}  // namespace

void TForm1::SetUpRecovery()
{
    Recovery = new RecoveryKeeper([this] { return JacketChanged(); },
                                  [this] {
                                      const bool untitled = !HasFileName && CurrentFileName == untitledName();
                                      return RecoveryCopy{ShownJacket(), untitled ? QString() : CurrentFileName};
                                  },
                                  this);
    // Any change starts the clock: steps, and typing that the editor or the
    // title field merges into the last one.
    connect(History->stack(), &QUndoStack::indexChanged, Recovery, &RecoveryKeeper::noteChange);
    connect(Memo1->document(), &QTextDocument::contentsChanged, Recovery, &RecoveryKeeper::noteChange);
    connect(EditTi, &QLineEdit::textChanged, Recovery, &RecoveryKeeper::noteChange);
    // Saved, opened, made new or undone back to what was saved: no copy.
    connect(History, &JacketHistory::changedChanged, Recovery, [this](bool changed) {
        if (!changed)
            Recovery->discard();
    });
}

bool TForm1::OfferLeftCopies()
{
    return Recovery->offerLeftCopies([this](const RecoveryCopy &left) {
        EditTi->setText(left.jacket.title);
        ListBox1->setItems(left.jacket.items);
        if (EditorMode)
            CopyListToEditor();
        SetCover(left.jacket.cover);
        // The document's name is kept; the first Save asks, preset to it,
        // since the file may have changed since.
        CurrentFileName = left.sourcePath.isEmpty() ? untitledName() : left.sourcePath;
        HasFileName = false;
        History->startOverChanged();
        RefreshView();
    },
                                     RestoreInNewWindow);
}

std::function<void(const QString &)> TForm1::RestoreInNewWindow = [](const QString &slot) {
    // One jacket per window: each further copy gets a run of its own.
    QProcess run;
    run.setProgram(QCoreApplication::applicationFilePath());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(RecoveryKeeper::kHandedOver), slot);
    run.setProcessEnvironment(environment);
    if (!run.startDetached())
        Messages::ShowError(QCoreApplication::translate("TForm1", "新しいウィンドウを開けません。残った内容は次に起動したときにまた尋ねます。"));
};
