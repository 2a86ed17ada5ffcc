// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What keeps a run without a desktop session quiet: Qt warns on every start
// when XDG_RUNTIME_DIR is unset (su, ssh, containers, CI), and the offscreen
// platform warns whenever a window's size limits change, which it cannot
// pass on to a window system anyway. Real warnings still show.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <memory>

namespace HeadlessRun {

// Call before the application object exists, and keep the result while Qt
// runs: without XDG_RUNTIME_DIR, Qt gets a folder of this process's own
// (mode 0700, removed at the end) instead of its fallback and the warning.
inline std::unique_ptr<QTemporaryDir> provideRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return nullptr;
    auto runtime = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pelora-runtime-XXXXXX"));
    if (!runtime->isValid())
        return nullptr;  // Qt falls back on its own and says so
    QFile::setPermissions(runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    return runtime;
}

namespace Detail {
inline QtMessageHandler previousHandler = nullptr;
inline void dropSizeHintWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    previousHandler(type, context, message);
}
}  // namespace Detail

// The offscreen platform's size-hint warning carries no category of its
// own that a logging rule could switch off, so it is dropped by its text.
inline void ignoreOffscreenSizeHints()
{
    if (!Detail::previousHandler)
        Detail::previousHandler = qInstallMessageHandler(Detail::dropSizeHintWarning);
}

}  // namespace HeadlessRun
