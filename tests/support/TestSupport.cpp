#include "TestSupport.h"

#include "common/Application.h"
#include "document/FileDialogs.h"

#include <QDir>
#include <QFile>

#include <sys/resource.h>

#include <csignal>
#include <memory>

MessageRecorder::MessageRecorder()
{
    Messages::setHandler([this](const Messages::Request &request) {
        m_shown.append(request);
        const bool question = request.kind == Messages::Kind::Question || request.kind == Messages::Kind::WarningQuestion;
        if (!question || m_answers.empty())
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

ScopedFileSizeLimit::ScopedFileSizeLimit(qint64 bytes)
{
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_previousSoft = limit.rlim_cur;
    // Without it the process would be killed by SIGXFSZ instead.
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!m_active)
        std::signal(SIGXFSZ, m_previousHandler);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit()
{
    if (!m_active)
        return;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0) {
        limit.rlim_cur = rlim_t(m_previousSoft);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::signal(SIGXFSZ, m_previousHandler);
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
// The test program's settings folder; removed when the program ends.
std::unique_ptr<QTemporaryDir> temporaryConfig;
}

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("PELORA_CONFIG_DIR")) {
        temporaryConfig = std::make_unique<QTemporaryDir>();
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
