// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/Application.h"
#include "document/FileDialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <memory>

MessageRecorder::MessageRecorder()
{
    Messages::setHandler([this](const Messages::Request &request) {
        m_shown.append(request);
        if (request.buttons.isEmpty() || m_answers.empty())
            return 0;
        const int answer = m_answers.front();
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

DialogAnswers::DialogAnswers()
{
    FileDialogs::setHandler([this](const FileDialogs::Request &request) {
        asked.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    });
}

DialogAnswers::~DialogAnswers() { TestSupport::refuseUnexpectedDialogs(); }

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

ScopedOtherUser::ScopedOtherUser()
{
    constexpr uid_t kNobody = 65534;
    if (::geteuid() != 0)
        return;
    // The group first: without root the process could no longer change it.
    m_changed = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    if (!m_changed) {
        ::setegid(0);
        QTest::qFail("cannot act as another user", __FILE__, __LINE__);
    }
}

ScopedOtherUser::~ScopedOtherUser()
{
    if (m_changed && (::seteuid(0) != 0 || ::setegid(0) != 0))
        qFatal("cannot act as root again");
}

ScopedConfigDir::ScopedConfigDir()
    : m_previous(qgetenv("PELORA_CONFIG_DIR"))
{
    qputenv("PELORA_CONFIG_DIR", m_dir.path().toLocal8Bit());
}

ScopedConfigDir::~ScopedConfigDir() { qputenv("PELORA_CONFIG_DIR", m_previous); }

namespace TestSupport {

namespace {

QByteArray saved(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

}  // namespace

QByteArray pictureBytes(const char *format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x * y) & 0xFF));
    }
    return saved(image, format);
}

QByteArray solidPng(const QColor &colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    return saved(image, "PNG");
}

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
// The test program's settings folder, and its state folder (recovery
// copies); removed when the program ends.
std::unique_ptr<QTemporaryDir> temporaryConfig;
std::unique_ptr<QTemporaryDir> temporaryState;
}

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("PELORA_CONFIG_DIR")) {
        temporaryConfig = std::make_unique<QTemporaryDir>();
        qputenv("PELORA_CONFIG_DIR", temporaryConfig->path().toLocal8Bit());
    }
    // Whatever the caller's environment says: tests never touch the user's state.
    temporaryState = std::make_unique<QTemporaryDir>();
    qputenv("XDG_STATE_HOME", QFile::encodeName(temporaryState->path()));
    Messages::setApplicationTitle(QStringLiteral("ペロラ"));
    refuseUnexpectedDialogs();
}

void refuseUnexpectedDialogs()
{
    // A real modal box would wait for a user that never comes.
    Messages::setHandler([](const Messages::Request &request) -> int {
        qFatal("unexpected message box: %s", qPrintable(request.text));
    });
    FileDialogs::setHandler([](const FileDialogs::Request &request) -> QString {
        qFatal("unexpected file dialog for %s", qPrintable(request.fileName));
    });
}

QString configDir() { return qEnvironmentVariable("PELORA_CONFIG_DIR"); }

QString dataPath(const QString &name) { return QDir(QStringLiteral(PELORA_TEST_DATA_DIR)).filePath(name); }

}  // namespace TestSupport
