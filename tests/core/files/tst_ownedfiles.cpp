// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule for the files Pelora writes and deletes: its own never
// through a link nor in place of anything but a regular file; the user's
// through a link to the file it names; whole, with no file left beside.
#include "core/files/OwnedFiles.h"
#include "support/CoreTestSupport.h"

#include <sys/stat.h>

class OwnedFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void eachNameIsTreatedAsWhatItIs_data();
    void eachNameIsTreatedAsWhatItIs();
    void privateFoldersAreMadePrivate();
};

void OwnedFilesTest::eachNameIsTreatedAsWhatItIs_data()
{
    QTest::addColumn<QString>("shape");       // what is at the name "it"
    QTest::addColumn<QString>("operation");   // own, private, user, remove
    QTest::addColumn<QString>("why");         // the reason given; empty: done
    QTest::addColumn<QStringList>("changes");  // "what: path", as treeChanges says
    QTest::addColumn<int>("mode");            // of "it" afterwards; 0: not looked at

    const QString link = QStringLiteral("シンボリックリンクです");
    const QString folder = QStringLiteral("フォルダです");
    const QString other = QStringLiteral("普通のファイルではありません");
    QTest::newRow("own: nothing there") << "none" << "own" << "" << QStringList{"new: it"} << 0666;
    QTest::newRow("own: a file, its mode kept") << "file 0640" << "own" << "" << QStringList{"changed: it"} << 0640;
    QTest::newRow("own: a link to the user's file") << "link" << "own" << link << QStringList() << 0;
    QTest::newRow("own: a dangling link") << "dangling" << "own" << link << QStringList() << 0;
    QTest::newRow("own: a folder") << "folder" << "own" << folder << QStringList() << 0;
    QTest::newRow("own: a FIFO") << "fifo" << "own" << other << QStringList() << 0;
    QTest::newRow("private: a shared file becomes private") << "file 0644" << "private" << "" << QStringList{"changed: it"} << 0600;
    QTest::newRow("private: nothing there") << "none" << "private" << "" << QStringList{"new: it"} << 0600;
    QTest::newRow("user: the link's file is replaced") << "link" << "user" << "" << QStringList{"changed: outside/file"} << 0;
    QTest::newRow("user: a dangling link makes its file") << "dangling" << "user" << "" << QStringList{"new: outside/gone"} << 0;
    QTest::newRow("user: a folder") << "folder" << "user" << folder << QStringList() << 0;
    QTest::newRow("user: a FIFO") << "fifo" << "user" << other << QStringList() << 0;
    QTest::newRow("remove: a file") << "file 0644" << "remove" << "" << QStringList{"gone: it"} << 0;
    QTest::newRow("remove: nothing there") << "none" << "remove" << "" << QStringList() << 0;
    QTest::newRow("remove: a link, not its file") << "link" << "remove" << link << QStringList() << 0;
    QTest::newRow("remove: a folder") << "folder" << "remove" << folder << QStringList() << 0;
}

void OwnedFilesTest::eachNameIsTreatedAsWhatItIs()
{
    QFETCH(QString, shape);
    QFETCH(QString, operation);
    QFETCH(QString, why);
    QFETCH(QStringList, changes);
    QFETCH(int, mode);
    const QTemporaryDir dir;
    const QDir root(dir.path());
    const QString it = root.filePath(QStringLiteral("it"));
    QVERIFY(root.mkdir(QStringLiteral("outside")));
    TestSupport::writeFile(root.filePath(QStringLiteral("outside/file")), "the user's");
    if (shape.startsWith(QLatin1String("file"))) {
        TestSupport::writeFile(it, "old");
        QCOMPARE(::chmod(QFile::encodeName(it).constData(), shape.section(u' ', 1).toUInt(nullptr, 8)), 0);
    } else if (shape == QLatin1String("link")) {
        QVERIFY(QFile::link(root.filePath(QStringLiteral("outside/file")), it));
    } else if (shape == QLatin1String("dangling")) {
        QVERIFY(QFile::link(root.filePath(QStringLiteral("outside/gone")), it));
    } else if (shape == QLatin1String("folder")) {
        QVERIFY(root.mkdir(QStringLiteral("it")));
    } else if (shape == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(it).constData(), 0600), 0);
    }

    const QMap<QString, QString> before = TestSupport::treeState(dir.path());
    const mode_t umask = ::umask(0);
    const QString given = operation == QLatin1String("own")       ? OwnedFiles::write(it, "new")
                        : operation == QLatin1String("private")   ? OwnedFiles::write(it, "new", OwnedFiles::Access::Private)
                        : operation == QLatin1String("user")      ? OwnedFiles::writeUsers(it, "new")
                                                                  : OwnedFiles::remove(it);
    ::umask(umask);
    QCOMPARE(given, why);
    // Exactly these, and no file left beside them.
    QStringList changed;
    for (const QString &change : TestSupport::treeChanges(before, TestSupport::treeState(dir.path())))
        changed << change.section(u' ', 0, 1);
    QCOMPARE(changed, changes);
    if (mode) {
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(it).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(mode));
        QCOMPARE(TestSupport::readFile(it), QByteArray("new"));
    }
}

// Only what is made, and the last folder, which is Pelora's: a parent the
// user had keeps its mode.
void OwnedFilesTest::privateFoldersAreMadePrivate()
{
    const QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkdir(QStringLiteral("home")));
    QVERIFY(QFile::setPermissions(root.filePath(QStringLiteral("home")), QFileDevice::Permissions(0x7755)));
    const mode_t umask = ::umask(0);
    const QString made = OwnedFiles::makeFolder(root.filePath(QStringLiteral("home/state/pelora")), OwnedFiles::Access::Private);
    ::umask(umask);
    QCOMPARE(made, QString());
    QCOMPARE(QFileInfo(root.filePath(QStringLiteral("home"))).permissions(), QFileDevice::Permissions(0x7755));
    for (const char *folder : {"home/state", "home/state/pelora"})
        QCOMPARE(QFileInfo(root.filePath(QLatin1String(folder))).permissions(), QFileDevice::Permissions(0x7700));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("home")), root.filePath(QStringLiteral("linked"))));
    QCOMPARE(OwnedFiles::makeFolder(root.filePath(QStringLiteral("linked")), OwnedFiles::Access::Private), QStringLiteral("シンボリックリンクです"));
    QCOMPARE(QFileInfo(root.filePath(QStringLiteral("home"))).permissions(), QFileDevice::Permissions(0x7755));
}

PELORA_CORE_TEST_MAIN(OwnedFilesTest)
#include "tst_ownedfiles.moc"
