// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CoreTestSupport.h"


#include <QBuffer>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QDir>
#include <QFile>
#include <QImage>

#include <sys/resource.h>
#include <sys/stat.h>
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

MessageRecorder::~MessageRecorder() { TestSupport::refuseUnexpectedMessages(); }

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

QMap<QString, QString> treeState(const QString &root)
{
    QMap<QString, QString> state;
    QDirIterator entries(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        QString what = QStringLiteral("mode %1 inode %2 ").arg(st.st_mode, 0, 8).arg(st.st_ino);
        if (S_ISLNK(st.st_mode))
            what += QStringLiteral("-> ") + QFileInfo(path).symLinkTarget();
        else if (S_ISREG(st.st_mode))
            what += QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex());
        state.insert(QDir(root).relativeFilePath(path), what);
    }
    return state;
}

QStringList treeChanges(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            changes << QStringLiteral("gone: ") + it.key();
        else if (after.value(it.key()) != it.value())
            changes << QStringLiteral("changed: %1 (%2 → %3)").arg(it.key(), it.value(), after.value(it.key()));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()))
            changes << QStringLiteral("new: ") + it.key();
    }
    return changes;
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
    // Nothing a test does may reach the real web services: a lookup that
    // a test did not point at its own server finds a closed port.
    qputenv("PELORA_MUSICBRAINZ_URL", "http://127.0.0.1:9");
    qputenv("PELORA_COVERART_URL", "http://127.0.0.1:9");
    Messages::setApplicationTitle(QStringLiteral("ペロラ"));
    refuseUnexpectedMessages();
}

void refuseUnexpectedMessages()
{
    // A real modal box would wait for a user that never comes.
    Messages::setHandler([](const Messages::Request &request) -> int {
        qFatal("unexpected message box: %s", qPrintable(request.text));
    });
}

QString configDir() { return qEnvironmentVariable("PELORA_CONFIG_DIR"); }

QString dataPath(const QString &name) { return QDir(QStringLiteral(PELORA_TEST_DATA_DIR)).filePath(name); }

}  // namespace TestSupport
