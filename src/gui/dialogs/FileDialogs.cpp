// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/FileDialogs.h"

#include <QFileDialog>

namespace FileDialogs {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

// A saved name ends in the default suffix: one typed without it gets it,
// even when it has a dot of its own ("Vol.2", "Op.27"), so that Pelora
// never names a file the user may already have for something else.
QString withDefaultSuffix(const QString &path, const Request &request)
{
    if (!request.save || path.isEmpty() || request.defaultSuffix.isEmpty()
        || path.endsWith(u'.' + request.defaultSuffix, Qt::CaseInsensitive))
        return path;
    return path + (path.endsWith(u'.') ? QString() : QStringLiteral(".")) + request.defaultSuffix;
}

QString runDialog(QWidget *parent, const Request &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog accepts names that do not exist; the save dialog
    // replaces an existing file without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (request.save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(request.filters);
    if (!request.filters.isEmpty())
        dialog.selectNameFilter(request.filters.first());
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace

void setHandler(Handler handler) { currentHandler() = std::move(handler); }

QString chooseFile(QWidget *parent, const Request &request)
{
    const Handler &handler = currentHandler();
    return withDefaultSuffix(handler ? handler(request) : runDialog(parent, request), request);
}

}  // namespace FileDialogs
