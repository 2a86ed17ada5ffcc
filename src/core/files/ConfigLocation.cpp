// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/ConfigLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The pelora folder under an XDG base folder: the variable's value, or the
// default under the home folder when it is unset or (invalid) relative.
QString xdgFolder(const char *variable, const QString &defaultUnderHome)
{
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u'/' + defaultUnderHome;
    return QDir(base).filePath(QStringLiteral("pelora"));
}

}  // namespace

QString configDirectory()
{
    const QString overridden = qEnvironmentVariable("PELORA_CONFIG_DIR");
    if (!overridden.isEmpty()) {
        QDir().mkpath(overridden);
        return overridden;
    }

    if (QCoreApplication::instance()) {
        // An installed program keeps its files with the user, even when the
        // folder it was installed to is writable (as /usr/bin is for root).
        const QString beside = QCoreApplication::applicationDirPath();
        const bool installed = QFileInfo(beside).canonicalFilePath() == QFileInfo(QStringLiteral(PELORA_INSTALL_BINDIR)).canonicalFilePath();
        if (!beside.isEmpty() && !installed && QFileInfo(beside).isWritable())
            return beside;
    }

    const QString dir = xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
    QDir().mkpath(dir);
    return dir;
}

QString recoveryDirectory()
{
    // Qt 6.4 has no state location of its own.
    return QDir(xdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state"))).filePath(QStringLiteral("recovery"));
}

QString settingsFilePath() { return QDir(configDirectory()).filePath(QStringLiteral("Pelora.ini")); }

QString dataFilePath() { return QDir(configDirectory()).filePath(QStringLiteral("Pelora.dat")); }
