// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "ConfigLocation.h"
#include "DataFile.h"
#include "ItemListBox.h"
#include "PaperChoices.h"
#include "RadioGroup.h"
#include "SettingsFile.h"
#include "SettingsKeys.h"
#include "Unit1.h"
#include "common/Application.h"
#include "common/Exception.h"
#include "common/Messages.h"
#include "common/OutputFile.h"
#include "common/RegularFile.h"
#include "document/CoverPicture.h"
#include "document/JacketDocument.h"
#include "labels/LabelProducts.h"
#include "layout/PdfExport.h"
#include "layout/SheetPlacement.h"
#include "printer/DiscTrays.h"
#include "printer/QdPrinters.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace CommandLine {
namespace {

const QString kTryHelp = QStringLiteral("Try 'pelora --help' for the usage.\n");

// An output of "-" is standard output, as other tools take it.
const QString kStandardOutput = QStringLiteral("-");

// The window's own messages, where the command line meets the same case.
const QString kCannotOpen = QStringLiteral("ファイル %1 は開けません。");
const QString kNoContent = QStringLiteral("内容に何も無いときは印刷できません");
const QString kSheetTooSmall = QStringLiteral("紙が小さすぎます。");
const QString kTooSmallToPrint = QStringLiteral("フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します");
const QString kCannotCreate = QStringLiteral("ファイル %1 を作成できません。 (%2)");

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
// either is not there.
bool sameFile(const QString &document, const QString &output)
{
    struct stat a {}, b {};
    if (::stat(QFile::encodeName(document).constData(), &a) != 0)
        return false;
    const int found = output == kStandardOutput ? ::fstat(STDOUT_FILENO, &b) : ::stat(QFile::encodeName(output).constData(), &b);
    return found == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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

// A document and an output mixed up, refused before anything is read or
// written: the export would write over the document, or read a PDF as a
// jacket.
Options withoutMixUps(const Options &options)
{
    if (options.command == Command::ExportPdf && sameFile(options.document, options.output)) {
        const QString output = options.output == kStandardOutput ? QStringLiteral("standard output")
                                                                 : QStringLiteral("'%1'").arg(options.output);
        return invalid(QStringLiteral("%1 is the document itself: the arguments look swapped (%2)").arg(output, kExportForm));
    }
    if ((options.command == Command::ExportPdf || options.command == Command::Print) && startsAsPdf(options.document)) {
        return invalid(options.command == Command::ExportPdf
                           ? QStringLiteral("'%1' is a PDF, not a jacket: the arguments look swapped (%2)").arg(options.document, kExportForm)
                           : QStringLiteral("'%1' is a PDF, not a jacket (pelora --print DOCUMENT.plr)").arg(options.document));
    }
    return options;
}

// The document, or nothing after a message that says why.
std::optional<JacketDocument> readJacket(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        complain(kCannotOpen.arg(path) + QStringLiteral(" (a folder, not a document)"));
        return std::nullopt;
    }
    // Only a regular file: a FIFO would wait for a writer.
    const std::optional<QByteArray> bytes = readRegularFile(path, JacketFormat::kMostBytes);
    if (!bytes) {
        complain(kCannotOpen.arg(path)
                 + (info.exists() && !info.isFile() ? QStringLiteral(" (not a regular file)") : QStringLiteral(" (it cannot be read)")));
        return std::nullopt;
    }
    std::optional<JacketDocument> document = JacketFormat::fromBytes(*bytes);
    if (!document)
        complain(QStringLiteral("%1: 空の文書です (an empty document: a jacket has its title on the first line)").arg(path));
    return document;
}

// The product named by --product, when there is one.
const LabelProduct *chosenProduct(const Options &options)
{
    return options.product.isEmpty() ? nullptr : LabelProducts::Find(LabelProducts::Installed(), options.product);
}

// What is wrong with --product: a name the database does not know, or a
// product without a place for a face the command prints. Empty when all is well.
QString productProblem(const Options &options)
{
    const bool needsFront = options.side == Side::Front || options.side == Side::Both;
    const bool needsBack = options.side == Side::Back || options.side == Side::Both;
    const bool needsDisc = options.side == Side::Label;
    const auto fits = [&](const LabelProduct &product) {
        const ProductFit fit = LabelProducts::FitJacket(product);
        return (!needsFront || !fit.front.isEmpty()) && (!needsBack || !fit.back.isEmpty()) && (!needsDisc || !fit.disc.isEmpty());
    };
    // The products that would do, closest first.
    const auto closest = [&](const QList<LabelProduct> &among) {
        const QStringList names = LabelProducts::CloseMatches(among, options.product);
        return names.isEmpty() ? QString() : QStringLiteral(" (did you mean: %1?)").arg(names.join(QStringLiteral(", ")));
    };
    const QList<LabelProduct> jacketProducts = LabelProducts::JacketProducts(LabelProducts::Installed());
    const LabelProduct *product = chosenProduct(options);
    if (!product)
        return QStringLiteral("no product '%1' in the label database%2").arg(options.product, closest(jacketProducts));
    if (fits(*product))
        return QString();
    QList<LabelProduct> fitting;
    std::copy_if(jacketProducts.begin(), jacketProducts.end(), std::back_inserter(fitting), fits);
    const QString faces = needsDisc                 ? QStringLiteral("the disc")
                          : needsFront && needsBack ? QStringLiteral("both faces")
                          : needsFront              ? QStringLiteral("the front")
                                                    : QStringLiteral("the back");
    return QStringLiteral("the product '%1' has no label for %2 of the jacket%3").arg(product->name(), faces, closest(fitting));
}

QString writeOutput(const QString &output, const QByteArray &pdf)
{
    if (output == kStandardOutput)
        return OutputFile::writeInto(STDOUT_FILENO, pdf);
    return OutputFile::write(output, pdf, [&] {
        complain(QStringLiteral("%1 を読むプログラムを待っています (a FIFO that nobody reads yet)").arg(output));
    });
}

int exportPdf(const Options &options)
{
    const std::optional<JacketDocument> document = readJacket(options.document);
    if (!document)
        return kFailure;
    if (document->items.isEmpty()) {
        complain(kNoContent + QStringLiteral(" (%1 has a title but no item lines)").arg(options.document));
        return kFailure;
    }

    // The settings as the window would start with them; only read, never
    // written back.
    const SettingsFile settings = SettingsFile::load(settingsFilePath());
    JacketExport jacket;
    jacket.jacket.title = document->title;
    jacket.jacket.items = document->items;
    if (options.oneSheet)
        jacket.pages << PageFaces::BothOnOneSheet;
    if (options.side == Side::Label)
        jacket.pages << PageFaces::Label;
    if ((options.side == Side::Front || options.side == Side::Both) && !options.oneSheet)
        jacket.pages << PageFaces::Front;
    if ((options.side == Side::Back || options.side == Side::Both) && !options.oneSheet)
        jacket.pages << PageFaces::Back;
    // The picture kept beside the document covers the front.
    const CoverFile::Found cover = CoverFile::find(options.document);
    if (!cover.unreadable.isEmpty())
        complain(QStringLiteral("表紙の画像 %1 を読めないので、表紙の画像なしで書き出します。").arg(cover.unreadable));
    jacket.cover = cover.picture.value_or(CoverPicture());
    jacket.jacket.titleSizeText = options.titleSize.value_or(SettingsKeys::kTitleSize.readFrom(settings, SettingsKeys::kLowerSection));
    jacket.jacket.itemSizeText = options.itemSize.value_or(SettingsKeys::kItemSize.readFrom(settings, SettingsKeys::kLowerSection));
    jacket.jacket.numbering = !options.noNumbers && SettingsKeys::kPlusNum.readFrom(settings, SettingsKeys::kLowerSection);
    jacket.jacket.numberSuffix = readDataFile(dataFilePath()).numberSuffix;
    jacket.jacket.verticalSpine = options.verticalSpine;
    jacket.jacket.lineHeightSample = AppName;
    jacket.marks = options.marks.value_or(SettingsKeys::readMarks(settings));

    ExportSheet sheet;
    {
        TQdPrinter printer;
        sheet = PrinterSheet(printer);
    }
    if (const LabelProduct *product = chosenProduct(options)) {
        jacket.product = LabelProducts::FitJacket(*product);
        sheet = ProductSheet(*product, sheet);
    } else if (options.side == Side::Label && !sheet.printerName.isEmpty()) {
        // The page a disc tray takes, as printing the label would use it.
        if (const std::optional<QPageSize> tray = DiscTrays::TrayPage(QPrinterInfo::printerInfo(sheet.printerName).supportedPageSizes())) {
            const PaperChoice paper = PaperChoices::load(sheet.printerName);
            sheet.pageLayout = QPageLayout(*tray, QPageLayout::Portrait, QMarginsF());
            jacket.discTray = true;
            jacket.discRing = DiscRing{paper.discOuterMm, paper.discInnerMm};
        }
    }
    const ExportOutcome outcome = ExportJacketPdf(jacket, sheet);
    switch (outcome.status) {
    case ExportOutcome::Written: {
        const QString error = writeOutput(options.output, outcome.pdf);
        if (!error.isEmpty()) {
            complain(kCannotCreate.arg(options.output, error));
            return kFailure;
        }
        if (outcome.beyondReach)
            complain(SheetPlacement::BeyondReachNotice().replace(u'\r', u'\n'));
        return kSuccess;
    }
    case ExportOutcome::TooSmallToPrint:
        complain(kTooSmallToPrint + QStringLiteral(" (the text does not fit the face at any font size)"));
        return kFailure;
    case ExportOutcome::SheetTooSmall:
        complain(kSheetTooSmall + QStringLiteral(" (%1 not fit the %2 sheet of %3)")
                                      .arg(options.oneSheet ? QStringLiteral("the two faces do") : QStringLiteral("the face does"))
                                      .arg(sheet.pageLayout.pageSize().name(),
                                           sheet.printerName.isEmpty() ? QStringLiteral("the export") : sheet.printerName));
        return kFailure;
    case ExportOutcome::CannotWrite:
        complain(kCannotCreate.arg(options.output, outcome.error));
        return kFailure;
    }
    return kFailure;
}

// The window writes its settings when it closes. A command-line run must
// leave the user's files as they were, so its hidden window gets copies of
// them in a folder of its own.
class SettingsCopy
{
public:
    SettingsCopy()
        : m_wasSet(qEnvironmentVariableIsSet("PELORA_CONFIG_DIR"))
        , m_previous(qgetenv("PELORA_CONFIG_DIR"))
    {
        if (!m_dir.isValid())
            return;
        for (const QString &path : {settingsFilePath(), dataFilePath()}) {
            if (QFileInfo::exists(path))
                QFile::copy(path, m_dir.filePath(QFileInfo(path).fileName()));
        }
        qputenv("PELORA_CONFIG_DIR", QFile::encodeName(m_dir.path()));
    }
    ~SettingsCopy()
    {
        if (m_wasSet)
            qputenv("PELORA_CONFIG_DIR", m_previous);
        else
            qunsetenv("PELORA_CONFIG_DIR");
    }
    SettingsCopy(const SettingsCopy &) = delete;
    SettingsCopy &operator=(const SettingsCopy &) = delete;

private:
    QTemporaryDir m_dir;
    bool m_wasSet;
    QByteArray m_previous;
};

int printWithWindow(const Options &options, TForm1 &form)
{
    // The window is never shown, so the stored editing mode never applies:
    // the document goes into the list.
    EditorMode = false;
    if (!form.ReadDocument(options.document))
        return kFailure;
    if (options.titleSize)
        form.ComboTFS->setCurrentText(*options.titleSize);
    if (options.itemSize)
        form.comboFS->setCurrentText(*options.itemSize);
    if (options.noNumbers)
        form.PlusNum->setChecked(false);
    VerticalSpineText = options.verticalSpine;
    form.ProductForThisRun = options.product;
    if (options.marks)
        form.SetMarks(*options.marks);
    form.RGTwoSides->setItemIndex(options.side == Side::Back ? 1 : 0);
    form.ComboBusuu->setCurrentText(QString::number(options.copies.value_or(1)));

    if (!options.printer.isEmpty()) {
        QdPrinter->CheckPrinterChange();
        const int index = QdPrinter->Snapshot().IndexOf(options.printer);
        if (index < 0) {
            complain(QStringLiteral("プリンタ %1 が見つかりません (no printer of that name)").arg(options.printer));
            return kFailure;
        }
        if (!QdPrinter->Snapshot().IsVisible(index)) {
            complain(QStringLiteral("プリンタ %1 は印刷を受け付けていません (the queue rejects jobs)").arg(options.printer));
            return kFailure;
        }
        QdPrinter->SelectPrinter(options.printer);
    }
    // As the menu's print commands: fonts that must shrink shrink quietly.
    if (options.side == Side::Label)
        form.LabelPrintClick(form.LabelPrintMe);
    else if (options.oneSheet)
        form.OneSheetPrintClick(form.OneSheetPrintMe);
    else
        form.Button1Click(form.Print1);
    return kSuccess;
}

int print(const Options &options, const MessagesToStandardError &messages)
{
    // Read once here for a plain message; the window reads it again.
    if (!readJacket(options.document))
        return kFailure;
    const SettingsCopy settings;
    int status = kFailure;
    QdPrinter = new TQdPrinter();
    try {
        TForm1 form;
        status = printWithWindow(options, form);
    } catch (const Exception &e) {
        Messages::ShowError(e.message());
    } catch (const std::exception &e) {
        Messages::ShowError(QString::fromLocal8Bit(e.what()));
    }
    delete QdPrinter;
    QdPrinter = nullptr;
    return status == kSuccess && messages.count() == 0 ? kSuccess : kFailure;
}

}  // namespace

int run(const Options &parsed, char *program)
{
    const Options options = withoutMixUps(parsed);
    switch (options.command) {
    case Command::Help:
        writeTo(stdout, usage());
        return kSuccess;
    case Command::Version:
        writeTo(stdout, versionText() + u'\n');
        return kSuccess;
    case Command::Invalid:
        complain(options.error);
        writeTo(stderr, kTryHelp);
        return kUsageError;
    case Command::Window:
    case Command::ExportPdf:
    case Command::Print:
        break;
    }

    // No window is shown, so no display is needed, whatever the environment
    // or -platform asks for the window: the toolkit gets neither.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    char *toolkitArgv[] = {program, nullptr};
    TApplication app(toolkitArgc, toolkitArgv);
    Messages::setApplicationTitle(AppName);
    const MessagesToStandardError messages;
    try {
        if (!options.product.isEmpty()) {
            const QString problem = productProblem(options);
            if (!problem.isEmpty()) {
                complain(problem);
                writeTo(stderr, kTryHelp);
                return kUsageError;
            }
        }
        if (options.command == Command::ExportPdf)
            return exportPdf(options) == kSuccess && messages.count() == 0 ? kSuccess : kFailure;
        return print(options, messages);
    } catch (const Exception &e) {
        complain(e.message());
    } catch (const std::exception &e) {
        complain(QString::fromLocal8Bit(e.what()));
    }
    return kFailure;
}

}  // namespace CommandLine
