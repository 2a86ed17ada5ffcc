// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/HeadlessRun.h"
#include "core/common/Messages.h"
#include "core/common/ProgramSetup.h"

#include <QGuiApplication>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>

// Records every message box the program shows and answers its questions
// from a queue (Yes, go on, or the first answer when the queue is empty).
// Installed for the lifetime of the object.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void answerNext(bool yes) { m_answers.push_back(yes ? 0 : 1); }
    void chooseNext(int button) { m_answers.push_back(button); }
    const QList<Messages::Request> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    QList<Messages::Request> m_shown;
    std::deque<int> m_answers;
};

// Makes every write of this process past the first `bytes` of a file fail
// (EFBIG, the file-size limit) for the lifetime of the object, as a disk
// that fills up in the middle of a file would.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(qint64 bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit &) = delete;
    ScopedFileSizeLimit &operator=(const ScopedFileSizeLimit &) = delete;

    bool active() const { return m_active; }

private:
    bool m_active = false;
    quint64 m_previousSoft = 0;
    void (*m_previousHandler)(int) = nullptr;
};

// Folder and file permissions bind everyone but root: run as root, the
// process acts as "nobody" for the lifetime of the object.
class ScopedOtherUser
{
public:
    ScopedOtherUser();
    ~ScopedOtherUser();
    ScopedOtherUser(const ScopedOtherUser &) = delete;
    ScopedOtherUser &operator=(const ScopedOtherUser &) = delete;

private:
    bool m_changed = false;
};

// Points PELORA_CONFIG_DIR at a new, empty folder for the lifetime of the
// object, so that one test's settings files do not leak into the next.
class ScopedConfigDir
{
public:
    ScopedConfigDir();
    ~ScopedConfigDir();
    ScopedConfigDir(const ScopedConfigDir &) = delete;
    ScopedConfigDir &operator=(const ScopedConfigDir &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

namespace TestSupport {

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// Everything under `root` as the file system has it, links not followed:
// each path (relative to `root`) with its kind, inode and mode, and a file's
// bytes (as a hash) or a link's target. Two states differ when anything
// was written, replaced, deleted, made or had its mode changed.
QMap<QString, QString> treeState(const QString &root);
// The entries that differ between two states, one line each.
QStringList treeChanges(const QMap<QString, QString> &before, const QMap<QString, QString> &after);

// A picture file of a colour gradient, as Qt writes it in `format` ("PNG",
// "JPEG", …): with detail enough that its pixel data outweighs its headers.
QByteArray pictureBytes(const char *format, QSize size = QSize(8, 8));
// A PNG of one colour.
QByteArray solidPng(const QColor &colour);

// Points PELORA_CONFIG_DIR at a fresh temporary folder (unless the
// environment already names one), XDG_STATE_HOME at another (always) and
// the web lookups at a closed port of 127.0.0.1, and sets up the
// application title as the program does. Called by the test mains before
// the test object runs.
void prepareEnvironment();
QString configDir();

// Message boxes that no test answers end the test program with a message,
// instead of waiting for a click.
void refuseUnexpectedMessages();

QString dataPath(const QString &name);

}  // namespace TestSupport

// The main of a test of the core library: no widget, no printer of Qt's.
#define PELORA_CORE_TEST_MAIN(TestObject)                             \
    int main(int argc, char **argv)                                   \
    {                                                                 \
        const auto runtime = HeadlessRun::provideRuntimeDirectory();  \
        QGuiApplication app(argc, argv);                              \
        ProgramSetup::prepare();                                      \
        TestSupport::prepareEnvironment();                            \
        TestObject tc;                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                    \
        return QTest::qExec(&tc, argc, argv);                         \
    }
