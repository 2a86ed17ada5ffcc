// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace FileDialogs {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

// The dialog adds the default suffix to a typed name that has none; so does
// any other way of choosing.
QString withDefaultSuffix(const QString &path, const Request &request)
{
    if (!request.save || path.isEmpty() || request.defaultSuffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + request.defaultSuffix;
}

QString runDialog(QWidget *parent, const Request &request)
{
    QFileDialog dialog(parent);
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
