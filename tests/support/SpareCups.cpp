// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SpareCups.h"

#include "support/CoreTestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>

namespace {
const QString kScript = QStringLiteral(PELORA_TEST_DATA_DIR "/../../scripts/private-cups.sh");
}

SpareCups::SpareCups()
    : m_dir(QStringLiteral("/tmp/pq-XXXXXX"))  // short: the socket path is limited
{
}

bool SpareCups::start() { return tool(kScript, {QStringLiteral("start"), m_dir.path()}); }

bool SpareCups::stop() { return tool(kScript, {QStringLiteral("stop"), m_dir.path()}); }

pid_t SpareCups::pid() const { return TestSupport::readFile(path(QStringLiteral("cupsd.pid"))).trimmed().toInt(); }

bool SpareCups::tool(const QString &program, const QStringList &arguments, bool quiet)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), socket());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));  // messages read in English
    environment.remove(QStringLiteral("TMPDIR"));  // the test's job folder stays the program's
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    const bool ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!finished)
        process.kill();
    if (!ok && !quiet)
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(arguments.join(u' ')),
                 process.readAll().constData());
    return ok;
}

bool SpareCups::kill()
{
    const pid_t scheduler = pid();
    if (scheduler <= 0 || ::kill(scheduler, SIGKILL) != 0)
        return false;
    const QDeadlineTimer deadline(10000);
    const QString exe = QStringLiteral("/proc/%1/exe").arg(scheduler);
    while (!QFileInfo(exe).symLinkTarget().isEmpty() && !deadline.hasExpired())
        QThread::msleep(5);
    return !deadline.hasExpired();
}

bool SpareCups::addQueue(const QString &name)
{
    QDir().mkpath(path(QStringLiteral("out/") + name));
    QFile::setPermissions(path(QStringLiteral("out/") + name), QFileDevice::Permissions(0x7777));
    return tool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                                            QStringLiteral("file:") + path(QStringLiteral("out/%1.pdf").arg(name)),
                                            QStringLiteral("-P"), path(QStringLiteral("ppd/pelora-pdf.ppd"))});
}

bool SpareCups::removeQueue(const QString &name, bool quiet)
{
    return tool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name}, quiet);
}
