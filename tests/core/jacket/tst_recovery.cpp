// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies of unsaved jackets: written whole off the UI thread, kept
// apart per run, found again once their run is gone, and offered at start.
#include "core/jacket/JacketFiles.h"
#include "core/jacket/RecoveryKeeper.h"
#include "core/jacket/RecoveryStore.h"
#include "core/files/ConfigLocation.h"
#include "support/CoreTestSupport.h"

#include <QDirIterator>
#include <QLockFile>
#include <QProcess>

#include <sys/stat.h>

#include <csignal>
#include <optional>

namespace {

using TestSupport::pictureBytes;

RecoveryCopy jacket(const QString &title, const QString &source = {}, const QByteArray &picture = {})
{
    RecoveryCopy copy{{title, {QStringLiteral("一曲目"), QString(), QStringLiteral("三曲目")}}, source};
    if (!picture.isEmpty())
        copy.jacket.cover = CoverPicture::fromBytes(picture).value();
    return copy;
}

// Long enough that its copy is still being written when the next request comes.
RecoveryCopy longJacket(const QString &title)
{
    RecoveryCopy copy = jacket(title);
    for (int i = 0; i < 100000; ++i)
        copy.jacket.items << QStringLiteral("%1 曲目  (03:25)  歌：アーティスト名").arg(i + 1);
    return copy;
}

// What the next start finds in the folder, newest first.
QList<RecoveryCopy> leftIn(const QString &folder)
{
    RecoveryStore next(folder);
    QList<RecoveryCopy> copies;
    for (const LeftCopy &left : next.leftCopies())
        copies << left.copy;
    return copies;
}

QStringList titles(const QList<RecoveryCopy> &copies)
{
    QStringList out;
    for (const RecoveryCopy &copy : copies)
        out << copy.jacket.title;
    return out;
}

void compareCopies(const RecoveryCopy &actual, const RecoveryCopy &expected)
{
    QCOMPARE(actual.jacket.title, expected.jacket.title);
    QCOMPARE(actual.jacket.items, expected.jacket.items);
    QCOMPARE(actual.jacket.cover.bytes(), expected.jacket.cover.bytes());
    QCOMPARE(actual.jacket.cover.suffix(), expected.jacket.cover.suffix());
    QCOMPARE(actual.sourcePath, expected.sourcePath);
}

// Dates back the copies in the folder saved after `savedAt`, as if saved then.
void dateBack(const QString &folder, const QDateTime &savedAt)
{
    QDirIterator copies(folder, {QStringLiteral("jacket.plr")}, QDir::Files, QDirIterator::Subdirectories);
    while (copies.hasNext()) {
        QFile file(copies.next());
        if (QFileInfo(file).lastModified() > savedAt && file.open(QIODevice::ReadWrite))
            QVERIFY(file.setFileTime(savedAt, QFileDevice::FileModificationTime));
    }
}

}  // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { m_dir.reset(); }

    void theFolderIsTheUsersStateFolder_data();
    void theFolderIsTheUsersStateFolder();
    void copiesComeBackWhole_data();
    void copiesComeBackWhole();
    void storesKeepToTheirOwnSlots();
    void theLastRequestWins_data();
    void theLastRequestWins();
    void unusableSlotsAreSkipped_data();
    void unusableSlotsAreSkipped();
    void onlyWhatPeloraMadeIsTouched_data();
    void onlyWhatPeloraMadeIsTouched();
    void copiesArePrivateWhateverTheUmask();
    void aKilledRunLeavesItsCopy();
    void keeperKeepsOnlyUnsavedJackets_data();
    void keeperKeepsOnlyUnsavedJackets();
    void leftCopiesAreOfferedNewestFirst_data();
    void leftCopiesAreOfferedNewestFirst();

private:
    QString folder() const { return m_dir->path(); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void RecoveryTest::theFolderIsTheUsersStateFolder_data()
{
    QTest::addColumn<QByteArray>("stateHome");  // XDG_STATE_HOME; null: unset
    QTest::addColumn<QString>("folder");
    QTest::newRow("named") << QByteArray("/srv/state") << "/srv/state/pelora/recovery";
    QTest::newRow("unset") << QByteArray() << "/home/someone/.local/state/pelora/recovery";
    QTest::newRow("relative, so invalid") << QByteArray("state") << "/home/someone/.local/state/pelora/recovery";
}

void RecoveryTest::theFolderIsTheUsersStateFolder()
{
    QFETCH(QByteArray, stateHome);
    QFETCH(QString, folder);
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedStateHome = qgetenv("XDG_STATE_HOME");
    qputenv("HOME", "/home/someone");
    if (stateHome.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", stateHome);
    const QString found = recoveryDirectory();
    qputenv("HOME", savedHome);
    qputenv("XDG_STATE_HOME", savedStateHome);
    QCOMPARE(found, folder);
}

void RecoveryTest::copiesComeBackWhole_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("picture");
    QTest::newRow("untitled, no picture") << "" << "" << QByteArray();
    QTest::newRow("named, PNG") << "アルバム" << "/music/曲目.plr" << pictureBytes("PNG");
    QTest::newRow("beyond Shift-JIS, JPEG") << "한 🎵" << "/music/x.plr" << pictureBytes("JPEG", QSize(16, 16));
}

void RecoveryTest::copiesComeBackWhole()
{
    QFETCH(QString, title);
    QFETCH(QString, source);
    QFETCH(QByteArray, picture);
    const RecoveryCopy copy = jacket(title, source, picture);
    RecoveryStore(folder()).keep(copy);
    {
        RecoveryStore next(folder());
        std::vector<LeftCopy> left = next.leftCopies();
        QCOMPARE(left.size(), size_t(1));
        compareCopies(left[0].copy, copy);
        QVERIFY(qAbs(left[0].savedAt.secsTo(QDateTime::currentDateTime())) < 60);
        left[0].remove();
    }
    // Removed, and the next run gone too: nothing stays behind.
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void RecoveryTest::storesKeepToTheirOwnSlots()
{
    std::optional<RecoveryStore> first(std::in_place, folder());
    std::optional<RecoveryStore> second(std::in_place, folder());
    first->keep(jacket(QStringLiteral("一つ目")));
    second->keep(jacket(QStringLiteral("二つ目")));
    first->waitForWrites();
    second->waitForWrites();
    // A live run's copy is nobody's to restore.
    QCOMPARE(titles(leftIn(folder())), QStringList());
    first->discard();
    first.reset();
    second.reset();
    QCOMPARE(titles(leftIn(folder())), QStringList{QStringLiteral("二つ目")});
}

void RecoveryTest::theLastRequestWins_data()
{
    QTest::addColumn<QStringList>("steps");  // a title to keep, or "discard"
    QTest::addColumn<QStringList>("left");
    QTest::newRow("a newer copy while one is written") << QStringList{"一", "二"} << QStringList{"二"};
    QTest::newRow("discarded before it is written") << QStringList{"一", "discard"} << QStringList();
    QTest::newRow("kept again after discarding") << QStringList{"一", "discard", "二"} << QStringList{"二"};
}

void RecoveryTest::theLastRequestWins()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, left);
    {
        RecoveryStore store(folder());
        for (const QString &step : std::as_const(steps)) {
            if (step == QLatin1String("discard"))
                store.discard();
            else
                store.keep(longJacket(step));
        }
    }
    QCOMPARE(titles(leftIn(folder())), left);
}

void RecoveryTest::unusableSlotsAreSkipped_data()
{
    QTest::addColumn<QStringList>("files");  // in the recovery folder
    QTest::addColumn<QByteArrayList>("contents");
    QTest::addColumn<QString>("offered");  // the title; empty: nothing, and the slot is gone
    QTest::addColumn<QString>("note");     // on standard error

    const QByteArray deadLock = "2147483647\n\n\n";  // no process has that number
    const auto document = [](const char *title) { return JacketFormat::toBytes({QString::fromUtf8(title), {}}); };
    QTest::newRow("cut short before complete") << QStringList{"gone/1.part/jacket.plr"} << QByteArrayList{document("途中")} << ""
                                               << "gone.* was cut short";
    QTest::newRow("the newer copy cut short") << QStringList{"gone/1/jacket.plr", "gone/2.part/jacket.plr"}
                                              << QByteArrayList{document("前の版"), document("途中")} << "前の版" << "";
    QTest::newRow("an empty document") << QStringList{"gone/1/jacket.plr"} << QByteArrayList{""} << ""
                                       << "gone.* holds no readable document";
    QTest::newRow("no document") << QStringList{"gone/1/source"} << QByteArrayList{"/x.plr"} << ""
                                 << "gone.* holds no readable document";
    QTest::newRow("a picture that is none") << QStringList{"gone/1/jacket.plr", "gone/1/cover.png"}
                                            << QByteArrayList{document("表題"), "no picture"} << "表題"
                                            << "gone.* cover picture that cannot be read";
    QTest::newRow("the lock of a dead run, with a copy") << QStringList{"gone.lock", "gone/1/jacket.plr"}
                                                         << QByteArrayList{deadLock, document("表題")} << "表題" << "";
    QTest::newRow("the lock of a dead run alone") << QStringList{"gone.lock"} << QByteArrayList{deadLock} << "" << "";
}

void RecoveryTest::unusableSlotsAreSkipped()
{
    QFETCH(QStringList, files);
    QFETCH(QByteArrayList, contents);
    QFETCH(QString, offered);
    QFETCH(QString, note);
    const QDir dir(folder());
    for (qsizetype i = 0; i < files.size(); ++i) {
        QVERIFY(dir.mkpath(QFileInfo(files[i]).path()));
        TestSupport::writeFile(dir.filePath(files[i]), contents[i]);
    }
    if (dir.exists(QStringLiteral("gone")))
        TestSupport::writeFile(dir.filePath(QStringLiteral("gone/pelora-slot")), "Pelora recovery slot\n");
    if (note.isEmpty())
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    else
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(note));
    QCOMPARE(titles(leftIn(folder())), offered.isEmpty() ? QStringList() : QStringList{offered});
    if (offered.isEmpty())
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

// The recovery folder may hold what is not Pelora's: links (to the user's
// folders, documents or files), the user's own folders and files, copies too
// large to be a jacket, and the lock of a live run on a file system without
// native locks. Nothing of that is deleted, followed, or taken up.
void RecoveryTest::onlyWhatPeloraMadeIsTouched_data()
{
    QTest::addColumn<QStringList>("made");  // path=bytes, path->target, path~size (sparse), under the test's folder
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("gone");   // what goes, under recovery/
    QTest::addColumn<QStringList>("notes");  // on standard error
    const QString legacy = QStringLiteral("recovery/4f1c2b64-0000-4000-8000-000000000001");
    QTest::newRow("a link named like a slot, to the user's folder")
        << QStringList{"outside/pelora-slot={mark}", "outside/1/jacket.plr={外}", legacy + "->outside"} << QStringList() << QStringList()
        << QStringList{"4f1c2b64.* is not Pelora's"};
    QTest::newRow("a slot whose lock is a link")
        << QStringList{"recovery/gone/pelora-slot={mark}", "recovery/gone/1/jacket.plr={題}", "outside/file=mine", "recovery/gone.lock->outside/file"}
        << QStringList() << QStringList() << QStringList{"gone.lock is not Pelora's"};
    QTest::newRow("a folder of the user's") << QStringList{"recovery/notes/a.txt=mine"} << QStringList() << QStringList()
                                            << QStringList{"notes is not Pelora's"};
    QTest::newRow("a slot of an earlier version, holding the user's files")
        << QStringList{legacy + "/1/jacket.plr={前}", legacy + "/photos/p.jpg=photo"} << QStringList{"前"}
        << QStringList{"4f1c2b64-0000-4000-8000-000000000001/1", "4f1c2b64-0000-4000-8000-000000000001/1/jacket.plr"}
        << QStringList{"4f1c2b64.* holds files that are not Pelora's"};
    QTest::newRow("a copy folder that is a link to the user's folder")
        << QStringList{"recovery/gone/pelora-slot={mark}", "outside/jacket.plr={外}", "recovery/gone/1->outside"} << QStringList()
        << QStringList{"gone/pelora-slot"} << QStringList{"gone holds files that are not Pelora's"};
    QTest::newRow("a document that is a link to the user's")
        << QStringList{"recovery/gone/pelora-slot={mark}", "outside/doc.plr={外}", "recovery/gone/1/jacket.plr->outside/doc.plr"}
        << QStringList() << QStringList{"gone/pelora-slot"}
        << QStringList{"gone holds no readable document", "gone holds files that are not Pelora's"};
    QTest::newRow("a copy larger than 64 MiB is not read")
        << QStringList{"recovery/gone/pelora-slot={mark}", "recovery/gone/1/jacket.plr~70000000"} << QStringList() << QStringList()
        << QStringList{"gone is larger than 64 MiB"};
    QTest::newRow("the lock of a live run, older than half a minute, without native locks")
        << QStringList{"recovery/gone/pelora-slot={mark}", "recovery/gone/1/jacket.plr={生きている}", "recovery/gone.lock={live}"}
        << QStringList() << QStringList() << QStringList();
}

void RecoveryTest::onlyWhatPeloraMadeIsTouched()
{
    QFETCH(QStringList, made);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, notes);
    const QDir root(folder());
    QVERIFY(root.mkpath(QStringLiteral("recovery")) && root.mkpath(QStringLiteral("outside")));
    QVERIFY(QFile::setPermissions(root.filePath(QStringLiteral("recovery")), QFileDevice::Permissions(0x7000)));
    QByteArray liveLock;  // this process's lock, as a file system without native locks holds it
    {
        QLockFile lock(root.filePath(QStringLiteral("probe.lock")));
        QVERIFY(lock.tryLock(0));
        liveLock = TestSupport::readFile(root.filePath(QStringLiteral("probe.lock")));
    }
    for (const QString &entry : std::as_const(made)) {
        const qsizetype link = entry.indexOf(QStringLiteral("->"));
        const qsizetype sparse = entry.indexOf(u'~');
        const QString path = root.filePath(entry.left(link >= 0 ? link : sparse >= 0 ? sparse : entry.indexOf(u'=')));
        QVERIFY(root.mkpath(QFileInfo(path).path()));
        if (link >= 0) {
            QVERIFY(QFile::link(root.filePath(entry.mid(link + 2)), path));
        } else if (sparse >= 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(entry.mid(sparse + 1).toLongLong()));
        } else {
            const QString value = entry.mid(entry.indexOf(u'=') + 1);
            TestSupport::writeFile(path, value == QLatin1String("{mark}")   ? QByteArray("Pelora recovery slot\n")
                                         : value == QLatin1String("{live}") ? liveLock
                                         : value.startsWith(u'{')           ? JacketFormat::toBytes({value.mid(1).chopped(1), {}})
                                                                            : value.toUtf8());
            if (value == QLatin1String("{live}")) {
                QFile file(path);
                QVERIFY(file.open(QIODevice::ReadWrite));
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
            }
        }
    }
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!(%1))").arg(notes.join(u'|'))));
    for (const QString &note : std::as_const(notes))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(note));

    const QMap<QString, QString> before = TestSupport::treeState(folder());
    QStringList found;
    {
        RecoveryStore next(root.filePath(QStringLiteral("recovery")));
        for (LeftCopy &left : next.leftCopies()) {
            found << left.copy.jacket.title;
            left.remove();
        }
    }
    QCOMPARE(found, offered);
    QStringList expected;
    for (const QString &path : std::as_const(gone))
        expected << QStringLiteral("gone: recovery/") + path;
    QStringList changes = TestSupport::treeChanges(before, TestSupport::treeState(folder()));
    changes.sort();
    expected.sort();
    QCOMPARE(changes, expected);
}

// Copies hold the user's track lists and documents' paths: the owner's alone.
void RecoveryTest::copiesArePrivateWhateverTheUmask()
{
    const mode_t previous = ::umask(0);
    const QString recovery = QDir(folder()).filePath(QStringLiteral("state/pelora/recovery"));
    {
        RecoveryStore store(recovery);
        store.keep(jacket(QStringLiteral("題"), QStringLiteral("/music/題.plr"), pictureBytes("PNG")));
        store.waitForWrites();
        const QMap<QString, QString> state = TestSupport::treeState(QDir(folder()).filePath(QStringLiteral("state")));
        ::umask(previous);
        QCOMPARE(state.size(), 9);  // pelora, recovery, the lock, the slot, its mark, the copy and its three files
        for (auto it = state.cbegin(); it != state.cend(); ++it) {
            const QString mode = it.value().section(u' ', 1, 1);
            QVERIFY2(mode == QLatin1String("40700") || mode == QLatin1String("100600"), qPrintable(it.key() + u' ' + mode));
        }
    }
}

void RecoveryTest::aKilledRunLeavesItsCopy()
{
    QTemporaryDir documents;
    const QString document = documents.filePath(QStringLiteral("曲目.plr"));
    const RecoveryCopy copy = jacket(QStringLiteral("落ちた盤"), document, pictureBytes("PNG"));
    TestSupport::writeFile(document, JacketFormat::toBytes(copy.jacket));
    TestSupport::writeFile(JacketFiles::coverPath(document, QStringLiteral("png")), copy.jacket.cover.bytes());

    QProcess run;
    run.start(QStringLiteral(RECOVERY_WRITER), {folder(), document});
    QVERIFY2(run.waitForReadyRead(60000), run.readAllStandardError().constData());
    QCOMPARE(run.readLine(), QByteArray("kept\n"));
    QCOMPARE(titles(leftIn(folder())), QStringList());  // alive

    ::kill(pid_t(run.processId()), SIGKILL);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitStatus(), QProcess::CrashExit);
    const QList<RecoveryCopy> left = leftIn(folder());
    QCOMPARE(left.size(), 1);
    compareCopies(left[0], copy);
}

void RecoveryTest::keeperKeepsOnlyUnsavedJackets_data()
{
    QTest::addColumn<QStringList>("steps");  // change, clock (its next tick), now, discard
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("snapshots");
    QTest::addColumn<bool>("left");
    QTest::newRow("a change, then the clock") << QStringList{"change", "clock"} << true << 1 << true;
    QTest::newRow("a change undone by the clock") << QStringList{"change", "clock"} << false << 0 << false;
    QTest::newRow("before a print") << QStringList{"now"} << true << 1 << true;
    QTest::newRow("before a print, nothing changed") << QStringList{"now"} << false << 0 << false;
    QTest::newRow("saved after the copy") << QStringList{"change", "clock", "discard"} << true << 1 << false;
}

void RecoveryTest::keeperKeepsOnlyUnsavedJackets()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, changed);
    QFETCH(int, snapshots);
    QFETCH(bool, left);
    const RecoveryCopy copy = jacket(QStringLiteral("編集中"), QStringLiteral("/music/編集中.plr"), pictureBytes("PNG"));
    int asked = 0;
    int taken = 0;
    {
        RecoveryKeeper keeper([&] { return ++asked, changed; }, [&] { return ++taken, copy; }, folder(), std::chrono::milliseconds(1));
        for (const QString &step : std::as_const(steps)) {
            const int askedBefore = asked;
            if (step == QLatin1String("change"))
                keeper.noteChange();
            else if (step == QLatin1String("clock"))
                QTRY_VERIFY(asked > askedBefore);
            else if (step == QLatin1String("now"))
                keeper.keepNow();
            else
                keeper.discard();
        }
        QCOMPARE(taken, snapshots);
    }
    const QList<RecoveryCopy> found = leftIn(folder());
    QCOMPARE(found.size(), left ? 1 : 0);
    if (left)
        compareCopies(found[0], copy);
}

void RecoveryTest::leftCopiesAreOfferedNewestFirst_data()
{
    QTest::addColumn<QList<bool>>("answers");  // restore?
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("handedOver");  // the copy handed to this run
    QTest::addColumn<QString>("restored");
    QTest::addColumn<QStringList>("elsewhere");  // restored in new windows
    QTest::addColumn<QStringList>("leftAfter");
    const QString newer = QStringLiteral("保存されずに終わった「無題」の内容が残っています（2024/05/02 08:05 時点）。\n復元しますか？");
    const QString older = QStringLiteral("保存されずに終わった「古い盤.plr」の内容が残っています（2024/05/01 12:34 時点）。\n復元しますか？");
    const QString olderToo =
        QStringLiteral("保存されずに終わった「古い盤.plr」の内容も残っています（2024/05/01 12:34 時点）。\n新しいウィンドウで復元しますか？");
    QTest::newRow("restore both, the older in a new window")
        << QList<bool>{true, true} << QStringList{newer, olderToo} << "" << "新しい盤" << QStringList{"古い盤"}
        << QStringList{"新しい盤", "古い盤"};
    QTest::newRow("restore the newest, discard the older") << QList<bool>{true, false} << QStringList{newer, olderToo} << "" << "新しい盤"
                                                           << QStringList() << QStringList{"新しい盤"};
    QTest::newRow("discard it, restore the older") << QList<bool>{false, true} << QStringList{newer, older} << "" << "古い盤"
                                                   << QStringList() << QStringList{"古い盤"};
    QTest::newRow("discard both") << QList<bool>{false, false} << QStringList{newer, older} << "" << "" << QStringList() << QStringList();
    QTest::newRow("handed over: restored without a question") << QList<bool>() << QStringList() << "古い盤" << "古い盤" << QStringList()
                                                               << QStringList{"新しい盤", "古い盤"};
}

void RecoveryTest::leftCopiesAreOfferedNewestFirst()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, handedOver);
    QFETCH(QString, restored);
    QFETCH(QStringList, elsewhere);
    QFETCH(QStringList, leftAfter);
    const RecoveryCopy older = jacket(QStringLiteral("古い盤"), QStringLiteral("/music/古い盤.plr"), pictureBytes("PNG"));
    const RecoveryCopy newer = jacket(QStringLiteral("新しい盤"));
    RecoveryStore(folder()).keep(older);
    dateBack(folder(), QDateTime(QDate(2024, 5, 1), QTime(12, 34), Qt::UTC));
    RecoveryStore(folder()).keep(newer);
    dateBack(folder(), QDateTime(QDate(2024, 5, 2), QTime(8, 5), Qt::UTC));
    QHash<QString, QString> slotOf;  // title → slot
    {
        RecoveryStore look(folder());
        for (const LeftCopy &left : look.leftCopies())
            slotOf[left.copy.jacket.title] = RecoveryStore::slotName(left);
    }
    if (!handedOver.isEmpty())
        qputenv(RecoveryKeeper::kHandedOver, slotOf.value(handedOver).toUtf8());

    MessageRecorder messages;
    for (const bool answer : std::as_const(answers))
        messages.answerNext(answer);
    std::optional<RecoveryCopy> restoredCopy;
    QStringList restoredElsewhere;
    {
        RecoveryKeeper keeper([] { return true; }, [] { return RecoveryCopy(); }, folder(), RecoveryKeeper::kInterval);
        QCOMPARE(keeper.offerLeftCopies([&](const RecoveryCopy &copy) { restoredCopy = copy; },
                                        [&](const QString &slot) {
                                            // The new run takes it up.
                                            RecoveryStore run(folder());
                                            std::vector<LeftCopy> taken = run.leftCopies(slot);
                                            QCOMPARE(taken.size(), size_t(1));
                                            restoredElsewhere << taken[0].copy.jacket.title;
                                        }),
                 !restored.isEmpty());
    }
    QVERIFY(qEnvironmentVariableIsEmpty(RecoveryKeeper::kHandedOver));
    QCOMPARE(messages.texts(), asked);
    for (const Messages::Request &request : messages.shown()) {
        QCOMPARE(request.kind, Messages::Kind::Question);
        QCOMPARE(request.title, QStringLiteral("確認"));
        QCOMPARE(request.buttons.last(), QStringLiteral("破棄する(&D)"));
        QCOMPARE(request.escapeButton, -1);
    }
    QCOMPARE(restoredCopy.has_value(), !restored.isEmpty());
    if (restoredCopy)
        compareCopies(*restoredCopy, restored == older.jacket.title ? older : newer);
    QCOMPARE(restoredElsewhere, elsewhere);
    // The restored copy is this run's now, and stays until it is discarded.
    QCOMPARE(titles(leftIn(folder())), leftAfter);
}

PELORA_CORE_TEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
