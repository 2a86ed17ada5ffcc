#include "TestSupport.h"

#include "common/Application.h"
#include "document/FileDialogs.h"

#include <QDir>
#include <QFile>

MessageRecorder::MessageRecorder()
{
    Messages::setHandler([this](const Messages::Request &request) {
        m_shown.append(request);
        if (request.kind != Messages::Kind::Question || m_answers.empty())
            return true;
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { TestSupport::refuseUnexpectedDialogs(); }

QStringList MessageRecorder::texts() const
{
    QStringList out;
    for (const auto &request : m_shown)
        out << request.text;
    return out;
}

ScopedConfigDir::ScopedConfigDir()
    : m_previous(qgetenv("PELORA_CONFIG_DIR"))
{
    qputenv("PELORA_CONFIG_DIR", m_dir.path().toLocal8Bit());
}

ScopedConfigDir::~ScopedConfigDir() { qputenv("PELORA_CONFIG_DIR", m_previous); }

namespace TestSupport {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
}

namespace {
QTemporaryDir *temporaryConfig = nullptr;
}

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("PELORA_CONFIG_DIR")) {
        temporaryConfig = new QTemporaryDir();
        qputenv("PELORA_CONFIG_DIR", temporaryConfig->path().toLocal8Bit());
    }
    Messages::setApplicationTitle(QStringLiteral("ペロラ"));
    refuseUnexpectedDialogs();
}

void refuseUnexpectedDialogs()
{
    // A real modal box would wait for a user that never comes.
    Messages::setHandler([](const Messages::Request &request) -> bool {
        qFatal("unexpected message box: %s", qPrintable(request.text));
    });
    FileDialogs::setHandler([](const FileDialogs::Request &request) -> QString {
        qFatal("unexpected file dialog for %s", qPrintable(request.fileName));
    });
}

QString configDir() { return qEnvironmentVariable("PELORA_CONFIG_DIR"); }

QString dataPath(const QString &name) { return QDir(QStringLiteral(PELORA_TEST_DATA_DIR)).filePath(name); }

}  // namespace TestSupport
