// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/cups/DiscTrays.h"
#include "core/jacket/Jacket.h"
#include "core/layout/PagePlanner.h"
#include "core/settings/PaperChoices.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>
#include <optional>

class TBigBitmap;
class TQdPrinter;

// A jacket printed on the destination of the printer facade: the checks
// of the print commands (a printer, content, paper that holds the page, the
// product's own sheet), the layout of the page, and the copies in batches
// the printer takes in one job. The window's commands and the command
// line's --print both print through here; what the user is told or asked
// goes through Messages, so the window shows boxes and the command line
// writes to standard error.
class JacketPrinting
{
public:
    // `productForThisRun`: a product of the label database instead of the
    // one chosen for the destination (the command line's --product).
    explicit JacketPrinting(TQdPrinter &printer, QString productForThisRun = QString());

    // The destination's sheet and its print-position correction.
    SheetGeometry Sheet() const;
    PrintCorrection Correction() const;

    // The paper printed on: the product chosen for the destination (or for
    // this run), or plain paper.
    PaperChoice Paper() const;
    const LabelProduct *Product() const;
    static const LabelProduct *ProductOf(const PaperChoice &paper);
    // The destination and its paper, as the print button tells them
    // ("pelora-pdf (A4 縦)").
    QString Destination() const;

    // Whether there is a printer to print on; a message when there is none
    // (a spooler that does not answer, or a destination that cannot take
    // the job, throws in its own words).
    bool CheckPrinter() const;
    // And whether there are items to print; a message when not.
    bool CheckPrinterAndContent(bool hasItems) const;
    // The stored product's name when the label database does not have it;
    // empty for plain paper, a product it has, a product for this run, or
    // no printer at all.
    QString MissingProduct() const;
    // Whether the chosen paper is there to print on; says what to do when not.
    bool StoredPaperFound() const;
    // Whether the chosen paper has room for the faces; tells the user when not.
    bool PaperHoldsThePage(PageFaces faces, FaceMarks marks) const;
    // Whether the printer's paper is the chosen product's sheet; asks when not.
    bool PaperIsTheProducts() const;
    // How a label goes to the destination's disc tray, when its driver
    // offers one and no disc-label product is chosen for it: the page for
    // the ring set for the destination, the tray's slot.
    std::optional<DiscTrays::Choice> DiscTrayChoice() const;
    static std::optional<DiscTrays::Choice> DiscTrayChoiceOf(TQdPrinter &printer, const DiscRing &ring);
    // The sheet a disc tray's page makes: the page whole, upright.
    static QPageLayout DiscTraySheet(const QPageSize &tray);

    // While it lives, a disc label is laid out and printed in the
    // destination's disc tray (see DiscTrayChoice()): the QPrinter has the
    // tray's page and the jobs carry its options (its slot); the
    // destination gets its own paper and options back afterwards.
    class DiscTray
    {
    public:
        DiscTray(const JacketPrinting &printing, PageFaces faces);
        ~DiscTray();
        DiscTray(const DiscTray &) = delete;
        DiscTray &operator=(const DiscTray &) = delete;

    private:
        TQdPrinter &m_printer;
        std::optional<QPageLayout> m_paper;  // the destination's own, while the tray's is in
        DiscTrays::Options m_options;  // the destination's own driver options
    };

    // Lays the page of the faces out on the printer's surface; `layout`
    // and `spine` are the layout's working record and the spine picture.
    PlannedPage Plan(const Jacket &jacket, PageFaces faces, TJacketLayout &layout, TBigBitmap &spine) const;
    // A part of the page beyond the printer's reach: whether there is one,
    // what to tell of it, and whether to print all the same (asked before
    // any paper is used). In a disc tray, a ring wider than the tray takes.
    bool ReachesBeyond(const QList<PlacedFace> &plan) const;
    QString BeyondReachNotice(const QList<PlacedFace> &plan) const;
    bool PrintDespiteWhatIsBeyondReach(const QList<PlacedFace> &plan) const;

    // The page in one job (titled "印刷中"), as many copies as set.
    void PrintPage(const QList<PlacedFace> &plan, const TBigBitmap &spine) const;
    // The copies in jobs of as many as the printer makes in one; when it
    // tells no maximum, says so and prints one job of its own count.
    void PrintCopies(int copies, const QList<PlacedFace> &plan, const TBigBitmap &spine) const;
    // Printed faces take the product's positions after them next time.
    void UsePaperPositions(PageFaces faces) const;

    // What the print command does around its steps.
    struct Steps
    {
        // The number of copies, read once the paper is checked.
        std::function<int()> copies;
        // Lays the page out (with Plan), making the spine pictures in `spine`.
        std::function<PlannedPage(const Jacket &jacket, PageFaces faces)> layOut;
        const TBigBitmap &spine;
        // Right before the jobs go (a driver may take the program down).
        std::function<void()> beforeJobs = {};
        // The preview has told what lies beyond the printer's reach.
        bool beyondReachTold = false;
    };
    // The print command: checks, layout, the copies. Whether it printed.
    bool Print(const Jacket &jacket, PageFaces faces, Steps &steps) const;

private:
    bool SheetIsLargeEnough(PageFaces face) const;
    std::optional<DiscTrays::Choice> trayOf(const QList<PlacedFace> &plan) const;

    TQdPrinter &m_printer;
    QString m_productForThisRun;
};
