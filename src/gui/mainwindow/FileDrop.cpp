// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the main window from a file manager become item lines.
#include "core/intake/DropLines.h"
#include "gui/widgets/BusyCursor.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

QStringList TForm1::DroppedFiles(const QDropEvent *event)
{
    // Drags that start inside the program (the list's own rows, text) are
    // never file drops; only local files from outside are.
    QStringList paths;
    if (event->source() || !event->mimeData()->hasUrls())
        return paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

void TForm1::WMDropFiles(const QStringList &paths)
{
    const BusyCursor busy;
    // All the lines of a drop, and the album art it brings, are one step.
    History->record(tr("ファイルの追加"), [&] {
        if (EditorMode)
            CopyEditorToList();
        const DropLineOptions options{AcqTag->isChecked(), n1->isChecked(), TagPlus.AddTime, TagPlus.AddArtist,
                                      TagPlus.ArtistPrefix};
        QStringList lines;
        lines.reserve(paths.size());
        for (const QString &path : paths)
            lines << DropLines(path, options);
        ListBox1->addItems(lines);
        TakeAlbumArt(paths);
        RefreshView();
        if (EditorMode) {
            CopyListToEditor();
            Memo1->setFocus();
            RefreshView();
        }
    });
}

bool TForm1::FileDropEvent(QObject *receiver, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *widget = qobject_cast<QWidget *>(receiver);
    if (!widget || widget->window() != this)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QStringList paths = DroppedFiles(drop);
    if (paths.isEmpty())
        return false;
    // Over any control: the editor and the title field would otherwise take
    // the paths as text.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        WMDropFiles(paths);
    return true;
}
