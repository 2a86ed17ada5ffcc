// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: the PDF export, the print and the disc import without a
// window, run as the real program in a process of its own, with no display.
#include "core/disc/DiscSource.h"
#include "core/files/OutputFile.h"
#include "core/text/TextCodec.h"
#include "core/jacket/JacketDocument.h"
#include "core/layout/PdfExport.h"
#include "app/CommandLine.h"
#include "support/PrivateCups.h"
#include "support/CoreTestSupport.h"
#include "support/DiscFixtures.h"
#include "support/ReplayServer.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <cups/cups.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSample = QStringLiteral(PELORA_EXAMPLES_DIR "/サンプル.plr");

struct Outcome
{
    int status = -1;
    QByteArray out;
    QString err;
};

QString tool(const QString &program, const QStringList &arguments) { return PrivateCups::runTool(program, arguments); }

QString pageText(const QString &pdf, int page)
{
    return tool("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

QString pageSize(const QString &pdf)
{
    return QRegularExpression("Page size:\\s+(.*)").match(tool("pdfinfo", {pdf})).captured(1).trimmed();
}

// One page at 30 dpi in grey.
QImage render(const QString &pdf, int page, const QString &base)
{
    tool("pdftoppm", {"-r", "30", "-gray", "-f", QString::number(page), "-l", QString::number(page), "-singlefile", pdf, base});
    return QImage(base + ".pgm").convertToFormat(QImage::Format_Grayscale8);
}

// The share of pixels whose grey differs by more than a quarter of the range.
double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            differing += qAbs(a.constScanLine(y)[x] - b.constScanLine(y)[x]) > 64;
    }
    return double(differing) / (qint64(a.width()) * a.height());
}

// What a name is on the disk: which file, and of which kind.
QList<quint64> identity(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino), quint64(st.st_mode & S_IFMT)};
}

// A run under a desktop language other than Japanese.
const QHash<QString, QString> kEnglish{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "en_US.UTF-8"}, {"LANGUAGE", ""}};

// What the program said in Japanese, the arguments it repeats left out.
QString japaneseIn(QString said, const QStringList &arguments)
{
    for (const QString &argument : arguments)
        said.remove(QFileInfo(argument).fileName());
    const QRegularExpression japanese("[\\p{Han}\\p{Hiragana}\\p{Katakana}]+");
    QStringList found;
    for (auto it = japanese.globalMatch(said); it.hasNext();)
        found << it.next().captured();
    return found.join(u' ');
}

QByteArray sjis(const char16_t *text) { return Cp932::encode(QString::fromUtf16(text)); }

// A MusicBrainz answer recorded for another disc, with `discId` where the
// release `holder` (-1: none) lists that disc: the others hold it by their
// number of tracks only.
QByteArray answerAbout(const QString &file, const QString &discId, int holder)
{
    QJsonObject answer = QJsonDocument::fromJson(TestSupport::readFile(TestSupport::dataPath("musicbrainz/" + file))).object();
    QJsonArray releases = answer.value("releases").toArray();
    for (qsizetype r = 0; r < releases.size(); ++r) {
        QJsonObject release = releases[r].toObject();
        QJsonArray media = release.value("media").toArray();
        for (qsizetype m = 0; m < media.size(); ++m) {
            QJsonObject medium = media[m].toObject();
            QJsonArray discs = medium.value("discs").toArray();
            for (qsizetype d = 0; d < discs.size(); ++d) {
                QJsonObject disc = discs[d].toObject();
                if (disc.value("id") == answer.value("id"))
                    disc.insert("id", r == holder ? discId : QStringLiteral("0000000000000000000000000000-"));
                discs[d] = disc;
            }
            medium.insert("discs", discs);
            media[m] = medium;
        }
        release.insert("media", media);
        releases[r] = release;
    }
    answer.insert("releases", releases);
    answer.insert("id", discId);
    return QJsonDocument(answer).toJson(QJsonDocument::Compact);
}

QList<int> jobsSince(int before, const QString &server)
{
    QList<int> jobs;
    for (int id = before + 1; id <= PrivateCups::lastJobId(server); ++id)
        jobs << id;
    return jobs;
}

}  // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_work.reset(); }

    void windowUnlessAnOptionIsGiven();
    void exportsFacesAsText_data();
    void exportsFacesAsText();
    void exportTakesTheDefaultPrintersSheet();
    void exportWritesIntoWhatIsNoRegularFile_data();
    void exportWritesIntoWhatIsNoRegularFile();
    void exportWaitsForAFifosReader();
    void exportedBackPageLooksLikeThePrintedOne();
    void badCommandLinesExitWith2_data();
    void badCommandLinesExitWith2();
    void failuresExitWith1_data();
    void failuresExitWith1();
    void exportCutShortKeepsTheOldPdf();
    void printsCopiesInBatches();
    void printBeyondReachIsToldAndPrinted();
    void settingsDecideButStayAsTheyWere();
    void importsDiscAsDocument_data();
    void importsDiscAsDocument();
    void oneLanguagePerRun_data();
    void oneLanguagePerRun();

private:
    void start(QProcess &process, const QStringList &arguments, const QHash<QString, QString> &environment = {});
    Outcome run(const QStringList &arguments, const QHash<QString, QString> &environment = {},
                const QString &appendOutputTo = QString());
    QString work(const QString &name) const { return m_work->filePath(name); }
    QString config(const QString &name = QString()) const { return work("config/" + name); }

    std::unique_ptr<QTemporaryDir> m_work;
    QString m_server;
    // Disc images: cdtext.cue with CD-TEXT in English and Japanese (three
    // tracks of 2, 3 and 4 seconds), plain.cue without (seven tracks of 1
    // to 7 seconds).
    QTemporaryDir m_discs;
    QString m_plainDiscId;
};

void CommandLineTest::initTestCase()
{
    QVERIFY2(QFileInfo(PELORA_EXECUTABLE).isExecutable(), PELORA_EXECUTABLE);
    QVERIFY2(PrivateCups::available(), "run through ./test.sh: it starts a private CUPS");
    m_server = qEnvironmentVariable("CUPS_SERVER");

    using DiscFixtures::BlockTexts;
    const BlockTexts english{0x00, 0x09, {"Album", "One", "Two", "Three"}, {"Band", "Band", "Guest", "Band"}};
    const BlockTexts japanese{0x80, 0x69, {sjis(u"アルバム"), sjis(u"①夜明け～"), sjis(u"ｶﾞﾝﾊﾞﾚ"), sjis(u"三")},
                              {sjis(u"楽団"), sjis(u"楽団"), sjis(u"ｹﾞｽﾄ"), "\t\t"}};
    TestSupport::writeFile(m_discs.filePath("cdtext.cdt"), DiscFixtures::cdTextPacks({english, japanese}));
    QVERIFY(!DiscFixtures::writeCueImage(m_discs.path(), "cdtext", {{150}, {225}, {300}}, "CDTEXTFILE \"cdtext.cdt\"\r\n").isEmpty());
    std::vector<DiscFixtures::ImageTrack> seven;
    for (int seconds = 1; seconds <= 7; ++seconds)
        seven.push_back({75 * seconds});
    const QString plain = DiscFixtures::writeCueImage(m_discs.path(), "plain", seven);
    const std::optional<DiscContents> contents = ReadDiscSource(plain);
    QVERIFY(contents);
    m_plainDiscId = MusicBrainzDiscId(contents->toc);
    QVERIFY(!m_plainDiscId.isEmpty());
}

void CommandLineTest::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_work->path()).mkdir("config"));
}

void CommandLineTest::start(QProcess &process, const QStringList &arguments, const QHash<QString, QString> &environment)
{
    // No display of any kind: the program must choose its platform itself.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "PRINTER", "LPDEST"})
        env.remove(name);
    env.insert("PELORA_CONFIG_DIR", config());
    for (auto it = environment.begin(); it != environment.end(); ++it)
        env.insert(it.key(), it.value());

    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_work->path());
    QStringList expanded = arguments;
    expanded.replaceInStrings("%work%", m_work->path());
    expanded.replaceInStrings("%discs%", m_discs.path());
    process.start(PELORA_EXECUTABLE, expanded);
}

Outcome CommandLineTest::run(const QStringList &arguments, const QHash<QString, QString> &environment,
                             const QString &appendOutputTo)
{
    QProcess process;
    if (!appendOutputTo.isEmpty())
        process.setStandardOutputFile(appendOutputTo, QIODevice::Append);
    start(process, arguments, environment);
    Outcome outcome;
    // With the event loop running, so that a server of this process answers it.
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.status = process.exitCode();
    outcome.out = process.readAllStandardOutput();
    // Qt's own start-up notes are no message of the program.
    for (const QString &line : QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith("QStandardPaths:"))
            outcome.err += line + u'\n';
    }
    return outcome;
}

void CommandLineTest::windowUnlessAnOptionIsGiven()
{
    using CommandLine::Command;
    // As a file manager or a user starts it; Qt's own options are the toolkit's.
    for (const QStringList &arguments : {QStringList{}, QStringList{"曲目.plr"}, QStringList{"a.plr", "b.plr"},
                                         QStringList{"-style", "fusion", "a.plr"}})
        QCOMPARE(CommandLine::parse(arguments).command, Command::Window);
    const CommandLine::Options late = CommandLine::parse({"a.plr", "--print", "--side=back"});
    QCOMPARE(late.command, Command::Print);
    QCOMPARE(late.side, CommandLine::Side::Back);
    QCOMPARE(late.document, "a.plr");
    QCOMPARE(CommandLine::parse({"--export-pdf", "o.pdf", "a.plr"}).side, CommandLine::Side::Both);
    QCOMPARE(CommandLine::parse({"--print", "--side", "obi", "a.plr"}).side, CommandLine::Side::Obi);
    QCOMPARE(CommandLine::parse({"--print", "--copies", "999", "a.plr"}).copies, 999);
}

void CommandLineTest::exportsFacesAsText_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("backPage");  // 0: none
    QTest::addColumn<bool>("numbered");
    QTest::addColumn<bool>("spinePictures");
    QTest::addColumn<int>("spineMarks");  // the title's ソ as text on the back page
    QTest::addColumn<QString>("platform");  // QT_QPA_PLATFORM, as a desktop session sets it

    QTest::newRow("both, spines as pictures") << QStringList{} << 2 << 2 << true << true << 1 << "";
    QTest::newRow("both, vertical spines") << QStringList{"--vertical-spine"} << 2 << 2 << true << false << 3 << "";
    QTest::newRow("back, no numbers") << QStringList{"--side", "back", "--no-numbers"} << 1 << 1 << false << true << 1 << "";
    QTest::newRow("front") << QStringList{"--side", "front"} << 1 << 0 << true << false << 0 << "";
    QTest::newRow("both on one sheet") << QStringList{"--one-sheet"} << 1 << 1 << true << true << 2 << "";
    // A display's platform named, but no display there: the export needs none.
    QTest::newRow("front, QT_QPA_PLATFORM=xcb") << QStringList{"--side", "front"} << 1 << 0 << true << false << 0 << "xcb";
    QTest::newRow("front, -platform wayland;xcb")
        << QStringList{"-platform", "wayland;xcb", "--side", "front"} << 1 << 0 << true << false << 0 << "";
}

void CommandLineTest::exportsFacesAsText()
{
    QFETCH(QStringList, options);
    QFETCH(int, pages);
    QFETCH(int, backPage);
    QFETCH(bool, numbered);
    QFETCH(bool, spinePictures);
    QFETCH(int, spineMarks);
    QFETCH(QString, platform);

    const QString pdf = work("jacket.pdf");
    QHash<QString, QString> environment;
    if (!platform.isEmpty())
        environment.insert("QT_QPA_PLATFORM", platform);
    const Outcome outcome = run(QStringList{"--export-pdf", pdf} + options + QStringList{kSample}, environment);
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.status, 0);
    QCOMPARE(PrivateCups::pdfPages(pdf), pages);
    QCOMPARE(pageSize(pdf), "595 x 842 pts (A4)");  // the default queue's sheet
    for (int page = 1; page <= pages; ++page) {
        const QString text = pageText(pdf, page);
        QVERIFY2(text.contains("夏の終わりのソングブック") && text.contains("また来年の夏に"), qPrintable(text));
        QCOMPARE(text.contains("01. 朝焼けのプレリュード"), numbered);
        QCOMPARE(text.contains("12. また来年の夏に"), numbered);
    }
    if (backPage) {
        const QString images = tool("pdfimages", {"-list", "-f", QString::number(backPage), "-l", QString::number(backPage), pdf});
        QCOMPARE(images.count(u'\n') > 2, spinePictures);  // two heading lines
        QCOMPARE(pageText(pdf, backPage).count("ソ"), spineMarks);
    }
}

void CommandLineTest::exportTakesTheDefaultPrintersSheet()
{
    const QString pdf = work("jacket.pdf");
    // The user's default queue holds A5 paper: the front face fits on it.
    Outcome outcome = run({"--export-pdf", pdf, "--side", "front", kSample}, {{"PRINTER", "pelora-a5"}});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(pageSize(pdf), "420 x 595 pts (A5)");
    // The back face does not, and the old PDF stays.
    const QByteArray before = TestSupport::readFile(pdf);
    outcome = run({"--export-pdf", pdf, "--side", "back", kSample}, {{"PRINTER", "pelora-a5"}});
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.err.contains("紙が小さすぎます。"), qPrintable(outcome.err));
    QCOMPARE(TestSupport::readFile(pdf), before);
    // The obi strip, 70.7 × 120.7 mm, does.
    outcome = run({"--export-pdf", pdf, "--side", "obi", kSample}, {{"PRINTER", "pelora-a5"}});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(pageSize(pdf), "420 x 595 pts (A5)");
    // A label for a disc tray: on the page that holds the 117 mm ring (the
    // EP-801A's custom disc page), or told that none does.
    outcome = run({"--export-pdf", pdf, "--side", "label", kSample}, {{"PRINTER", "pelora-ep801a"}});
    QCOMPARE(outcome.err, QString());
    QCOMPARE(pageSize(pdf), "340 x 340 pts");
    outcome = run({"--export-pdf", pdf, "--side", "label", kSample}, {{"PRINTER", "pelora-disc"}});
    QCOMPARE(outcome.status, 0);
    QVERIFY2(outcome.err.contains("直径 114.3 mm まで"), qPrintable(outcome.err));
    QCOMPARE(pageSize(pdf), "324 x 324 pts");
    // No spooler at all: an A4 sheet.
    outcome = run({"--export-pdf", pdf, kSample}, {{"CUPS_SERVER", work("no-cups.sock")}});
    QCOMPARE(outcome.err, QString());
    QCOMPARE(pageSize(pdf), "595 x 842 pts (A4)");
}

void CommandLineTest::exportWritesIntoWhatIsNoRegularFile_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("receiver");  // who gets the PDF: pipe, file, fifo or nobody
    QTest::addColumn<QString>("kept");      // stays the very file it was
    QTest::newRow("- to a pipe") << "-" << "pipe" << "";
    QTest::newRow("/dev/stdout to a pipe") << "/dev/stdout" << "pipe" << "";
    QTest::newRow("/dev/fd/1 to a pipe") << "/dev/fd/1" << "pipe" << "";
    // The shell opened it for appending: what it held stays in front.
    QTest::newRow("/dev/stdout appended to a file") << "/dev/stdout" << "file" << "%work%/appended.pdf";
    QTest::newRow("FIFO with its reader") << "%work%/fifo" << "fifo" << "%work%/fifo";
    QTest::newRow("/dev/null") << "/dev/null" << "nobody" << "/dev/null";
}

void CommandLineTest::exportWritesIntoWhatIsNoRegularFile()
{
    QFETCH(QString, output);
    QFETCH(QString, receiver);
    QFETCH(QString, kept);
    kept.replace("%work%", m_work->path());
    const QString appended = work("appended.pdf");
    TestSupport::writeFile(appended, "head\n");
    const QByteArray fifo = QFile::encodeName(work("fifo"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const QList<quint64> before = identity(kept);

    QProcess reader;
    int writerUntilDone = -1;
    if (receiver == "fifo") {
        reader.start("cat", {work("fifo")});
        // Once the reader waits in its open, a writer can come at once.
        const auto readerWaits = [&] {
            if (writerUntilDone < 0)
                writerUntilDone = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            return writerUntilDone >= 0;
        };
        QTRY_VERIFY(readerWaits());
    }
    const Outcome outcome = run({"--export-pdf", output, kSample}, {}, receiver == "file" ? appended : QString());
    if (writerUntilDone >= 0)
        ::close(writerUntilDone);
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.status, 0);

    QByteArray received;
    if (receiver == "pipe") {
        received = outcome.out;
    } else if (receiver == "file") {
        received = TestSupport::readFile(appended);
        QVERIFY(received.startsWith("head\n"));
        received.remove(0, 5);
    } else if (receiver == "fifo") {
        QVERIFY(reader.waitForFinished(60000));
        received = reader.readAllStandardOutput();
    }
    if (receiver != "nobody") {
        TestSupport::writeFile(work("received.pdf"), received);
        QCOMPARE(PrivateCups::pdfPages(work("received.pdf")), 2);
    }
    QCOMPARE(identity(kept), before);
}

void CommandLineTest::exportWaitsForAFifosReader()
{
    // Nobody reads the FIFO yet: the export says what it waits for and
    // writes when a reader comes.
    QCOMPARE(::mkfifo(QFile::encodeName(work("fifo")).constData(), 0600), 0);
    QProcess exporter;
    start(exporter, {"--export-pdf", work("fifo"), kSample});
    QString err;
    const auto waitingTold = [&] {
        err += QString::fromUtf8(exporter.readAllStandardError());
        return err.contains("fifo を読むプログラムを待っています");
    };
    QTRY_VERIFY_WITH_TIMEOUT(waitingTold(), 60000);
    QProcess reader;
    reader.start("cat", {work("fifo")});
    QVERIFY(exporter.waitForFinished(60000));
    QCOMPARE(exporter.exitCode(), 0);
    QVERIFY(reader.waitForFinished(60000));
    TestSupport::writeFile(work("received.pdf"), reader.readAllStandardOutput());
    QCOMPARE(PrivateCups::pdfPages(work("received.pdf")), 2);
}

void CommandLineTest::exportedBackPageLooksLikeThePrintedOne()
{
    const int before = PrivateCups::lastJobId(m_server);
    const Outcome printed = run({"--print", "--side", "back", kSample});
    QCOMPARE(printed.err, QString());
    QCOMPARE(printed.status, 0);
    const QList<int> jobs = jobsSince(before, m_server);
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(PrivateCups::waitForJob(jobs.first()).state, int(IPP_JSTATE_COMPLETED));

    const QString pdf = work("jacket.pdf");
    QCOMPARE(run({"--export-pdf", pdf, kSample}).status, 0);
    const QImage paper = render(PrivateCups::output("pelora-pdf", jobs.first()), 1, work("paper"));
    QVERIFY(!paper.isNull());
    QImage blank(paper.size(), QImage::Format_Grayscale8);
    blank.fill(Qt::white);
    QVERIFY2(differingShare(paper, blank) > 0.005, "the printed page is blank");
    const double share = differingShare(render(pdf, 2, work("back")), paper);
    QVERIFY2(share < 0.002, qPrintable(QString("%1 % of the pixels differ").arg(share * 100)));
    QVERIFY(differingShare(render(pdf, 1, work("front")), paper) > 0.01);  // the measure tells faces apart
}

void CommandLineTest::badCommandLinesExitWith2_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString out = "%work%/out.pdf";
    QTest::newRow("unknown option") << QStringList{"--frobnicate", kSample} << "frobnicate";
    QTest::newRow("export without a file") << QStringList{"--export-pdf"} << "Missing value";
    QTest::newRow("no document") << QStringList{"--export-pdf", out} << "no document";
    QTest::newRow("two documents") << QStringList{"--print", kSample, kSample} << "one document at a time";
    QTest::newRow("side left") << QStringList{"--export-pdf", out, "--side", "left", kSample} << "front, back, both, label or obi";
    QTest::newRow("print both sides") << QStringList{"--print", "--side", "both", kSample} << "one face";
    QTest::newRow("one sheet, one face") << QStringList{"--export-pdf", out, "--one-sheet", "--side", "front", kSample}
                                         << "goes with --side both";
    QTest::newRow("no copies") << QStringList{"--print", "--copies=0", kSample} << "positive whole number";
    QTest::newRow("copies by the ream") << QStringList{"--print", "--copies", "1000", kSample} << "at most 999";
    QTest::newRow("marks by another name") << QStringList{"--export-pdf", out, "--marks", "tombo", kSample} << "dashed, crop or none";
    QTest::newRow("product misspelt") << QStringList{"--export-pdf", out, "--product", "avery 8453b", kSample} << "did you mean: Avery 8435B";
    QTest::newRow("product without a front") << QStringList{"--print", "--product", "Avery 8435B", kSample} << "no label for the front";
    QTest::newRow("size in words") << QStringList{"--export-pdf", out, "--title-size", "big", kSample} << "--title-size must be";
    QTest::newRow("copies of an export") << QStringList{"--export-pdf", out, "--copies", "2", kSample} << "go with --print";
    QTest::newRow("both commands") << QStringList{"--export-pdf", out, "--print", kSample} << "together";
    QTest::newRow("no command") << QStringList{"--side", "back", kSample} << "need a command";
    // The export would write over the document, or read a PDF as a jacket.
    const QString document = "%work%/曲目.plr";
    QTest::newRow("swapped arguments") << QStringList{"--export-pdf", document, "%work%/曲目.pdf"} << "look swapped";
    QTest::newRow("same file") << QStringList{"--export-pdf", document, document} << "look swapped";
    QTest::newRow("output ending .PLR") << QStringList{"--export-pdf", "%work%/OUT.PLR", kSample} << "look swapped";
    QTest::newRow("document through a symlink") << QStringList{"--export-pdf", "%work%/symlink.pdf", document} << "look swapped";
    QTest::newRow("document through a hard link") << QStringList{"--export-pdf", "%work%/hard.pdf", document} << "look swapped";
    QTest::newRow("document spelt ./") << QStringList{"--export-pdf", "%work%/symlink.pdf", "./曲目.plr"} << "is the document itself";
    QTest::newRow("output spelt ./") << QStringList{"--export-pdf", "./曲目.plr", document} << "look swapped";
    // ">>FILE": standard output opened for appending to FILE, as a shell does.
    QTest::newRow("- appended to the document") << QStringList{"--export-pdf", "-", document, ">>%work%/曲目.plr"}
                                                << "standard output is the document itself";
    QTest::newRow("/dev/stdout appended to a hard link") << QStringList{"--export-pdf", "/dev/stdout", document, ">>%work%/hard.pdf"}
                                                         << "'/dev/stdout' is the document itself";
    QTest::newRow("/dev/fd/1 appended through a symlink") << QStringList{"--export-pdf", "/dev/fd/1", document, ">>%work%/symlink.pdf"}
                                                          << "'/dev/fd/1' is the document itself";
    // Nor a file the export reads besides.
    QTest::newRow("the cover as output") << QStringList{"--export-pdf", "%work%/曲目.plr.jpg", document} << "cover picture";
    QTest::newRow("- appended to the settings") << QStringList{"--export-pdf", "-", document, ">>%work%/config/Pelora.ini"}
                                                << "is the settings file";
    QTest::newRow("PDF as the document") << QStringList{"--export-pdf", out, "%work%/曲目.pdf"} << "look swapped";
    QTest::newRow("PDF to print") << QStringList{"--print", "%work%/曲目.pdf"} << "is a PDF, not a jacket";
    // The disc import writes a document, and reads nothing it writes.
    const QString disc = "%discs%/cdtext.cue";
    QTest::newRow("import swapped") << QStringList{"--import-cd", "%work%/OUT.PLR", disc} << "look swapped";
    QTest::newRow("import to a PDF") << QStringList{"--import-cd", disc, out} << "a jacket document's name ends in .plr";
    QTest::newRow("import to the disc itself") << QStringList{"--import-cd", disc, "%work%/cue.plr"} << "is the disc being read";
    QTest::newRow("import to the image's data") << QStringList{"--import-cd", disc, "%work%/bin.plr"} << "the disc image's file";
    QTest::newRow("import to the settings") << QStringList{"--import-cd", disc, "%work%/ini.plr"} << "is the settings file";
    QTest::newRow("import with a face") << QStringList{"--import-cd", disc, "%work%/OUT.PLR", "--side", "back"}
                                        << "--side cannot be used with --import-cd";
    QTest::newRow("lookup of a document") << QStringList{"--lookup", kSample} << "--lookup goes with --import-cd";
}

void CommandLineTest::badCommandLinesExitWith2()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QByteArray jacket = TestSupport::readFile(kSample);
    TestSupport::writeFile(work("曲目.plr"), jacket);
    TestSupport::writeFile(work("曲目.plr.jpg"), "cover");
    TestSupport::writeFile(config("Pelora.ini"), "[opsion]\r\n");
    TestSupport::writeFile(work("曲目.pdf"), "%PDF-1.4\n%%EOF\n");
    QVERIFY(QFile::link(work("曲目.plr"), work("symlink.pdf")));
    QVERIFY(QFile::link(m_discs.filePath("cdtext.cue"), work("cue.plr")));
    QVERIFY(QFile::link(m_discs.filePath("cdtext.bin"), work("bin.plr")));
    QVERIFY(QFile::link(config("Pelora.ini"), work("ini.plr")));
    QCOMPARE(::link(QFile::encodeName(work("曲目.plr")).constData(), QFile::encodeName(work("hard.pdf")).constData()), 0);
    QString appendTo;
    for (const QString &argument : arguments.filter(QRegularExpression("^>>")))
        appendTo = arguments.takeAt(arguments.indexOf(argument)).mid(2).replace("%work%", m_work->path());
    const int before = PrivateCups::lastJobId(m_server);
    const Outcome outcome = run(arguments, kEnglish, appendTo);
    QCOMPARE(outcome.status, 2);
    QVERIFY2(outcome.err.contains(message) && outcome.err.contains("--help"), qPrintable(outcome.err));
    QCOMPARE(japaneseIn(outcome.err, arguments), QString());
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY(!QFileInfo::exists(work("out.pdf")) && !QFileInfo::exists(work("OUT.PLR")));
    QCOMPARE(TestSupport::readFile(work("曲目.plr")), jacket);
    QCOMPARE(TestSupport::readFile(work("hard.pdf")), jacket);
    QCOMPARE(TestSupport::readFile(work("曲目.plr.jpg")), "cover");
    QCOMPARE(TestSupport::readFile(config("Pelora.ini")), "[opsion]\r\n");
    QCOMPARE(PrivateCups::lastJobId(m_server), before);
}

void CommandLineTest::failuresExitWith1_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString out = "%work%/out.pdf";
    QTest::newRow("missing document") << QStringList{"--export-pdf", out, "%work%/なし.plr"} << "なし.plr は開けません";
    QTest::newRow("folder as document") << QStringList{"--export-pdf", out, "%work%"} << "は開けません";
    QTest::newRow("FIFO as document") << QStringList{"--export-pdf", out, "%work%/fifo.plr"} << "fifo.plr は開けません";
    QTest::newRow("unreadable document") << QStringList{"--export-pdf", out, "%work%/locked.plr"} << "locked.plr は開けません";
    QTest::newRow("empty document") << QStringList{"--export-pdf", out, "%work%/empty.plr"} << "空の文書";
    QTest::newRow("title only") << QStringList{"--print", "%work%/title.plr"} << "内容に何も無いときは印刷できません";
    QTest::newRow("output folder missing") << QStringList{"--export-pdf", "%work%/nowhere/out.pdf", kSample} << "/nowhere がありません）。";
    QTest::newRow("output folder a file") << QStringList{"--export-pdf", "%work%/title.plr/out.pdf", kSample} << "/title.plr はフォルダではありません）。";
    QTest::newRow("fits at no size") << QStringList{"--export-pdf", out, "--title-size", "0", kSample} << "どんなに小さくしても";
    QTest::newRow("fits at no size, print") << QStringList{"--print", "--item-size", "0", kSample} << "どんなに小さくしても";
    QTest::newRow("obi fits at no size") << QStringList{"--export-pdf", out, "--side", "obi", "--title-size", "0", kSample} << "どんなに小さくしても";
    QTest::newRow("no spooler") << QStringList{"--print", kSample, "%nocups%"} << "印刷システム (CUPS) から応答がありません。";
    QTest::newRow("no spooler, queue named") << QStringList{"--print", "--printer", "pelora-pdf", kSample, "%nocups%"}
                                             << "印刷システム (CUPS) から応答がありません。";
    QTest::newRow("unknown queue") << QStringList{"--print", "--printer", "nope", kSample} << "プリンタ nope が見つかりません";
    QTest::newRow("queue rejects jobs") << QStringList{"--print", "--printer", "pelora-hidden", kSample} << "受け付けていません";
    // "%PRINTER=…%": the user's default printer. The window's advice, its
    // printer set-up menu, is no use here.
    QTest::newRow("default rejects jobs")
        << QStringList{"--print", kSample, "%PRINTER=pelora-hidden%"}
        << "既定のプリンタ pelora-hidden は印刷を受け付けていません（ジョブを断っています）。--printer で別のプリンタを指定してください";
    QTest::newRow("default gone") << QStringList{"--print", kSample, "%PRINTER=gone%"}
                                  << "既定のプリンタ gone が見つかりません（その名前のプリンタはありません）。--printer で";
    QTest::newRow("no default") << QStringList{"--print", kSample, "%PRINTER=%"} << "既定のプリンタが決まっていません。--printer で";
    QTest::newRow("queue's sheet too small")
        << QStringList{"--print", "--printer", "pelora-a5", "--side", "back", kSample} << "紙が小さすぎます。";
    QTest::newRow("sheet too small for both faces")
        << QStringList{"--print", "--printer", "pelora-a5", "--side", "both", "--one-sheet", kSample} << "紙が小さすぎます。";
    // The settings name a product for this queue that the database no longer has.
    QTest::newRow("stored product gone") << QStringList{"--print", "--printer", "pelora-margins", kSample}
                                         << "プリンタ pelora-margins の用紙 'Müller CD-2' はラベル用紙のデータベースにありません。--product で";
    const QString document = "%work%/out.plr";
    QTest::newRow("missing disc image") << QStringList{"--import-cd", "%work%/なし.cue", document}
                                        << "なし.cue から曲目を読み込めません（ディスクイメージか、そのデータファイルを読めません）";
    QTest::newRow("import to no folder") << QStringList{"--import-cd", "%discs%/cdtext.cue", "%work%/nowhere/out.plr"}
                                         << "/nowhere がありません）。";
    QTest::newRow("import to a folder") << QStringList{"--import-cd", "%discs%/cdtext.cue", "%work%/folder.plr"}
                                        << "folder.plr を作成できません";
    // "%NAME=…%": the variable in the program's environment.
    QTest::newRow("lookup without a server")
        << QStringList{"--import-cd", "%discs%/plain.cue", document, "--lookup", "%PELORA_MUSICBRAINZ_URL=http://127.0.0.1:1%"}
        << "MusicBrainz に接続できません";
}

void CommandLineTest::failuresExitWith1()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    TestSupport::writeFile(work("empty.plr"), QByteArray());
    TestSupport::writeFile(work("title.plr"), Cp932::encode(u"題だけ\r\n"));
    TestSupport::writeFile(work("locked.plr"), Cp932::encode(u"題\r\n曲\r\n"));
    QFile::setPermissions(work("locked.plr"), QFileDevice::Permissions());
    ::mkfifo(QFile::encodeName(work("fifo.plr")).constData(), 0600);
    QVERIFY(QDir(m_work->path()).mkdir("folder.plr"));
    TestSupport::writeFile(config("Pelora.ini"), "[Paper]\r\npelora-margins.Product.utf8=M%C3%BCller%20CD-2\r\n");
    if (QTest::currentDataTag() == QByteArrayLiteral("unreadable document") && ::geteuid() == 0)
        QSKIP("permissions do not stop the superuser");

    QHash<QString, QString> environment;
    if (arguments.removeAll("%nocups%"))
        environment.insert("CUPS_SERVER", work("no-cups.sock"));
    const QRegularExpression variable("^%([A-Z_]+)=(.*)%$");
    for (const QString &argument : arguments.filter(variable)) {
        const QRegularExpressionMatch match = variable.match(argument);
        environment.insert(match.captured(1), match.captured(2));
        arguments.removeAll(argument);
    }
    const int before = PrivateCups::lastJobId(m_server);
    const Outcome outcome = run(arguments, environment);
    QCOMPARE(outcome.status, 1);
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QVERIFY(!QFileInfo::exists(work("out.pdf")) && !QFileInfo::exists(work("out.plr")));
    QCOMPARE(PrivateCups::lastJobId(m_server), before);
}

void CommandLineTest::exportCutShortKeepsTheOldPdf()
{
    // The export the command makes, here in this process.
    const std::optional<Jacket> document = JacketFormat::fromBytes(TestSupport::readFile(kSample));
    QVERIFY(document);
    JacketExport jacket;
    jacket.jacket = *document;
    jacket.pages = {PageFaces::Front, PageFaces::Back};
    const ExportOutcome whole = ExportJacketPdf(jacket, FallbackSheet());
    QCOMPARE(whole.status, ExportOutcome::Written);
    QVERIFY(whole.pdf.size() > 1000);

    // The disk takes all but the end of the PDF.
    TestSupport::writeFile(work("out.pdf"), "old");
    QString error;
    {
        ScopedFileSizeLimit limit(whole.pdf.size() - 16);
        QVERIFY(limit.active());
        error = OutputFile::write(work("out.pdf"), whole.pdf);
    }
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestSupport::readFile(work("out.pdf")), QByteArray("old"));
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"out.pdf"}));
}

void CommandLineTest::printsCopiesInBatches()
{
    // A scheduler that takes at most 10 copies a job.
    const QString server = qEnvironmentVariable("PELORA_CUPS_SERVER_MAX10");
    const int before = PrivateCups::lastJobId(server);
    const Outcome outcome = run({"--print", "--copies", "25", kSample}, {{"CUPS_SERVER", server}});
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.status, 0);
    QList<int> copies;
    for (int id : jobsSince(before, server)) {
        const PrivateCups::Job job = PrivateCups::waitForJob(id, server);
        QCOMPARE(job.state, int(IPP_JSTATE_COMPLETED));
        QCOMPARE(job.name, "印刷中");
        copies << job.copies;
        // The driver makes the copies: one page each.
        QCOMPARE(PrivateCups::pdfPages(PrivateCups::output("pelora-max10", id)), job.copies);
    }
    QCOMPARE(copies, (QList<int>{10, 10, 5}));
}

// Part of the page beyond the printer's reach: the window asks, the
// command line tells and prints, as it was told to.
void CommandLineTest::printBeyondReachIsToldAndPrinted()
{
    const int before = PrivateCups::lastJobId(m_server);
    Outcome outcome = run({"--print", "--printer", "pelora-margins", kSample});
    QVERIFY2(outcome.err.contains("印刷できる範囲の外"), qPrintable(outcome.err));
    QCOMPARE(outcome.status, 0);
    QCOMPARE(jobsSince(before, m_server).size(), 1);
    // A disc tray that takes no 117 mm ring: told so, printed from its slot.
    outcome = run({"--print", "--printer", "pelora-disc", "--side", "label", kSample});
    QVERIFY2(outcome.err.contains("直径 114.3 mm まで"), qPrintable(outcome.err));
    QCOMPARE(outcome.status, 0);
    QCOMPARE(jobsSince(before, m_server).size(), 2);
    QCOMPARE(PrivateCups::waitForJob(before + 2, m_server).state, int(IPP_JSTATE_COMPLETED));
    QVERIFY(PrivateCups::options("pelora-disc", before + 2).contains("InputSlot=Disc"));
}

void CommandLineTest::settingsDecideButStayAsTheyWere()
{
    // Hand-written (the window would drop the comment), with a title size
    // that is no number, numbering on and the editor mode; another suffix.
    const QByteArray ini = Cp932::encode(u"; 手で書いた設定\r\n[opsion]\r\nplusnum = 1\r\nTFsize=abc\r\nFsize=12\r\nModeM=1\r\n");
    const QByteArray dat = Cp932::encode(u"  歌：\r\n） \r\n");
    TestSupport::writeFile(config("Pelora.ini"), ini);
    TestSupport::writeFile(config("Pelora.dat"), dat);
    const QDateTime written = QFileInfo(config("Pelora.ini")).lastModified();

    const QString stored = work("stored.pdf");
    const QString given = work("given.pdf");
    QCOMPARE(run({"--export-pdf", stored, "--side", "front", kSample}).status, 0);
    QVERIFY2(pageText(stored, 1).contains("01） 朝焼けのプレリュード"), qPrintable(pageText(stored, 1)));
    // "abc" is the default 17, as in the window; 12 is the stored item size.
    QCOMPARE(run({"--export-pdf", given, "--side", "front", "--title-size", "17", "--item-size", "12", kSample}).status, 0);
    QCOMPARE(differingShare(render(stored, 1, work("a")), render(given, 1, work("b"))), 0.0);
    QCOMPARE(run({"--export-pdf", given, "--side", "front", "--item-size", "8", kSample}).status, 0);
    QVERIFY(differingShare(render(stored, 1, work("a")), render(given, 1, work("b"))) > 0.001);

    // The print goes through the hidden window, which writes its settings
    // when it closes; the stored editor mode does not lose the items.
    const int before = PrivateCups::lastJobId(m_server);
    const Outcome outcome = run({"--print", "--title-size", "20", kSample});
    QCOMPARE(outcome.err, QString());
    QCOMPARE(outcome.status, 0);
    QCOMPARE(jobsSince(before, m_server).size(), 1);

    QCOMPARE(TestSupport::readFile(config("Pelora.ini")), ini);
    QCOMPARE(TestSupport::readFile(config("Pelora.dat")), dat);
    QCOMPARE(QFileInfo(config("Pelora.ini")).lastModified(), written);
    QCOMPARE(QDir(config()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 2);

    TestSupport::writeFile(config("Pelora.ini"), "[opsion]\r\nplusnum=0\r\n");
    QCOMPARE(run({"--export-pdf", stored, "--side", "front", kSample}).status, 0);
    QVERIFY(!pageText(stored, 1).contains("01"));

    // Without settings files none are made.
    QVERIFY(QFile::remove(config("Pelora.ini")) && QFile::remove(config("Pelora.dat")));
    QCOMPARE(run({"--print", "--side", "back", kSample}).status, 0);
    QCOMPARE(QDir(config()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void CommandLineTest::importsDiscAsDocument_data()
{
    QTest::addColumn<QString>("disc");
    QTest::addColumn<bool>("lookup");
    QTest::addColumn<QString>("answer");  // the recorded MusicBrainz answer; empty: nothing asked
    QTest::addColumn<int>("holder");      // the release that lists this disc by its id; -1: none
    QTest::addColumn<int>("coverStatus"); // the Cover Art Archive's answer
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("cover");  // out.plr.jpg written
    QTest::addColumn<QString>("said"); // on standard error; empty: nothing
    QTest::addColumn<int>("requests");

    // The Japanese block in a Japanese run; the performer only where it is not the disc's.
    const QString album = "アルバム  歌：楽団";
    const QStringList japanese{"①夜明け～  (00:02)", "ｶﾞﾝﾊﾞﾚ  (00:03)  歌：ｹﾞｽﾄ", "三  (00:04)  歌：ｹﾞｽﾄ"};
    QStringList numbered;
    for (int track = 1; track <= 7; ++track)
        numbered << QString("トラック %1  (00:0%1)").arg(track);
    QStringList release{"灯台の朝  (00:01)", "午後三時の波  (00:02)", "ガラスの貝殻  (00:03)", "潮騒のアトリエ  (00:04)",
                        "ふたりの防波堤  (00:05)  歌：青葉ミナト & 白石ソラ", "夕凪  (00:06)", "星降る港  (00:07)"};
    QTest::newRow("CD-TEXT") << "cdtext" << false << "" << -1 << 0 << QByteArray() << QByteArray() << album << japanese << false << "" << 0;
    QTest::newRow("CD-TEXT, --lookup: nothing asked") << "cdtext" << true << "" << -1 << 0 << QByteArray() << QByteArray() << album
                                                      << japanese << false << "曲名があるので、MusicBrainz には問い合わせません。" << 0;
    // The drop's own settings: no time, the artist after another prefix.
    QTest::newRow("CD-TEXT, the drop's settings") << "cdtext" << false << "" << -1 << 0 << QByteArray("[Opsion]\r\ntsecplus=0\r\n")
                                                  << sjis(u"／\r\n") << "アルバム／楽団" << QStringList{"①夜明け～", "ｶﾞﾝﾊﾞﾚ／ｹﾞｽﾄ", "三／ｹﾞｽﾄ"}
                                                  << false << "" << 0;
    QTest::newRow("no CD-TEXT, nothing asked") << "plain" << false << "" << -1 << 0 << QByteArray() << QByteArray() << "" << numbered
                                               << false << "" << 0;
    QTest::newRow("--lookup: the release and its cover") << "plain" << true << "one-release.json" << -1 << 200 << QByteArray()
                                                         << QByteArray() << "潮騒のアトリエ" << release << true << "" << 2;
    QTest::newRow("--lookup: the release with this disc, cover refused")
        << "plain" << true << "several-releases.json" << 1 << 503 << QByteArray() << QByteArray() << "青葉ミナト ベスト 2015-2024"
        << release << false << "Cover Art Archive が問い合わせを断りました（HTTP 503）。しばらく待ってからもう一度試してください。表紙の画像なしで書き出します。" << 2;
    QTest::newRow("--lookup: not on MusicBrainz") << "plain" << true << "none.json" << -1 << 0 << QByteArray() << QByteArray() << ""
                                                  << numbered << false
                                                  << "MusicBrainz にこのディスクは登録されていません。ディスクの曲目だけで書き出します。" << 1;
}

void CommandLineTest::importsDiscAsDocument()
{
    QFETCH(QString, disc);
    QFETCH(bool, lookup);
    QFETCH(QString, answer);
    QFETCH(int, holder);
    QFETCH(int, coverStatus);
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, dat);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    QFETCH(bool, cover);
    QFETCH(QString, said);
    QFETCH(int, requests);
    if (!ini.isEmpty())
        TestSupport::writeFile(config("Pelora.ini"), ini);
    if (!dat.isEmpty())
        TestSupport::writeFile(config("Pelora.dat"), dat);

    // Both services on one loopback server.
    ReplayServer server;
    if (!answer.isEmpty())
        server.answer("/ws/2/discid/" + m_plainDiscId.toLatin1(), {200, answerAbout(answer, m_plainDiscId, holder)});
    const QByteArray jpeg = TestSupport::pictureBytes("JPEG", QSize(50, 50));
    for (const char *id : {"9bb7b7a0-537a-4dcc-adb8-b2ca24980315", "20cc5fc1-f2cc-48cf-a025-a855573431e2"})
        server.answer(QByteArray("/release/") + id + "/front-500", {coverStatus, coverStatus == 200 ? jpeg : QByteArray(), "image/jpeg"});
    const QString url = server.url().toString();

    QStringList arguments{"--import-cd", m_discs.filePath(disc + ".cue"), work("out.plr")};
    if (lookup)
        arguments << "--lookup";
    const Outcome outcome = run(arguments, {{"PELORA_MUSICBRAINZ_URL", url}, {"PELORA_COVERART_URL", url}});
    QCOMPARE(outcome.err.isEmpty(), said.isEmpty());
    QVERIFY2(outcome.err.contains(said), qPrintable(outcome.err));
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray());
    const std::optional<Jacket> document = JacketFormat::fromBytes(TestSupport::readFile(work("out.plr")));
    QVERIFY(document);
    QCOMPARE(document->title, title);
    QCOMPARE(document->items, lines);
    QCOMPARE(TestSupport::readFile(work("out.plr.jpg")), cover ? jpeg : QByteArray());
    QCOMPARE(server.requests().size(), requests);
}

// Each run speaks one language, its desktop's: help, version, usage errors
// and failures alike.
void CommandLineTest::oneLanguagePerRun_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    const QString missing = "%work%/なし.plr";
    QTest::newRow("ja version") << false << QStringList{"--version"} << 0 << "ペロラ version 1.25\n";
    QTest::newRow("en version") << true << QStringList{"--version"} << 0 << "Pelora version 1.25\n";
    QTest::newRow("ja help") << false << QStringList{"-h"} << 0 << "使い方:\n  pelora [文書.plr]\n";
    QTest::newRow("en help") << true << QStringList{"--help"} << 0 << "Usage:\n  pelora [DOCUMENT.plr]\n";
    QTest::newRow("ja usage error") << false << QStringList{"--frobnicate", kSample} << 2 << "使い方は pelora --help で表示されます。";
    QTest::newRow("en usage error") << true << QStringList{"--frobnicate", kSample} << 2 << "Unknown option 'frobnicate'.";
    QTest::newRow("ja obi on a product") << false << QStringList{"--export-pdf", "%work%/o.pdf", "--side", "obi", "--product", "Avery 8435B", kSample}
                                         << 2 << "帯は普通紙にだけ印刷します。用紙 'Avery 8435B' には帯の場所がありません";
    QTest::newRow("ja failure") << false << QStringList{"--export-pdf", "%work%/o.pdf", missing} << 1 << "なし.plr は開けません（ありません）。";
    QTest::newRow("en failure") << true << QStringList{"--export-pdf", "%work%/o.pdf", missing} << 1 << "Cannot open the file";
}

void CommandLineTest::oneLanguagePerRun()
{
    QFETCH(bool, english);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    const Outcome outcome = run(arguments, english ? kEnglish : QHash<QString, QString>{});
    QCOMPARE(outcome.status, status);
    const QString all = QString::fromUtf8(outcome.out) + outcome.err;
    QVERIFY2(all.contains(said), qPrintable(all));
    if (english)
        QCOMPARE(japaneseIn(all, arguments), QString());
    else
        QVERIFY2(!all.contains("Usage") && !all.contains("Try ") && !all.contains("cannot"), qPrintable(all));
    for (const char *option : {"--export-pdf", "--print", "--side", "--copies", "--printer", "--title-size"})
        QVERIFY2(!(arguments.contains("--help") || arguments.contains("-h")) || all.contains(option), option);
}

PELORA_CORE_TEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
