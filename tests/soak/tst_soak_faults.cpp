// SPDX-License-Identifier: GPL-3.0-or-later
// What goes wrong around a save or a print job: the document's folder turns
// read-only, the disk fills up, a write fails, the settings file is a
// folder, the print server stops or dies, the chosen queue is removed.
// Each time the program says so (or, for the settings, carries on as the
// design wants), the document file that was there before is whole, and the
// next command works.
//
// Read-only and full file systems are small tmpfs mounts. The program takes
// a mount namespace of its own for them (it runs as root, or with
// CAP_SYS_ADMIN), so they vanish with it and nothing else sees them; root
// cannot be stopped by permissions, but a read-only mount stops it.
// Without the namespace those two cases are skipped; the write that fails by
// injection (a file-size limit) runs everywhere. The print faults use a
// scheduler of their own, started here with scripts/private-cups.sh.
#include "gui/dialogs/FileDialogs.h"
#include "core/jacket/JacketDocument.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/QdPrinters.h"
#include "support/PrivateCups.h"
#include "support/SpareCups.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>

#include <cups/cups.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

const QString kNoPrinter = QStringLiteral("プリンタを見つけられませんでした");
const QString kNoAnswer = QStringLiteral("印刷システム (CUPS) から応答がありません。");

// The message for `path`, with the system's words for `error`.
QString cannotCreate(const QString &path, int error) { return QStringLiteral("ファイル %1 を作成できません（%2）。").arg(path, qt_error_string(error)); }

bool g_ownMounts = false;
QString g_mountFailure;

// Called first thing in main(), while the program has one thread.
void takeOwnMountNamespace()
{
    if (::unshare(CLONE_NEWNS) != 0) {
        g_mountFailure = QStringLiteral("unshare: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    // Mounts made from here on do not propagate to the machine.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        g_mountFailure = QStringLiteral("private /: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    g_ownMounts = true;
}

// A small tmpfs on a folder, for the life of the object.
class Tmpfs
{
public:
    Tmpfs(const QString &folder, const QByteArray &options)
        : m_folder(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        m_mounted = ::mount("pelora-soak", m_folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
        if (!m_mounted)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~Tmpfs()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString error() const { return m_error; }
    bool remountReadOnly()
    {
        return ::mount(nullptr, m_folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
    QString m_error;
};

Jacket sampleDocument()
{
    return {QStringLiteral("故障テスト盤"),
            {QStringLiteral("一曲目  (03:25)"), QStringLiteral("二曲目  (04:10)"), QStringLiteral("Three  (02:58)")}};
}

}  // namespace

class SoakFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void readOnlyFolderKeepsTheDocument();
    void fullDiskKeepsTheDocument();
    void failingWriteKeepsTheDocument();
    void settingsFileThatIsAFolder_data();
    void settingsFileThatIsAFolder();
    void schedulerStopsBetweenPreviewAndPrint();
    void schedulerDiesDuringTheJob();
    void chosenQueueRemovedBetweenPreviewAndPrint();
    void lastQueueRemovedBetweenPreviewAndPrint();

private:
    // The document written with Save As, as the user would choose the path.
    bool saveAs(const QString &path);
    void loadDocument(const Jacket &document);
    Jacket shownDocument() const;
    // Prints with the print button, through the application's event
    // handling as a click would; returns the jobs handed over.
    QList<int> clickPrint(QPushButton *button);
    bool waitUntilPrinted(int job);
    void restartScheduler();

    QTemporaryDir m_scratch;
    QTemporaryDir m_jobFiles;
    std::unique_ptr<SpareCups> m_cups;
    QByteArray m_previousServer;
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
    // A document saved before each print fault; it must stay as it was.
    QString m_document;
    QByteArray m_documentBytes;
};

void SoakFaultsTest::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    // Print jobs are written here first: a job that failed must leave none.
    QVERIFY(m_jobFiles.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_jobFiles.path()));
    if (!g_ownMounts)
        qWarning("no mount namespace of its own (%s): the read-only and full-disk cases are skipped",
                 qPrintable(g_mountFailure));

    m_cups = std::make_unique<SpareCups>();
    QVERIFY2(m_cups->start(), "the test's own CUPS did not start");
    m_previousServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QFile::encodeName(m_cups->socket()));
    cupsSetServer(QFile::encodeName(m_cups->socket()).constData());
}

void SoakFaultsTest::cleanupTestCase()
{
    m_cups.reset();
    qputenv("CUPS_SERVER", m_previousServer);
    cupsSetServer(m_previousServer.isEmpty() ? nullptr : m_previousServer.constData());
}

void SoakFaultsTest::init()
{
    m_config = std::make_unique<ScopedConfigDir>();
    QdPrinter = new TQdPrinter();
    m_form = std::make_unique<TForm1>();
    PreVForm = new TPreVForm(m_form.get());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    loadDocument(sampleDocument());
    m_document = m_scratch.filePath(QStringLiteral("前の文書.plr"));
    m_documentBytes = JacketFormat::toBytes(sampleDocument());
    TestSupport::writeFile(m_document, m_documentBytes);
}

void SoakFaultsTest::cleanup()
{
    QCOMPARE(TestSupport::readFile(m_document), m_documentBytes);
    // A job is written to a file before it goes to the server; failed ones
    // leave none behind.
    QCOMPARE(QDir(m_jobFiles.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    delete PreVForm;
    PreVForm = nullptr;
    m_form.reset();
    delete QdPrinter;
    QdPrinter = nullptr;
    m_config.reset();
}

bool SoakFaultsTest::saveAs(const QString &path)
{
    FileDialogs::setHandler([path](const FileDialogs::Request &) { return path; });
    const auto restore = qScopeGuard([] {
        FileDialogs::setHandler([](const FileDialogs::Request &request) -> QString {
            qFatal("unexpected file dialog for %s", qPrintable(request.fileName));
        });
    });
    m_form->SaveAs1Click();
    return HasFileName && CurrentFileName == path;
}

void SoakFaultsTest::loadDocument(const Jacket &document)
{
    m_form->EditTi->setText(document.title);
    m_form->ListBox1->setItems(document.items);
}

Jacket SoakFaultsTest::shownDocument() const { return {m_form->EditTi->text(), m_form->ListBox1->items()}; }

QList<int> SoakFaultsTest::clickPrint(QPushButton *button)
{
    // One copy is one job, newer than any the scheduler held before the
    // click. Asked of the scheduler itself: one started again after a kill
    // may give a lost job's id once more. A dead one answers 0 both times.
    const int before = PrivateCups::lastJobId(m_cups->socket());
    QTest::mouseClick(button, Qt::LeftButton);
    const int after = PrivateCups::lastJobId(m_cups->socket());
    return after > before ? QList<int>{after} : QList<int>();
}

bool SoakFaultsTest::waitUntilPrinted(int job)
{
    const PrivateCups::Job result = PrivateCups::waitForJob(job, m_cups->socket());
    return result.state == IPP_JSTATE_COMPLETED && result.name == QStringLiteral("印刷中");
}

void SoakFaultsTest::restartScheduler()
{
    QVERIFY(m_cups->stop());
    QVERIFY(m_cups->start());
    // The program looks at the printers at most once a second; a user
    // takes longer than that to get to the next click.
    QTest::qWait(1100);
}

// --- saving -------------------------------------------------------------------

void SoakFaultsTest::readOnlyFolderKeepsTheDocument()
{
    if (!g_ownMounts)
        QSKIP(qPrintable(QStringLiteral("needs a mount namespace of its own (%1)").arg(g_mountFailure)));
    const QString folder = m_scratch.filePath(QStringLiteral("読み取り専用"));
    Tmpfs fs(folder, "size=1m");
    QVERIFY2(fs.mounted(), qPrintable(fs.error()));
    MessageRecorder messages;
    const QString path = folder + QStringLiteral("/ジャケット.plr");
    QVERIFY(saveAs(path));
    const QByteArray before = TestSupport::readFile(path);
    QCOMPARE(before, JacketFormat::toBytes(sampleDocument()));

    QVERIFY(fs.remountReadOnly());
    QVERIFY2(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly), "the folder still takes writes");

    m_form->EditTi->setText(QStringLiteral("書き換えた題名"));
    m_form->BlankBtnClick();
    const Jacket edited = shownDocument();
    m_form->Save1Click();
    QCOMPARE(messages.texts(), QStringList{cannotCreate(path, EROFS)});
    QCOMPARE(messages.shown().first().kind, Messages::Kind::Error);
    QCOMPARE(TestSupport::readFile(path), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("ジャケット.plr")});
    QCOMPARE(CurrentFileName, path);

    // The program goes on: the edited jacket is saved somewhere else, and
    // the old file can still be opened.
    messages.clear();
    const QString elsewhere = m_scratch.filePath(QStringLiteral("ジャケット.plr"));
    QVERIFY(saveAs(elsewhere));
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(TestSupport::readFile(elsewhere), JacketFormat::toBytes(edited));
    QVERIFY(m_form->ReadDocument(path));
    QCOMPARE(m_form->EditTi->text(), sampleDocument().title);
}

void SoakFaultsTest::fullDiskKeepsTheDocument()
{
    if (!g_ownMounts)
        QSKIP(qPrintable(QStringLiteral("needs a mount namespace of its own (%1)").arg(g_mountFailure)));
    const QString folder = m_scratch.filePath(QStringLiteral("full"));
    Tmpfs fs(folder, "size=64k");
    QVERIFY2(fs.mounted(), qPrintable(fs.error()));
    MessageRecorder messages;
    const QString path = folder + QStringLiteral("/ジャケット.plr");
    QVERIFY(saveAs(path));
    const QByteArray before = TestSupport::readFile(path);
    QCOMPARE(before, JacketFormat::toBytes(sampleDocument()));

    // Everything that is left is taken.
    const QByteArray filler = QFile::encodeName(folder + QStringLiteral("/filler"));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    const QByteArray block(4096, 'x');
    qint64 taken = 0;
    for (;;) {
        const ssize_t written = ::write(fd, block.constData(), size_t(block.size()));
        if (written <= 0)
            break;
        taken += written;
    }
    QCOMPARE(errno, ENOSPC);
    ::close(fd);
    qInfo("the disk was full after %lld bytes of filler", taken);

    // About 30 KB of document: more than there is room for.
    QStringList items = sampleDocument().items;
    for (int i = 1; i <= 2000; ++i)
        items << QStringLiteral("長い行 %1").arg(i);
    m_form->ListBox1->setItems(items);
    const Jacket edited = shownDocument();
    m_form->Save1Click();
    QCOMPARE(messages.texts(), QStringList{cannotCreate(path, ENOSPC)});
    QCOMPARE(TestSupport::readFile(path), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{QStringLiteral("filler"), QStringLiteral("ジャケット.plr")}));

    // Once there is room again, the same command saves.
    messages.clear();
    QVERIFY(QFile::remove(QFile::decodeName(filler)));
    m_form->Save1Click();
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(TestSupport::readFile(path), JacketFormat::toBytes(edited));
}

void SoakFaultsTest::failingWriteKeepsTheDocument()
{
    MessageRecorder messages;
    const QString path = m_scratch.filePath(QStringLiteral("書けない.plr"));
    QVERIFY(saveAs(path));
    const QByteArray before = TestSupport::readFile(path);

    QStringList items = sampleDocument().items;
    for (int i = 1; i <= 1000; ++i)
        items << QStringLiteral("行 %1").arg(i);
    m_form->ListBox1->setItems(items);
    const Jacket edited = shownDocument();
    QVERIFY(JacketFormat::toBytes(edited).size() > 4096);
    {
        // Every write past the first 4 KiB of a file fails (EFBIG), as a
        // disk that fills up or a failing device would make it.
        ScopedFileSizeLimit limit(4096);
        QVERIFY(limit.active());
        m_form->Save1Click();
    }
    QCOMPARE(messages.texts(), QStringList{cannotCreate(path, EFBIG)});
    QCOMPARE(TestSupport::readFile(path), before);
    QCOMPARE(QDir(m_scratch.path()).entryList({QStringLiteral("書けない*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("書けない.plr")});

    messages.clear();
    m_form->Save1Click();
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(TestSupport::readFile(path), JacketFormat::toBytes(edited));
}

// --- settings -------------------------------------------------------------------

void SoakFaultsTest::settingsFileThatIsAFolder_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::newRow("settings file") << QStringLiteral("Pelora.ini");
    QTest::newRow("data file") << QStringLiteral("Pelora.dat");
}

void SoakFaultsTest::settingsFileThatIsAFolder()
{
    QFETCH(QString, folderName);
    // A window of its own, on a settings folder where one file is a folder.
    delete PreVForm;
    PreVForm = nullptr;
    m_form.reset();
    ScopedConfigDir config;
    const QString folder = config.filePath(folderName);
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/inside")));

    MessageRecorder messages;
    {
        // Start-up reads nothing from it and goes on with the defaults.
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.ComboTFS->currentText(), QStringLiteral("17"));
        QCOMPARE(form.comboFS->currentText(), QStringLiteral("14"));
        QVERIFY(form.PlusNum->isChecked());
        QCOMPARE(NumberSuffix, QStringLiteral(". "));
        QCOMPARE(TagPlus.ArtistPrefix, QStringLiteral("  歌："));

        // Commands work: a jacket is made, saved and printed.
        form.EditTi->setText(sampleDocument().title);
        form.ListBox1->setItems(sampleDocument().items);
        QVERIFY(form.WriteDocument(m_scratch.filePath(QStringLiteral("設定なし.plr"))));
        QCOMPARE(TestSupport::readFile(m_scratch.filePath(QStringLiteral("設定なし.plr"))), m_documentBytes);
        const int before = QdPrinter->LastJobId();
        form.Button1Click(form.Print1);
        QVERIFY(QdPrinter->LastJobId() > before);
        QVERIFY(waitUntilPrinted(QdPrinter->LastJobId()));

        form.ComboTFS->setCurrentText(QStringLiteral("21"));
        NumberSuffix = QStringLiteral(") ");
    }
    // Shut-down writes what it can: the folder stays a folder, the other
    // file is written.
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/inside")));
    if (folderName == QLatin1String("Pelora.ini"))
        QVERIFY(TestSupport::readFile(config.filePath(QStringLiteral("Pelora.dat"))).endsWith(") \r\n"));
    else
        QVERIFY(TestSupport::readFile(config.filePath(QStringLiteral("Pelora.ini"))).contains("TFsize=21\r\n"));

    // And the next start is as good.
    {
        TForm1 form;
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(form.ComboTFS->currentText(),
                 folderName == QLatin1String("Pelora.ini") ? QStringLiteral("17") : QStringLiteral("21"));
    }
    QVERIFY(messages.shown().isEmpty());
}

// --- printing -------------------------------------------------------------------

void SoakFaultsTest::schedulerStopsBetweenPreviewAndPrint()
{
    MessageRecorder messages;
    PreVForm->show();  // lays the jacket out on the live printer and draws it
    QVERIFY(QTest::qWaitForWindowExposed(PreVForm));
    QVERIFY(messages.shown().isEmpty());

    QVERIFY(m_cups->stop());
    QTest::qWait(1100);
    QCOMPARE(clickPrint(PreVForm->PrintBtn), QList<int>());
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY2(messages.texts().first().startsWith(kNoAnswer), qPrintable(messages.texts().first()));
    QCOMPARE(messages.shown().first().kind, Messages::Kind::Error);
    QVERIFY(PreVForm->isHidden());

    // The program goes on: with the server back, the same button prints.
    messages.clear();
    QVERIFY(m_cups->start());
    QTest::qWait(1100);
    const QList<int> jobs = clickPrint(m_form->Button1);
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(jobs.size(), 1);
    QVERIFY(waitUntilPrinted(jobs.first()));
}

void SoakFaultsTest::schedulerDiesDuringTheJob()
{
    MessageRecorder messages;
    // A first job makes the program know the printer (capabilities and
    // settings are read once).
    QList<int> jobs = clickPrint(m_form->Button1);
    QCOMPARE(jobs.size(), 1);
    QVERIFY(waitUntilPrinted(jobs.first()));

    // The server dies right after the program last looked at it: the first
    // the program hears of it is the job itself, when it is handed over.
    QdPrinter->CheckPrinterChange();
    QVERIFY(m_cups->kill());
    jobs = clickPrint(m_form->Button1);
    QCOMPARE(jobs, QList<int>());
    // Said as it is, whether the job found out or the program looked at
    // the printers again first; no other try follows.
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().kind, Messages::Kind::Error);
    QVERIFY2(messages.texts().first().startsWith(kNoAnswer), qPrintable(messages.texts().first()));
    QCOMPARE(m_form->ComboBusuu->currentText(), QStringLiteral("1"));

    messages.clear();
    restartScheduler();
    jobs = clickPrint(m_form->Button1);
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(jobs.size(), 1);
    QVERIFY(waitUntilPrinted(jobs.first()));
}

void SoakFaultsTest::chosenQueueRemovedBetweenPreviewAndPrint()
{
    const QString queue = QStringLiteral("pelora-gone");
    QVERIFY(m_cups->addQueue(queue));
    const auto cleanUp = qScopeGuard([&] { m_cups->removeQueue(queue, true); });
    QdPrinter->SelectPrinter(queue);
    MessageRecorder messages;
    PreVForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(PreVForm));
    QVERIFY(messages.shown().isEmpty());

    QVERIFY(m_cups->removeQueue(queue));
    QTest::qWait(1100);
    // The program lists the printers anew at the next use and, its printer
    // being gone, says so; it prints on no other.
    const int before = PrivateCups::lastJobId(m_cups->socket());
    QCOMPARE(clickPrint(PreVForm->PrintBtn), QList<int>());
    QCOMPARE(messages.shown().size(), 1);
    QVERIFY2(messages.texts().first().startsWith(QStringLiteral("プリンタ「pelora-gone」が見つかりません。")),
             qPrintable(messages.texts().first()));
    QCOMPARE(PrivateCups::lastJobId(m_cups->socket()), before);
    QVERIFY(PreVForm->isHidden());
}

void SoakFaultsTest::lastQueueRemovedBetweenPreviewAndPrint()
{
    MessageRecorder messages;
    PreVForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(PreVForm));
    QVERIFY(messages.shown().isEmpty());

    // Every queue that takes jobs goes; the one left rejects them.
    const auto restore = qScopeGuard([this] { restartScheduler(); });
    for (const QString &queue : kAcceptingQueues)
        QVERIFY(m_cups->removeQueue(queue));
    QTest::qWait(1100);
    QCOMPARE(clickPrint(PreVForm->PrintBtn), QList<int>());
    QCOMPARE(messages.texts(), QStringList{kNoPrinter});

    // The program goes on: once there is a printer again, it prints.
    messages.clear();
    QVERIFY(m_cups->addQueue(QStringLiteral("pelora-new")));
    QTest::qWait(1100);
    const QList<int> jobs = clickPrint(m_form->Button1);
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(jobs.size(), 1);
    QVERIFY(waitUntilPrinted(jobs.first()));
    QVERIFY(m_cups->removeQueue(QStringLiteral("pelora-new")));
}

int main(int argc, char **argv)
{
    takeOwnMountNamespace();
    TApplication app(argc, argv);
    TestSupport::prepareEnvironment();
    SoakFaultsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_soak_faults.moc"
