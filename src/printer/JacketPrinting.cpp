// SPDX-License-Identifier: GPL-3.0-or-later
#include "printer/JacketPrinting.h"

#include "core/bitmap/BigBitmap.h"
#include "core/common/AppName.h"
#include "core/common/Messages.h"
#include "core/labels/LabelProducts.h"
#include "core/layout/DiscLabel.h"
#include "core/layout/PaperNames.h"
#include "core/layout/SheetPlacement.h"
#include "core/settings/PrintPositions.h"
#include "printer/QdPrinters.h"

#include <QCoreApplication>
#include <QPrinter>

#include <algorithm>

// The print commands' texts keep the window's context: they were its alone.
namespace {

// Sheet sizes in tenths of a millimetre.
constexpr int kFrontMinimum = 1400;
constexpr int kBackShortSide = 1350;
constexpr int kBackLongSide = 1800;

QString noPrinter() { return QCoreApplication::translate("TForm1", "プリンタを見つけられませんでした"); }

// Runs calls that set the copy count; false when the printer takes no count
// from the program (no copies setting, no maximum, a count refused). The
// spooler's, the destination's and a job's failures are no copies problem
// and go on up.
template <typename Calls>
bool copiesTaken(Calls &&calls)
{
    try {
        calls();
        return true;
    } catch (const EQdPrinterNotSupported &) {
    } catch (const EQdPrinterNoInfo &) {
    } catch (const EQDPrinterRangeError &) {
    } catch (const EQdAssertionFailed &) {
    }
    return false;
}

bool copiesSet(TQdPrinter &printer, int count)
{
    return copiesTaken([&] {
        printer.SetCopies(count);
        printer.ApplySettings();
    });
}

}  // namespace

JacketPrinting::JacketPrinting(TQdPrinter &printer, QString productForThisRun)
    : m_printer(printer)
    , m_productForThisRun(std::move(productForThisRun))
{
}

SheetGeometry JacketPrinting::Sheet() const
{
    return SheetGeometry{m_printer.GetPixelsPerInch(), m_printer.GetSheetPixels(), m_printer.GetPrintableArea()};
}

PrintCorrection JacketPrinting::Correction() const { return PrintPositions::load(m_printer.PlatformPrinter().printerName()); }

PaperChoice JacketPrinting::Paper() const
{
    const PaperChoice stored = PaperChoices::load(m_printer.PlatformPrinter().printerName());
    if (m_productForThisRun.isEmpty())
        return stored;
    // The stored positions hold for the same product only.
    const QList<LabelProduct> &products = LabelProducts::Installed();
    const bool same = LabelProducts::Find(products, stored.product) == LabelProducts::Find(products, m_productForThisRun);
    if (same)
        return stored;
    PaperChoice paper = stored;
    paper.product = m_productForThisRun;
    paper.frontPosition = paper.backPosition = paper.discPosition = 1;
    return paper;
}

const LabelProduct *JacketPrinting::ProductOf(const PaperChoice &paper)
{
    // The database is read only once a product has been chosen.
    return paper.plainPaper() ? nullptr : LabelProducts::Find(LabelProducts::Installed(), paper.product);
}

const LabelProduct *JacketPrinting::Product() const { return ProductOf(Paper()); }

QString JacketPrinting::Destination() const
{
    const QPrinter &printer = m_printer.PlatformPrinter();
    const QPageLayout page = printer.pageLayout();
    QString destination = QStringLiteral("%1 (%2 %3)").arg(printer.printerName(), page.pageSize().name(),
                                                           page.orientation() == QPageLayout::Portrait ? QCoreApplication::translate("TForm1", "縦") : QCoreApplication::translate("TForm1", "横"));
    // Only a product names its paper: the database is not read for plain paper.
    if (const PaperChoice paper = Paper(); !paper.plainPaper())
        destination += QCoreApplication::translate("TForm1", "、用紙: ") + paper.product;
    return destination;
}

bool JacketPrinting::CheckPrinter() const
{
    // Only when there is none: a spooler that does not answer, or a
    // destination that cannot take the job, says so in its own words.
    try {
        m_printer.GetPrinters();
        m_printer.PlatformPrinter();
        return true;
    } catch (const EQdPrinterNoSpooler &) {
        throw;
    } catch (const EQdPrinterNoPrinter &) {
    }
    Messages::ShowMessage(noPrinter());
    return false;
}

bool JacketPrinting::CheckPrinterAndContent(bool hasItems) const
{
    if (!CheckPrinter())
        return false;
    if (!hasItems) {
        Messages::ShowMessage(QCoreApplication::translate("TForm1", "内容に何も無いときは印刷できません"));
        return false;
    }
    return true;
}

QString JacketPrinting::MissingProduct() const
{
    PaperChoice paper;
    try {
        paper = Paper();
    } catch (const EQdPrinterNoSpooler &) {
        throw;
    } catch (const EQdPrinterNoPrinter &) {
        return QString();
    }
    return paper.plainPaper() || ProductOf(paper) ? QString() : paper.product;
}

bool JacketPrinting::StoredPaperFound() const
{
    const QString missing = MissingProduct();
    if (missing.isEmpty())
        return true;
    Messages::ShowMessage(
        QCoreApplication::translate("TForm1", "このプリンタに選んである用紙「%1」が、ラベル用紙のデータベースに見つかりません（削除されたか、名前が変わったか、データベースが入っていません）。")
            .arg(missing)
        + u'\r'
        + QCoreApplication::translate("TForm1", "普通紙に印刷しないよう、ここで止めます。「ファイル」の「用紙の選択」で用紙を選び直してください（普通紙に印刷するときは「普通紙」を選びます）。"));
    return false;
}

bool JacketPrinting::SheetIsLargeEnough(PageFaces face) const
{
    const QSize sheet = m_printer.GetPaperSize();
    if (face != PageFaces::Back)
        return sheet.width() >= kFrontMinimum && sheet.height() >= kFrontMinimum;
    if (!m_printer.GetAvailableFields().contains(QdField::Orientation))
        return true;
    if (m_printer.GetOrientation() == 1)
        return sheet.width() >= kBackShortSide && sheet.height() >= kBackLongSide;
    return sheet.width() >= kBackLongSide && sheet.height() >= kBackShortSide;
}

bool JacketPrinting::PaperHoldsThePage(PageFaces faces, FaceMarks marks) const
{
    if (const LabelProduct *product = Product()) {
        const bool both = faces == PageFaces::BothOnOneSheet;
        if (!LabelProducts::FitJacket(*product).holds(FaceKinds::onPage(faces))) {
            const QString notice =
                both                        ? QCoreApplication::translate("TForm1", "用紙「%1」には表と裏を1枚に印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。")
                : faces == PageFaces::Front ? QCoreApplication::translate("TForm1", "用紙「%1」には表を印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。")
                : faces == PageFaces::Back  ? QCoreApplication::translate("TForm1", "用紙「%1」には裏を印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。")
                : faces == PageFaces::Obi   ? QCoreApplication::translate("TForm1", "帯は普通紙にだけ印刷できます。用紙「%1」には帯を印刷する場所がありません。「ファイル」の「用紙の選択」で普通紙を選んでください。")
                                            : QCoreApplication::translate("TForm1", "用紙「%1」にはレーベルを印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。");
            Messages::ShowMessage(notice.arg(product->name()));
            return false;
        }
        return true;
    }
    // A label fits any sheet that holds a front; a tray's page holds its disc.
    bool sheetHoldsIt = true;
    if (faces == PageFaces::BothOnOneSheet) {
        sheetHoldsIt = SheetPlacement::OnOneSheet(Sheet(), FaceKinds::onPage(faces), marks).has_value();
    } else if (faces == PageFaces::Label) {
        const QSize sheet = m_printer.GetPaperSize();  // tenths of a millimetre
        const int across = int(FaceKinds::row(FaceKindId::Disc).ringOuterMm * 10);
        sheetHoldsIt = m_printer.GetDiscTray() || (sheet.width() >= across && sheet.height() >= across);
    } else if (faces == PageFaces::Obi) {
        const QSize sheet = m_printer.GetPaperSize();  // tenths of a millimetre
        const QSizeF strip = FaceKinds::row(FaceKindId::Obi).millimetres() * 10;
        sheetHoldsIt = sheet.width() >= strip.width() && sheet.height() >= strip.height();
    } else {
        sheetHoldsIt = SheetIsLargeEnough(faces);
    }
    if (!sheetHoldsIt)
        Messages::ShowMessage(QCoreApplication::translate("TForm1", "紙が小さすぎます。"));
    return sheetHoldsIt;
}

// Pre-cut paper is laid out on its own sheet: on other paper in the
// printer the faces would land off its labels.
bool JacketPrinting::PaperIsTheProducts() const
{
    const LabelProduct *product = Product();
    if (!product)
        return true;
    constexpr double kSlackMm = 2;
    const QSizeF paper = QSizeF(m_printer.GetPaperSize()) / 10;
    if (qAbs(paper.width() - product->sheet.width()) <= kSlackMm && qAbs(paper.height() - product->sheet.height()) <= kSlackMm)
        return true;
    return Messages::ConfirmWarning(QCoreApplication::translate("TForm1", "用紙「%1」は %2 の紙ですが、プリンタの用紙は %3 です。ラベルの位置に印刷されません。")
                                        .arg(product->name(), PaperName(product->sheet), PaperName(paper))
                                        + u'\r' + QCoreApplication::translate("TForm1", "「プリンタ設定」で用紙を合わせてください。"),
                                    QCoreApplication::translate("TForm1", "印刷する(&P)"), QCoreApplication::translate("TForm1", "やめる(&C)"));
}

std::optional<DiscTrays::Choice> JacketPrinting::DiscTrayChoice() const
{
    if (Product())
        return std::nullopt;
    return DiscTrayChoiceOf(m_printer, Paper().discRing());
}

std::optional<DiscTrays::Choice> JacketPrinting::DiscTrayChoiceOf(TQdPrinter &printer, const DiscRing &ring)
{
    const std::optional<DiscTrays::Tray> &tray = printer.GetDiscTray();
    if (!tray)
        return std::nullopt;
    return DiscTrays::Choose(*tray, ring.outerMm, ring.innerMm);
}

QPageLayout JacketPrinting::DiscTraySheet(const QPageSize &tray) { return QPageLayout(tray, QPageLayout::Portrait, QMarginsF()); }

JacketPrinting::DiscTray::DiscTray(const JacketPrinting &printing, PageFaces faces)
    : m_printer(printing.m_printer)
{
    if (faces != PageFaces::Label)
        return;
    const std::optional<DiscTrays::Choice> tray = printing.DiscTrayChoice();
    if (!tray)
        return;
    QPrinter &printer = m_printer.PlatformPrinter();
    m_options = m_printer.GetDriverOptions();
    // The tray's options in place of the destination's of the same name
    // (a slot chosen in the set-up dialog).
    DiscTrays::Options options;
    for (const auto &option : std::as_const(m_options)) {
        const auto same = [&option](const auto &ours) { return ours.first == option.first; };
        if (std::none_of(tray->options.cbegin(), tray->options.cend(), same))
            options << option;
    }
    m_paper = printer.pageLayout();
    printer.setPageLayout(DiscTraySheet(tray->page));
    m_printer.SetDriverOptions(options + tray->options);
}

JacketPrinting::DiscTray::~DiscTray()
{
    if (!m_paper)
        return;
    try {
        m_printer.PlatformPrinter().setPageLayout(*m_paper);
        m_printer.SetDriverOptions(m_options);
    } catch (const Exception &) {
        // The destination went meanwhile: the next one comes with its own.
    }
}

PlannedPage JacketPrinting::Plan(const Jacket &jacket, PageFaces faces, TJacketLayout &layout, TBigBitmap &spine) const
{
    PageRequest request;
    request.jacket = jacket;
    request.faces = faces;
    request.sheet = Sheet();
    request.correction = Correction();
    request.scalePercent = m_printer.GetScale();
    const PaperChoice paper = Paper();
    if (const LabelProduct *product = ProductOf(paper)) {
        request.product = LabelProducts::FitJacket(*product);
        request.frontPosition = paper.frontPosition - 1;
        request.backPosition = paper.backPosition - 1;
        request.discPosition = paper.discPosition - 1;
    }
    // A label printed in a disc tray: the page is the tray's (see DiscTray).
    request.discTray = faces == PageFaces::Label && !request.product && m_printer.GetDiscTray().has_value();
    if (request.discTray)
        request.discRing = paper.discRing();
    return PlanPage(request, m_printer.GetCanvas(), layout, spine);
}

std::optional<DiscTrays::Choice> JacketPrinting::trayOf(const QList<PlacedFace> &plan) const
{
    const bool label = std::any_of(plan.cbegin(), plan.cend(), [](const PlacedFace &face) { return face.kind == FaceKindId::Disc; });
    return label ? DiscTrayChoice() : std::nullopt;
}

// In a disc tray the driver prints a circle as wide as the page, centred
// on the disc: the ring is whole when the page holds it.
bool JacketPrinting::ReachesBeyond(const QList<PlacedFace> &plan) const
{
    if (const std::optional<DiscTrays::Choice> tray = trayOf(plan))
        return !tray->holdsRing;
    return SheetPlacement::ReachesBeyond(m_printer.GetCanvas(), plan, Sheet());
}

QString JacketPrinting::BeyondReachNotice(const QList<PlacedFace> &plan) const
{
    if (const std::optional<DiscTrays::Choice> tray = trayOf(plan))
        return DiscTrays::RingTooWideNotice(*tray, Paper().discOuterMm);
    return SheetPlacement::BeyondReachNotice();
}

// The user may rather move the page first than lose a part of it.
bool JacketPrinting::PrintDespiteWhatIsBeyondReach(const QList<PlacedFace> &plan) const
{
    return !ReachesBeyond(plan) || Messages::ConfirmWarning(BeyondReachNotice(plan), QCoreApplication::translate("TForm1", "印刷する(&P)"), QCoreApplication::translate("TForm1", "やめる(&C)"));
}

void JacketPrinting::PrintPage(const QList<PlacedFace> &plan, const TBigBitmap &spine) const
{
    m_printer.BeginDoc(QCoreApplication::translate("TForm1", "印刷中"));
    SheetPlacement::DrawFaces(m_printer.GetCanvas(), plan, spine);
    // One page per job: copies use one sheet each.
    m_printer.EndDoc();
}

void JacketPrinting::PrintCopies(int copies, const QList<PlacedFace> &plan, const TBigBitmap &spine) const
{
    // Jobs of as many copies as the printer makes in one, and one of the rest.
    int most = 0;
    bool counted = copiesTaken([&] { most = m_printer.GetMaxCopies(); });
    if (counted) {
        QList<int> jobs = copies > most ? QList<int>(copies / most, most) : QList<int>{copies};
        if (copies > most && copies % most > 0)
            jobs << copies % most;
        for (qsizetype i = 0; counted && i < jobs.size(); ++i) {
            if (i == 0 || jobs[i] != jobs[i - 1])
                counted = copiesSet(m_printer, jobs[i]);
            if (counted)
                PrintPage(plan, spine);
        }
        counted = counted && copiesSet(m_printer, 1);
    }
    if (counted)
        return;
    // The printer's own count, in one job.
    Messages::ShowMessage(QCoreApplication::translate("TForm1", "お使いのプリンタが最大印刷部数を提供してくれませんでした。") + u'\r'
                          + QCoreApplication::translate("TForm1", "%1の部数設定は破棄し、プリンタ側の部数設定で印刷します。").arg(AppName()));
    PrintPage(plan, spine);
}

void JacketPrinting::UsePaperPositions(PageFaces faces) const
{
    const LabelProduct *product = Product();
    // A product for this run changes no settings.
    if (!product || !m_productForThisRun.isEmpty())
        return;
    const QString destination = m_printer.PlatformPrinter().printerName();
    const ProductFit fit = LabelProducts::FitJacket(*product);
    PaperChoice paper = PaperChoices::load(destination);
    for (const FaceKindId kind : FaceKinds::onPage(faces)) {
        int &position = paper.position(kind);
        const qsizetype count = fit.places(kind).size();
        position = count > 0 ? position % int(count) + 1 : 1;
    }
    // Else the next print would go to a label already used.
    if (QString why; !PaperChoices::save(destination, paper, &why))
        Messages::ShowWarning(QCoreApplication::translate("TForm1", "次に印刷するラベルの位置を設定ファイル Pelora.ini に書き込めませんでした（%1）。"
                                 "次に印刷する前に「用紙の選択」で位置を確かめてください。")
                                  .arg(why));
}

bool JacketPrinting::Print(const Jacket &jacket, PageFaces faces, Steps &steps) const
{
    if (!CheckPrinterAndContent(!jacket.items.isEmpty()))
        return false;
    if (!StoredPaperFound() || !PaperHoldsThePage(faces, jacket.marks) || !PaperIsTheProducts())
        return false;
    const DiscTray tray(*this, faces);
    const int copies = steps.copies();
    const PlannedPage page = steps.layOut(jacket, faces);
    if (page.status == PlannedPage::TooSmallToPrint) {
        Messages::ShowMessage(QCoreApplication::translate("TForm1", "フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します"));
        return false;
    }
    if (!steps.beyondReachTold && !PrintDespiteWhatIsBeyondReach(page.faces))
        return false;
    if (steps.beforeJobs)
        steps.beforeJobs();
    PrintCopies(copies, page.faces, steps.spine);
    return true;
}
