// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "core/files/ConfigLocation.h"
#include "core/settings/DataFile.h"
#include "core/settings/PaperChoices.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsKeys.h"
#include "core/bitmap/BigBitmap.h"
#include "core/common/AppName.h"
#include "core/common/Exception.h"
#include "core/common/ProgramSetup.h"
#include "core/common/Messages.h"
#include "core/disc/DiscImport.h"
#include "core/disc/DiscSource.h"
#include "core/files/OutputFile.h"
#include "core/files/RegularFile.h"
#include "core/jacket/CoverPicture.h"
#include "core/jacket/JacketDocument.h"
#include "core/jacket/JacketFiles.h"
#include "core/labels/LabelProducts.h"
#include "core/layout/PdfExport.h"
#include "core/lookup/CoverArt.h"
#include "core/lookup/MusicBrainz.h"
#include "core/lookup/ReleaseLines.h"
#include "core/text/Translation.h"
#include "printer/JacketPrinting.h"
#include "printer/PrinterSheet.h"
#include "core/layout/SheetPlacement.h"
#include "printer/QdPrinters.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace CommandLine {
namespace {

QString tryHelp() { return QCoreApplication::translate("CommandLine", "使い方は pelora --help で表示されます。\n"); }

// An output of "-" is standard output, as other tools take it.
const QString kStandardOutput = QStringLiteral("-");

// The window's own messages, where the command line meets the same case.
QString cannotOpen(const QString &path, const QString &why)
{
    return QCoreApplication::translate("TForm1", "ファイル %1 は開けません（%2）。").arg(path, why);
}
QString noContent() { return QCoreApplication::translate("TForm1", "内容に何も無いときは印刷できません"); }
QString sheetTooSmall() { return QCoreApplication::translate("TForm1", "紙が小さすぎます。"); }
QString tooSmallToPrint()
{
    return QCoreApplication::translate("TForm1", "フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します");
}
QString cannotCreate(const QString &path, const QString &why)
{
    return QCoreApplication::translate("TForm1", "ファイル %1 を作成できません（%2）。").arg(path, why);
}

void writeTo(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void complain(const QString &text) { writeTo(stderr, kProgram + QStringLiteral(": ") + text + u'\n'); }

// Message boxes go to standard error, and questions get their Escape
// answer (no, cancel): a command line has nobody to ask. A warning that
// asks whether to go on is told and answered yes: the command itself said
// to print.
class MessagesToStandardError
{
public:
    MessagesToStandardError()
    {
        Messages::setHandler([this](const Messages::Request &request) {
            // A warning is told; the work was done all the same.
            const bool warning = request.kind == Messages::Kind::Warning || request.kind == Messages::Kind::WarningQuestion;
            if (!warning)
                ++m_count;
            QString text = request.text;
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
            complain(text);
            return warning ? 0 : request.escapeButton;
        });
    }
    ~MessagesToStandardError() { Messages::setHandler({}); }
    MessagesToStandardError(const MessagesToStandardError &) = delete;
    MessagesToStandardError &operator=(const MessagesToStandardError &) = delete;

    // Messages that mean the command failed.
    int count() const { return m_count; }

private:
    int m_count = 0;
};

// Whether the two names reach one file, also through links; false when
// either is not there. An output of "-" is the file standard output is,
// however the shell opened it (">> 曲目.plr" appends to the document).
bool sameFile(const QString &input, const QString &output)
{
    struct stat a {}, b {};
    if (::stat(QFile::encodeName(input).constData(), &a) != 0)
        return false;
    const int found = output == kStandardOutput ? ::fstat(STDOUT_FILENO, &b) : ::stat(QFile::encodeName(output).constData(), &b);
    return found == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The files an export reads besides the document, each with what it is.
QList<std::pair<QString, QString>> otherInputs(const QString &document)
{
    QList<std::pair<QString, QString>> inputs;
    for (const QString &cover : JacketFiles::coverFiles(document))
        inputs.append({cover, QCoreApplication::translate("CommandLine", "%1 は文書の表紙の画像 '%2' です。このコマンドが読むファイルなので、PDF は別の名前で書き出してください")});
    for (const QString &settings : {settingsFilePath(), dataFilePath()})
        inputs.append({settings, QCoreApplication::translate("CommandLine", "%1 は設定ファイル '%2' です。このコマンドが読むファイルなので、PDF は別の名前で書き出してください")});
    return inputs;
}

bool startsAsPdf(const QString &path)
{
    const int descriptor = openRegularFile(path);
    if (descriptor < 0)
        return false;
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    return file.read(4) == "%PDF";
}

// The files an import reads besides the disc, each with what it is.
QList<std::pair<QString, QString>> importInputs(const QString &source)
{
    QList<std::pair<QString, QString>> inputs;
    for (const QString &file : DiscImageFiles(source))
        inputs.append({file, QCoreApplication::translate("CommandLine", "%1 はディスクイメージのファイル '%2' です。このコマンドが読むファイルなので、文書は別の名前で書き出してください")});
    for (const QString &settings : {settingsFilePath(), dataFilePath()})
        inputs.append({settings, QCoreApplication::translate("CommandLine", "%1 は設定ファイル '%2' です。このコマンドが読むファイルなので、文書は別の名前で書き出してください")});
    return inputs;
}

// A document and an output mixed up, refused before anything is read or
// written: the export would write over the document or another file it
// reads, or read a PDF as a jacket; the import would write over the disc
// image or another file it reads.
Options withoutMixUps(const Options &options)
{
    if (options.command == Command::ImportCd) {
        const QString output = QStringLiteral("'%1'").arg(options.output);
        if (sameFile(options.source, options.output))
            return invalid(QCoreApplication::translate("CommandLine", "%1 は読み込むディスクそのものです。引数が逆のようです (%2)").arg(output, importForm()));
        for (const auto &[input, refusal] : importInputs(options.source)) {
            if (sameFile(input, options.output))
                return invalid(refusal.arg(output, input));
        }
        return options;
    }
    if (options.command == Command::ExportPdf) {
        const QString output = options.output == kStandardOutput ? QCoreApplication::translate("CommandLine", "標準出力")
                                                                 : QStringLiteral("'%1'").arg(options.output);
        if (sameFile(options.document, options.output))
            return invalid(QCoreApplication::translate("CommandLine", "%1 は文書そのものです。引数が逆のようです (%2)").arg(output, exportForm()));
        for (const auto &[input, refusal] : otherInputs(options.document)) {
            if (sameFile(input, options.output))
                return invalid(refusal.arg(output, input));
        }
    }
    if ((options.command == Command::ExportPdf || options.command == Command::Print) && startsAsPdf(options.document)) {
        return invalid(options.command == Command::ExportPdf
                           ? QCoreApplication::translate("CommandLine", "'%1' はジャケットの文書ではなく PDF です。引数が逆のようです (%2)")
                                 .arg(options.document, exportForm())
                           : QCoreApplication::translate("CommandLine", "'%1' はジャケットの文書ではなく PDF です (%2)").arg(options.document, printForm()));
    }
    return options;
}

// The document, or nothing after a message that says why.
std::optional<Jacket> readJacket(const QString &path)
{
    // Only a regular file: a FIFO would wait for a writer.
    const std::optional<QByteArray> bytes = readRegularFile(path, JacketFormat::kMostBytes);
    if (!bytes) {
        complain(cannotOpen(path, whyNotRead(path, JacketFormat::kMostBytes)));
        return std::nullopt;
    }
    JacketFormat::Unreadable why{};
    std::optional<Jacket> document = JacketFormat::fromBytes(*bytes, &why);
    if (!document)
        complain(why == JacketFormat::Unreadable::NotText
                     ? QCoreApplication::translate("CommandLine", "%1 はジャケットの文書ではありません（%2）").arg(path, JacketFormat::reason(why))
                     : QCoreApplication::translate("CommandLine", "%1: 空の文書です（ジャケットの文書は 1 行目がタイトルです）").arg(path));
    return document;
}

// The product named by --product, when there is one.
const LabelProduct *chosenProduct(const Options &options)
{
    return options.product.isEmpty() ? nullptr : LabelProducts::Find(LabelProducts::Installed(), options.product);
}

// The faces the command prints: with --side both, the front and the back
// (on one sheet or not).
PageFaces facesOf(const Options &options)
{
    return options.side == Side::Label  ? PageFaces::Label
         : options.side == Side::Obi    ? PageFaces::Obi
         : options.side == Side::Both   ? PageFaces::BothOnOneSheet
         : options.side == Side::Back   ? PageFaces::Back
                                        : PageFaces::Front;
}

// What is wrong with --product: a name the database does not know, or a
// product without a place for a face the command prints. Empty when all is well.
QString productProblem(const Options &options)
{
    const QList<FaceKindId> needed = FaceKinds::onPage(facesOf(options));
    const bool needsFront = needed.contains(FaceKindId::Front);
    const bool needsBack = needed.contains(FaceKindId::Back);
    const bool needsDisc = needed.contains(FaceKindId::Disc);
    const auto fits = [&](const LabelProduct &product) { return LabelProducts::FitJacket(product).holds(needed); };
    // The products that would do, closest first.
    const auto closest = [&](const QList<LabelProduct> &among) {
        const QStringList names = LabelProducts::CloseMatches(among, options.product);
        return names.isEmpty() ? QString() : QCoreApplication::translate("CommandLine", "（近い名前: %1）").arg(names.join(QStringLiteral(", ")));
    };
    const QList<LabelProduct> jacketProducts = LabelProducts::JacketProducts(LabelProducts::Installed());
    const LabelProduct *product = chosenProduct(options);
    if (!product)
        return QCoreApplication::translate("CommandLine", "ラベル用紙のデータベースに '%1' はありません%2").arg(options.product, closest(jacketProducts));
    if (fits(*product))
        return QString();
    QList<LabelProduct> fitting;
    std::copy_if(jacketProducts.begin(), jacketProducts.end(), std::back_inserter(fitting), fits);
    const QString missing = needed.contains(FaceKindId::Obi)
                              ? QCoreApplication::translate("CommandLine", "帯は普通紙にだけ印刷します。用紙 '%1' には帯の場所がありません%2")
                          : needsDisc               ? QCoreApplication::translate("CommandLine", "用紙 '%1' にはディスクのレーベルがありません%2")
                          : needsFront && needsBack ? QCoreApplication::translate("CommandLine", "用紙 '%1' にはジャケットの表と裏のラベルがありません%2")
                          : needsFront              ? QCoreApplication::translate("CommandLine", "用紙 '%1' にはジャケットの表のラベルがありません%2")
                                                    : QCoreApplication::translate("CommandLine", "用紙 '%1' にはジャケットの裏のラベルがありません%2");
    return missing.arg(product->name(), closest(fitting));
}

QString writeOutput(const QString &output, const QByteArray &pdf)
{
    if (output == kStandardOutput)
        return OutputFile::writeInto(STDOUT_FILENO, pdf);
    return OutputFile::write(output, pdf, [&] {
        complain(QCoreApplication::translate("CommandLine", "%1 を読むプログラムを待っています（まだ誰も読んでいない FIFO です）").arg(output));
    });
}

// Why a named output could not be made, told by what stands in its way:
// the system's "no such file" would be about the folder, not the file.
QString whyNotWritten(const QString &output, const QString &error)
{
    const QFileInfo folder(QFileInfo(output).path());
    if (output == kStandardOutput || folder.isDir())
        return error;
    return folder.exists() || folder.isSymLink()
               ? QCoreApplication::translate("CommandLine", "%1 はフォルダではありません").arg(folder.filePath())
               : QCoreApplication::translate("CommandLine", "フォルダ %1 がありません").arg(folder.filePath());
}

// The document's jacket as the window would print it with the settings it
// starts with, and the command's options in their stead where given.
Jacket jacketToPrint(const Jacket &document, const Options &options, const SettingsFile &settings)
{
    Jacket jacket = document;
    jacket.titleSizeText = options.titleSize.value_or(SettingsKeys::kTitleSize.readFrom(settings, SettingsKeys::kLowerSection));
    jacket.itemSizeText = options.itemSize.value_or(SettingsKeys::kItemSize.readFrom(settings, SettingsKeys::kLowerSection));
    jacket.numbering = !options.noNumbers && SettingsKeys::kPlusNum.readFrom(settings, SettingsKeys::kLowerSection);
    jacket.numberSuffix = readDataFile(dataFilePath()).numberSuffix;
    jacket.verticalSpine = options.verticalSpine;
    jacket.marks = options.marks.value_or(SettingsKeys::readMarks(settings));
    return jacket;
}

int exportPdf(const Options &options)
{
    const std::optional<Jacket> document = readJacket(options.document);
    if (!document)
        return kFailure;
    if (document->items.isEmpty()) {
        complain(noContent() + QCoreApplication::translate("CommandLine", "（%1 にはタイトルだけで、内容の行がありません）").arg(options.document));
        return kFailure;
    }

    // The settings as the window would start with them; only read, never
    // written back.
    const SettingsFile settings = SettingsFile::load(settingsFilePath());
    JacketExport jacket;
    jacket.jacket = jacketToPrint(*document, options, settings);
    if (options.oneSheet)
        jacket.pages << PageFaces::BothOnOneSheet;
    if (options.side == Side::Label)
        jacket.pages << PageFaces::Label;
    if (options.side == Side::Obi)
        jacket.pages << PageFaces::Obi;
    if ((options.side == Side::Front || options.side == Side::Both) && !options.oneSheet)
        jacket.pages << PageFaces::Front;
    if ((options.side == Side::Back || options.side == Side::Both) && !options.oneSheet)
        jacket.pages << PageFaces::Back;
    // The picture kept beside the document covers the front.
    const JacketFiles::FoundCover cover = JacketFiles::findCover(options.document);
    if (!cover.unreadable.isEmpty())
        complain(QCoreApplication::translate("CommandLine", "表紙の画像 %1 を使えないので、表紙の画像なしで書き出します（%2）。").arg(cover.unreadable, cover.why));
    jacket.jacket.cover = cover.picture.value_or(CoverPicture());

    ExportSheet sheet;
    const LabelProduct *product = chosenProduct(options);
    // The page a disc tray takes, as printing the label would use it.
    std::optional<DiscTrays::Choice> tray;
    {
        TQdPrinter printer;
        sheet = PrinterSheet(printer);
        if (!product && options.side == Side::Label && !sheet.printerName.isEmpty()) {
            try {
                tray = JacketPrinting::DiscTrayChoiceOf(printer, PaperChoices::load(sheet.printerName).discRing());
            } catch (const Exception &) {
                // Not reachable now: as on any other printer's paper.
            }
        }
    }
    if (product) {
        jacket.product = LabelProducts::FitJacket(*product);
        sheet = ProductSheet(*product, sheet);
    } else if (tray) {
        sheet.pageLayout = JacketPrinting::DiscTraySheet(tray->page);
        jacket.discTray = true;
        jacket.discRing = PaperChoices::load(sheet.printerName).discRing();
    }
    const ExportOutcome outcome = ExportJacketPdf(jacket, sheet);
    switch (outcome.status) {
    case ExportOutcome::Written: {
        const QString error = writeOutput(options.output, outcome.pdf);
        if (!error.isEmpty()) {
            complain(cannotCreate(options.output, whyNotWritten(options.output, error)));
            return kFailure;
        }
        // In a disc tray the driver's circle is the page's: the ring is
        // whole when the page holds it.
        if (tray && !tray->holdsRing)
            complain(DiscTrays::RingTooWideNotice(*tray, jacket.discRing.outerMm).replace(u'\r', u'\n'));
        else if (!tray && outcome.beyondReach)
            complain(SheetPlacement::BeyondReachNotice().replace(u'\r', u'\n'));
        return kSuccess;
    }
    case ExportOutcome::TooSmallToPrint:
        complain(tooSmallToPrint() + QCoreApplication::translate("CommandLine", "（どのフォントサイズでも文字が面に収まりません）"));
        return kFailure;
    case ExportOutcome::SheetTooSmall: {
        const QString destination = sheet.printerName.isEmpty() ? QCoreApplication::translate("CommandLine", "書き出し") : sheet.printerName;
        complain(sheetTooSmall()
                 + (options.oneSheet ? QCoreApplication::translate("CommandLine", "（表と裏が %2 の %1 の用紙に収まりません）")
                                     : QCoreApplication::translate("CommandLine", "（面が %2 の %1 の用紙に収まりません）"))
                       .arg(sheet.pageLayout.pageSize().name(), destination));
        return kFailure;
    }
    case ExportOutcome::CannotWrite:
        complain(cannotCreate(options.output, outcome.error));
        return kFailure;
    }
    return kFailure;
}

// How the window shapes the lines of dropped files, from the settings it
// starts with.
DropLineOptions dropLineOptions(const SettingsFile &settings)
{
    DropLineOptions options;
    options.readTags = SettingsKeys::kAcquireTags.readFrom(settings, SettingsKeys::kLowerSection);
    options.stripExtension = SettingsKeys::kExtension.readFrom(settings, SettingsKeys::kLowerSection);
    options.addTime = SettingsKeys::kTimePlus.readFrom(settings, SettingsKeys::kUpperSection);
    options.addArtist = SettingsKeys::kArtistPlus.readFrom(settings, SettingsKeys::kUpperSection);
    options.artistPrefix = readDataFile(dataFilePath()).artistPrefix;
    return options;
}

// Starts a lookup and runs an event loop until its one answer; the lookup
// gives up by itself after its timeout.
template <typename Lookup, typename Answer>
Answer answerOf(Lookup &lookup, const std::function<void()> &start)
{
    QEventLoop loop;
    Answer answer;
    QObject::connect(&lookup, &Lookup::finished, &loop, [&](const Answer &finished) {
        answer = finished;
        loop.quit();
    });
    start();
    loop.exec();
    return answer;
}

// The jacket of a disc that MusicBrainz knows: the release with this very
// disc if there is one, else its first; the front cover when the archive may
// have one. Nothing when MusicBrainz does not know the disc (after a note),
// or when the lookup failed, with the reason in `failure`.
std::optional<Jacket> lookedUp(const DiscContents &contents, const ImportedDisc &disc, const DropLineOptions &lineOptions,
                               QString *failure)
{
    DiscQuery query{MusicBrainzDiscId(contents.toc), MusicBrainzToc(contents.toc), {}};
    for (const ImportedTrack &track : disc.tracks)
        query.trackSeconds << track.seconds;
    MusicBrainzLookup lookup;
    const MusicBrainzAnswer answer = answerOf<MusicBrainzLookup, MusicBrainzAnswer>(lookup, [&] { lookup.start(query); });
    if (answer.outcome == LookupOutcome::NoneFound) {
        complain(QCoreApplication::translate("CommandLine", "%1ディスクの曲目だけで書き出します。").arg(answer.reason));
        return std::nullopt;
    }
    if (answer.outcome != LookupOutcome::Found) {
        *failure = answer.reason;
        return std::nullopt;
    }

    const auto byDiscId = std::find_if(answer.releases.cbegin(), answer.releases.cend(), [](const Release &release) { return release.matchedByDiscId; });
    const Release &release = byDiscId != answer.releases.cend() ? *byDiscId : answer.releases.first();
    const ReleaseText text = releaseText(release, query.trackSeconds,
                                         [lineOptions](const QString &title, std::optional<int32_t> seconds, const QString &artist) {
                                             // No artist part for the release's own artist.
                                             DropLineOptions line = lineOptions;
                                             line.addArtist = line.addArtist && !artist.isEmpty();
                                             return TrackLine(title, seconds, artist, line);
                                         });
    Jacket jacket;
    jacket.title = text.title;
    jacket.items = text.lines;
    if (release.frontCover.value_or(true)) {
        CoverArtFetch fetch;
        const CoverArtAnswer picture = answerOf<CoverArtFetch, CoverArtAnswer>(fetch, [&] { fetch.start(release.id); });
        QString unusable;
        const std::optional<CoverPicture> cover = CoverPictureOf(picture, &unusable);
        if (cover)
            jacket.cover = *cover;
        else if (picture.outcome != LookupOutcome::NoneFound)
            complain(QCoreApplication::translate("CommandLine", "%1表紙の画像なしで書き出します。").arg(unusable));
    }
    return jacket;
}

int importCd(const Options &options)
{
    DiscUnreadable why{};
    const std::optional<DiscContents> contents = ReadDiscSource(options.source, &why);
    if (!contents) {
        complain(QCoreApplication::translate("CommandLine", "%1 から曲目を読み込めません（%2）").arg(options.source, DiscReason(why)));
        return kFailure;
    }
    // The lines as a drop of the disc's tracks would give them in the window.
    const DropLineOptions lineOptions = dropLineOptions(SettingsFile::load(settingsFilePath()));
    const ImportedDisc disc = ImportedDiscOf(*contents, CdTextLanguageFor(Translation::ofThisRun()));
    const bool titled = !disc.title.isEmpty()
                     || std::any_of(disc.tracks.cbegin(), disc.tracks.cend(), [](const ImportedTrack &track) { return !track.title.isEmpty(); });
    // --lookup is the user's consent; without it nothing leaves the machine.
    std::optional<Jacket> found;
    if (options.lookup && !titled) {
        QString failure;
        found = lookedUp(*contents, disc, lineOptions, &failure);
        if (!failure.isEmpty()) {
            complain(QCoreApplication::translate("CommandLine", "%1%2 は書き出していません。").arg(failure, options.output));
            return kFailure;
        }
    } else if (options.lookup) {
        complain(QCoreApplication::translate("CommandLine", "%1 には曲名があるので、MusicBrainz には問い合わせません。").arg(options.source));
    }
    Jacket jacket;
    if (found) {
        jacket = *found;
    } else {
        const DiscJacketText text = DiscJacketLines(disc, lineOptions);
        jacket.title = text.title;
        jacket.items = text.lines;
    }

    const JacketFiles::Saved saved = JacketFiles::save(options.output, jacket);
    if (!saved.ok()) {
        const QString reason = whyNotWritten(saved.failedPath, saved.failure);
        complain(saved.failedPath == options.output
                     ? cannotCreate(options.output, reason)
                     : QCoreApplication::translate("TForm1", "表紙の画像を %1 に保存できないので、文書も保存していません（%2）。").arg(saved.failedPath, reason));
        return kFailure;
    }
    // An old cover left beside the document would come with it next time.
    for (const QString &path : saved.notDeleted)
        complain(QCoreApplication::translate("TForm1", "表紙の画像だった %1 を削除できませんでした。次に開くとき表紙として使われます。").arg(path));
    return saved.notDeleted.isEmpty() ? kSuccess : kFailure;
}

// Where the jobs go: the queue given with --printer, else the user's
// default. Checked here, so that a destination that cannot take them is
// told with its cause and with what helps on the command line (the
// window's messages send the user to its printer set-up menu). False
// after the message.
bool chooseDestination(TQdPrinter &facade, const QString &printer)
{
    facade.CheckPrinterChange();
    const TQdAllPrintersInfo &printers = facade.Snapshot();
    // No answer is no answer, whichever queue was named.
    if (!printers.Reachable()) {
        complain(EQdPrinterNoSpooler(printers.Failure()).message());
        return false;
    }
    const QString name = printer.isEmpty() ? printers.DefaultName() : printer;
    // Without a default the window takes the only printer there is, or says there is none.
    if (name.isEmpty()) {
        int visible = 0;
        for (int i = 0; i < printers.Count(); ++i)
            visible += printers.IsVisible(i);
        if (visible <= 1)
            return true;
        complain(QCoreApplication::translate("CommandLine", "既定のプリンタが決まっていません。--printer で印刷するプリンタを指定してください"));
        return false;
    }
    const int index = printers.IndexOf(name);
    if (index < 0) {
        complain(printer.isEmpty()
                     ? QCoreApplication::translate("CommandLine", "既定のプリンタ %1 が見つかりません（その名前のプリンタはありません）。--printer で別のプリンタを指定してください").arg(name)
                     : QCoreApplication::translate("CommandLine", "プリンタ %1 が見つかりません（その名前のプリンタはありません）").arg(name));
        return false;
    }
    if (!printers.IsVisible(index)) {
        complain(printer.isEmpty()
                     ? QCoreApplication::translate("CommandLine", "既定のプリンタ %1 は印刷を受け付けていません（ジョブを断っています）。--printer で別のプリンタを指定してください").arg(name)
                     : QCoreApplication::translate("CommandLine", "プリンタ %1 は印刷を受け付けていません（ジョブを断っています）").arg(name));
        return false;
    }
    if (!printer.isEmpty())
        facade.SelectPrinter(printer);
    return true;
}

int print(const Options &options, const MessagesToStandardError &messages)
{
    const std::optional<Jacket> document = readJacket(options.document);
    if (!document)
        return kFailure;
    // The settings as the window would start with them; only read, never
    // written back: a command of the command line changes no settings.
    Jacket jacket = jacketToPrint(*document, options, SettingsFile::load(settingsFilePath()));
    const JacketFiles::FoundCover cover = JacketFiles::findCover(options.document);
    if (!cover.unreadable.isEmpty())
        Messages::ShowWarning(QCoreApplication::translate("TForm1", "表紙の画像 %1 を使えないので、表紙の画像なしで開きます（%2）。").arg(cover.unreadable, cover.why));
    jacket.cover = cover.picture.value_or(CoverPicture());

    TQdPrinter printer;
    if (!chooseDestination(printer, options.printer))
        return kFailure;
    const JacketPrinting printing(printer, options.product);
    // The window would stop too, with advice for the window.
    if (const QString missing = printing.MissingProduct(); !missing.isEmpty()) {
        const QStringList close = LabelProducts::CloseMatches(LabelProducts::JacketProducts(LabelProducts::Installed()), missing);
        complain(QCoreApplication::translate("CommandLine", "プリンタ %1 の用紙 '%2' はラベル用紙のデータベースにありません。--product で用紙を指定するか、ウィンドウの「用紙の選択」で選び直してください%3")
                     .arg(printer.PlatformPrinter().printerName(), missing,
                          close.isEmpty() ? QString() : QCoreApplication::translate("CommandLine", "（近い名前: %1）").arg(close.join(QStringLiteral(", ")))));
        return kFailure;
    }
    const PageFaces faces = facesOf(options);
    // As the menu's print commands: fonts that must shrink shrink quietly.
    TJacketLayout layout;
    TBigBitmap spine;
    spine.SetDrawMode(1);
    JacketPrinting::Steps steps{[&] { return options.copies.value_or(1); },
                                [&](const Jacket &laidOut, PageFaces pageFaces) { return printing.Plan(laidOut, pageFaces, layout, spine); },
                                spine};
    return printing.Print(jacket, faces, steps) && messages.count() == 0 ? kSuccess : kFailure;
}

}  // namespace

int run(const QStringList &arguments, char *program)
{
    // No window is shown, so no display is needed, whatever the environment
    // or -platform asks for the window: the toolkit gets neither.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    char *toolkitArgv[] = {program, nullptr};
    // Never a window: no widget toolkit at all.
    QGuiApplication app(toolkitArgc, toolkitArgv);
    ProgramSetup::prepare();
    // Read again with the run's language in place, for the messages.
    const Options options = withoutMixUps(parse(arguments));
    switch (options.command) {
    case Command::Help:
        writeTo(stdout, usage());
        return kSuccess;
    case Command::Version:
        writeTo(stdout, versionText() + u'\n');
        return kSuccess;
    case Command::Invalid:
        complain(options.error);
        writeTo(stderr, tryHelp());
        return kUsageError;
    case Command::Window:
    case Command::ExportPdf:
    case Command::Print:
    case Command::ImportCd:
        break;
    }

    Messages::setApplicationTitle(AppName());
    const MessagesToStandardError messages;
    try {
        if (!options.product.isEmpty()) {
            const QString problem = productProblem(options);
            if (!problem.isEmpty()) {
                complain(problem);
                writeTo(stderr, tryHelp());
                return kUsageError;
            }
        }
        if (options.command == Command::ExportPdf)
            return exportPdf(options) == kSuccess && messages.count() == 0 ? kSuccess : kFailure;
        if (options.command == Command::ImportCd)
            return importCd(options) == kSuccess && messages.count() == 0 ? kSuccess : kFailure;
        return print(options, messages);
    } catch (const Exception &e) {
        complain(e.message());
    } catch (const std::exception &e) {
        complain(QString::fromLocal8Bit(e.what()));
    }
    return kFailure;
}

}  // namespace CommandLine
