#include "ConfigLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    const QString dir = QDir(base).filePath(QStringLiteral("pelora"));
    QDir().mkpath(dir);
    return dir;
}

QString settingsFilePath() { return QDir(configDirectory()).filePath(QStringLiteral("Pelora.ini")); }

QString dataFilePath() { return QDir(configDirectory()).filePath(QStringLiteral("Pelora.dat")); }
