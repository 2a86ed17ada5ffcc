// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/AppName.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class FaceMarks;
enum class PageFaces;
class QAction;
class QComboBox;
class QDropEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ItemListBox;
class LineNumbers;
class TMemo;
class TMessageHook;
class TNCPanel;
class TRadioGroup;
class TSPTimer;
class TDragItems;
class TBigBitmap;
class CoverPicture;
class JacketHistory;
class RecoveryKeeper;
struct Jacket;
struct JacketState;
struct PlacedFace;
struct PlannedPage;
class JacketPrinting;
struct TJacketLayout;

// What a line made from an audio tag gets besides the title.
struct TtagPlus
{
    bool AddArtist = true;
    bool AddTime = true;
    QString ArtistPrefix;
};

// Program-wide state. The dialogs, the layout and the preview read and write
// these directly; the main window itself holds nothing but its controls.
extern TtagPlus TagPlus;
extern QString NumberSuffix;
extern bool ConfirmDelete;
extern bool ConfirmDeleteAll;
extern bool EditorMode;
extern bool VerticalSpineText;
extern QString CurrentFileName;
extern bool HasFileName;
extern bool FirstShow;
extern TMessageHook *HookHandle;
extern TDragItems *DragItems;
// The last layout, and every face of the page last laid out, read by the
// printing and the preview.
extern TJacketLayout JacketLayout;
extern QList<PlacedFace> PagePlan;
// Keeps the layout from telling that it shrank the fonts.
extern bool SuppressShrinkNotice;
// The title turned for the spines.
extern TBigBitmap *SpineBitmap;
// The jacket's cover picture (none: the front is all text).
extern CoverPicture JacketCover;
// The program's command-line arguments, without the program's own name.
extern QStringList ProgramArguments;

class TForm1;
extern TForm1 *Form1;

// The main window: the jacket document as its controls hold it, and every
// command of the program.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Start-up, first show, resize and shut-down.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();
    void Exit1Click();

    // Editing modes and the view refresh.
    void ModeBtnClick();
    void ToEditorMode();
    void ToListMode();
    void CopyListToEditor();
    // The items as the editor's lines, each ended by a line break.
    void ShowInEditor(const QStringList &items);
    void CopyEditorToList();
    void RefreshView();
    void HenshuMeClick();
    void ListBox1Click();
    void Memo1Click();
    void Memo1DblClick();
    void Memo1MouseUp(Qt::MouseButton button);
    void Memo1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void SPTimerTimer();
    void AppMessage(QObject *receiver, QEvent *event);

    // Item list commands.
    void BlankBtnClick();
    void DelBtnClick();
    void AllDelbtnClick();
    bool JacketIsEmpty() const;
    void ClearDocument();
    void BtnUPClick();
    void BtnDownClick();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void ListBox1KeyDown(int key, Qt::KeyboardModifiers modifiers);

    // The jacket's history: undo and redo of every change, and whether it
    // changed since it was opened, saved or made new.
    void SetUpHistory();
    JacketState CurrentJacket() const;
    // The jacket as the controls show it now: its content, from the control
    // of the current mode, and the choices that shape the print.
    Jacket ShownJacket() const;
    // Shows a jacket's title and items in the control of the current mode.
    void ShowContent(const Jacket &jacket);
    void ShowJacket(const JacketState &state);
    void ShowLines(const QStringList &lines);
    bool JacketChanged() const;
    // Asks whether to save a changed jacket before it goes; false when the
    // user would rather keep it (キャンセル, or a Save that did not happen).
    bool MaySetJacketAside();
    // Recovery copies while the jacket has unsaved changes; the offer of a
    // copy a run left behind, and whether it was restored.
    void SetUpRecovery();
    bool OfferLeftCopies();
    // Starts a run that restores the left copy of that slot (tests replace it).
    static std::function<void(const QString &slot)> RestoreInNewWindow;

    // Drag reordering and the one-row edit dialog.
    bool ListBox1DragOver(QObject *source);
    void ListBox1DragDrop(QObject *source, int X, int Y);
    void ListBox1DblClick();

    // Files dropped from the desktop.
    void WMDropFiles(const QStringList &paths);
    static QStringList DroppedFiles(const QDropEvent *event);
    bool FileDropEvent(QObject *receiver, QEvent *event);

    // Jacket documents.
    void New1Click();
    void Open1Click();
    void ImportCdClick();
    // Whether the user lets a disc's identity go to MusicBrainz; asked once.
    bool LookupAllowed();
    void SetUpLookupConsent();
    void Save1Click();
    void SaveAs1Click();
    bool WriteDocument(const QString &path);
    bool ReadDocument(const QString &path);
    void OpenCommandLineDocument();

    // The cover picture, kept beside the document (defined with the file
    // commands).
    void ChooseCoverClick();
    void RemoveCoverClick();
    void SetCover(const CoverPicture &picture);
    void ReadCoverBeside(const QString &documentPath);
    void TakeAlbumArt(const QStringList &droppedPaths);

    // Layout and printing, through the printer facade's destination. A page
    // holds the selected face alone at the sheet's corner, or both faces on
    // one sheet.
    static JacketPrinting Printing();
    // Lays the jacket out into JacketLayout, PagePlan and SpineBitmap, and
    // shows in the size boxes what the layout took.
    PlannedPage LayOut(const Jacket &jacket, PageFaces faces);
    void ComputeLayout(PageFaces faces);  // the jacket the controls show
    // The face the jacket-face box (表 / 裏) chooses.
    PageFaces ChosenFace() const;
    // A part of the page beyond the printer's reach, told (the preview).
    void TellWhatIsBeyondReach();
    // Whether the print commands have a destination; a message when not.
    bool CheckPrinter();
    // The destination and paper the print commands use ("pelora-pdf (A4 縦)").
    QString PrintDestination();
    // Tells it on the 印刷 button, or what keeps it from printing.
    void ShowPrintDestination();
    bool CheckPrinterAndContent();
    void Button1Click(QObject *sender);
    void Print1Click();
    void OneSheetPrintClick(QObject *sender);
    void LabelPrintClick(QObject *sender);
    void LabelPreviewClick();
    void ObiPrintClick(QObject *sender);
    void ObiPreviewClick();
    void showPreview(PageFaces faces, bool wholeSheet);
    void PrintPages(QObject *sender, PageFaces faces);
    void PreVBtnClick();
    void OneSheetPreviewClick();

    // Printer set-up, options and about (defined with their dialogs).
    void U1Click();
    void O2Click();
    void PrintPositionClick();
    void ManualMeClick();
    void About1Click();

    // The caption for the current mode.
    void UpdateCaption();

    // Client area (below the menu bar) and its controls.
    QWidget *Client;
    QLabel *Labelti;
    QLineEdit *EditTi;
    QLabel *Label3;
    ItemListBox *ListBox1;
    TMemo *Memo1;
    LineNumbers *MemoNum;
    TNCPanel *ItemMovePnl;
    QPushButton *BtnUP;
    QPushButton *BtnDown;
    TNCPanel *FuncPanel;
    QGroupBox *GPBoxF;
    QLabel *Label1;
    QLabel *Label2;
    QComboBox *ComboTFS;
    QComboBox *comboFS;
    TRadioGroup *RGTwoSides;
    QLabel *Label4;
    QComboBox *ComboBusuu;
    QPushButton *ModeBtn;
    TNCPanel *ListFuncPanel;
    QPushButton *BlankBtn;
    QPushButton *DelBtn;
    QPushButton *AllDelbtn;
    QPushButton *PreVBtn;
    QPushButton *Button1;

    // Main menu.
    QMenu *File1;
    QAction *New1;
    QAction *Open1;
    QAction *ImportCdMe;
    QAction *LookupMe;
    QAction *Save1;
    QAction *SaveAs1;
    QAction *ChooseCoverMe;
    QAction *RemoveCoverMe;
    QAction *U1;
    QAction *PreViewMe;
    QAction *Print1;
    QAction *OneSheetPreviewMe;
    QAction *OneSheetPrintMe;
    QAction *Exit1;
    QMenu *HenshuMe;
    QAction *ModeMe;
    QAction *BlankMe;
    QAction *DeleteMe;
    QAction *AllDelMe;
    QAction *UndoMe;
    QAction *RedoMe;
    QMenu *O1;
    QAction *n1;
    QAction *AcqTag;
    QAction *PlusNum;
    QAction *CoverArtMe;
    // How plain paper shows where to cut, one of three.
    QMenu *MarksMe;
    QAction *MarksDashedMe;
    QAction *MarksCropMe;
    QAction *MarksNoneMe;
    FaceMarks ChosenMarks() const;
    void SetMarks(FaceMarks marks);
    // The paper of the current destination: a pre-cut product, or plain paper.
    QAction *PaperMe;
    QAction *DiscAreaMe;
    QAction *LabelPreviewMe;
    QAction *LabelPrintMe;
    QAction *ObiPreviewMe;
    QAction *ObiPrintMe;
    void PaperClick();
    // Whether the chosen paper has room for the faces; tells the user when not.
    bool PaperHoldsThePage(PageFaces faces);
    void DiscAreaClick();
    QAction *PrintPositionMe;
    QAction *O2;
    QMenu *Help1;
    QAction *ManualMe;
    QAction *About1;

    TSPTimer *SPTimer;
    JacketHistory *History = nullptr;
    RecoveryKeeper *Recovery = nullptr;  // the shown window's only

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenu();
    void connectEvents();
    void fitNumberColumn();
    int numberColumnWidth(int highestNumber) const;
    void updateNumberColumnWidth(int highestNumber);
    // The list's one-row upward scroll request, as its scroll bar's up arrow
    // sends it; the refresh follows through the hook.
    void sendListLineUp();
    void moveSelectedRows(bool up);
};
