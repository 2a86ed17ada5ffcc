// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/MainWindow.h"

#include "gui/mainwindow/Controls.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/widgets/MessageHook.h"
#include "gui/widgets/NCPanel.h"
#include "gui/mainwindow/ProgramSettings.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/SPTimer.h"
#include "gui/app/Application.h"
#include "core/layout/Fonts.h"
#include "core/common/Messages.h"
#include "gui/widgets/OneLineEdit.h"
#include "core/jacket/CoverPicture.h"
#include "core/intake/PlayMp3.h"
#include "core/layout/JacketLayout.h"
#include "core/bitmap/BigBitmap.h"
#include "printer/QdPrinters.h"
#include "gui/widgets/DragItems.h"
#include "gui/mainwindow/JacketHistory.h"
#include "core/jacket/RecoveryKeeper.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

TtagPlus TagPlus;
QString NumberSuffix;
bool ConfirmDelete = true;
bool ConfirmDeleteAll = true;
bool EditorMode = false;
bool VerticalSpineText = false;
QString CurrentFileName;
bool HasFileName = false;
bool FirstShow = true;
TMessageHook *HookHandle = nullptr;
TDragItems *DragItems = nullptr;
QStringList ProgramArguments;
TForm1 *Form1 = nullptr;

namespace {

QStringList numberItems(int count)
{
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << QString::number(i);
    return items;
}

QComboBox *makeCombo(const QString &text, QWidget *parent, int left, int top)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    KeepOneLine(combo->lineEdit());
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(numberItems(50));
    combo->setCurrentText(text);
    combo->setGeometry(left, top, 57, combo->sizeHint().height());
    return combo;
}

// The list's rows and the lines of the editor and of the number column are
// this far apart, so that every number stands level with its row. The
// face's own line spacing (17 px, more with a fallback face) is not it.
constexpr int kLinePitch = 16;

constexpr int kNumberColumnWidth = 33;
constexpr int kListLeft = 90;

}  // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setFont(Fonts::uiFont(Fonts::WindowPixelSize));
    createMenu();
    createControls();
    connectEvents();
    move(193, 107);
    resize(637, 480);
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
    // Its steps go while the window they show things in is still whole.
    delete Recovery;
    Recovery = nullptr;
    delete History;
    History = nullptr;
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::createMenu()
{
    QMenuBar *bar = menuBar();
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto addCheckItem = [&](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = addItem(menu, name, caption);
        action->setCheckable(true);
        action->setChecked(true);
        return action;
    };

    File1 = bar->addMenu(tr("ファイル(&F)"));
    File1->setObjectName(QStringLiteral("File1"));
    New1 = addItem(File1, "New1", tr("新規作成(&N)"));
    Open1 = addItem(File1, "Open1", tr("開く(&O)"));
    ImportCdMe = addItem(File1, "ImportCdMe", tr("CDから曲目を読み込む(&T)…"));
    Save1 = addItem(File1, "Save1", tr("上書き保存(&S)"));
    SaveAs1 = addItem(File1, "SaveAs1", tr("名前を付けて保存(&A)"));
    ChooseCoverMe = addItem(File1, "ChooseCoverMe", tr("表紙の画像を選ぶ(&I)…"));
    RemoveCoverMe = addItem(File1, "RemoveCoverMe", tr("表紙の画像を外す(&R)"));
    RemoveCoverMe->setEnabled(false);
    File1->addSeparator()->setObjectName(QStringLiteral("N3"));
    U1 = addItem(File1, "U1", tr("プリンタ設定(&U)"));
    PaperMe = addItem(File1, "PaperMe", tr("用紙の選択(&L)…"));
    DiscAreaMe = addItem(File1, "DiscAreaMe", tr("プリンタブルディスクの印刷範囲(&D)…"));
    PreViewMe = addItem(File1, "PreViewMe", tr("プレビュー(&V)"));
    Print1 = addItem(File1, "Print1", tr("印刷(&P)"));
    OneSheetPreviewMe = addItem(File1, "OneSheetPreviewMe", tr("表と裏を1枚でプレビュー(&B)"));
    OneSheetPrintMe = addItem(File1, "OneSheetPrintMe", tr("表と裏を1枚に印刷(&W)"));
    LabelPreviewMe = addItem(File1, "LabelPreviewMe", tr("レーベルをプレビュー(&E)"));
    LabelPrintMe = addItem(File1, "LabelPrintMe", tr("レーベルを印刷(&K)"));
    ObiPreviewMe = addItem(File1, "ObiPreviewMe", tr("帯をプレビュー(&G)"));
    ObiPrintMe = addItem(File1, "ObiPrintMe", tr("帯を印刷(&H)"));
    File1->addSeparator()->setObjectName(QStringLiteral("N2"));
    Exit1 = addItem(File1, "Exit1", tr("終了(&X)"));

    HenshuMe = bar->addMenu(tr("編集(&E)"));
    HenshuMe->setObjectName(QStringLiteral("HenshuMe"));
    ModeMe = addItem(HenshuMe, "ModeMe", tr("編集モード切替(&M)"));
    HenshuMe->addSeparator()->setObjectName(QStringLiteral("N4"));
    BlankMe = addItem(HenshuMe, "BlankMe", tr("白紙の一行を追加(&B)"));
    DeleteMe = addItem(HenshuMe, "DeleteMe", tr("削除(&D)"));
    AllDelMe = addItem(HenshuMe, "AllDelMe", tr("全て削除(&A)"));
    HenshuMe->addSeparator()->setObjectName(QStringLiteral("N5"));
    UndoMe = addItem(HenshuMe, "UndoMe", tr("元に戻す(&U)"));
    RedoMe = addItem(HenshuMe, "RedoMe", tr("やり直し(&R)"));

    // The keys every editor has, the same on every desktop.
    New1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Print1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    UndoMe->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoMe->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    O1 = bar->addMenu(tr("クイックオプション(&Q)"));
    O1->setObjectName(QStringLiteral("O1"));
    n1 = addCheckItem(O1, "n1", tr("ファイル追加時に拡張子を除く(&E)"));
    AcqTag = addCheckItem(O1, "AcqTag", tr("ファイル追加時にタグ情報を取得(&T)"));
    PlusNum = addCheckItem(O1, "PlusNum", tr("印刷時に番号を付ける(&N)"));
    CoverArtMe = addCheckItem(O1, "CoverArtMe", tr("アルバムアートを表紙に使う(&A)"));
    LookupMe = addCheckItem(O1, "LookupMe", tr("MusicBrainz で曲名を調べる(&M)"));
    O1->addSeparator();
    MarksMe = O1->addMenu(tr("切り取りの目印(&K)"));
    MarksMe->setObjectName(QStringLiteral("MarksMe"));
    auto *marks = new QActionGroup(MarksMe);
    MarksDashedMe = addItem(MarksMe, "MarksDashedMe", tr("切り取り線(&D)"));
    MarksCropMe = addItem(MarksMe, "MarksCropMe", tr("トンボ(&C)"));
    MarksNoneMe = addItem(MarksMe, "MarksNoneMe", tr("なし(&N)"));
    for (QAction *action : {MarksDashedMe, MarksCropMe, MarksNoneMe}) {
        action->setCheckable(true);
        marks->addAction(action);
    }
    MarksDashedMe->setChecked(true);
    PrintPositionMe = addItem(O1, "PrintPositionMe", tr("印刷位置の調整(&C)…"));

    O2 = bar->addAction(tr("オプション(&O)"));
    O2->setObjectName(QStringLiteral("O2"));

    Help1 = bar->addMenu(tr("ヘルプ(&H)"));
    Help1->setObjectName(QStringLiteral("Help1"));
    ManualMe = addItem(Help1, "ManualMe", tr("マニュアル(&M)"));
    ManualMe->setShortcut(QKeySequence::HelpContents);
    About1 = addItem(Help1, "About1", tr("バージョン情報(&A)"));
}

void TForm1::createControls()
{
    Client = new QWidget(this);
    Client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(Client);
    const QFont contentFont = Fonts::uiFont(Fonts::ContentPixelSize);

    Labelti = Controls::label(tr("タイトル"), Client, 8, 3);
    EditTi = new QLineEdit(Client);
    KeepOneLine(EditTi);
    EditTi->setFont(contentFont);
    EditTi->setGeometry(56, 0, 409, 24);

    Label3 = Controls::label(tr("内容"), Client, 16, 25);

    ListBox1 = new ItemListBox(Client);
    ListBox1->setFont(contentFont);
    ListBox1->setRowPitch(kLinePitch);
    ListBox1->setGeometry(kListLeft, 27, 369, 377);

    Memo1 = new TMemo(Client);
    Memo1->setFont(contentFont);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setGeometry(kListLeft, 26, 369, 377);
    Memo1->hide();

    // The editor stands 1 px higher than the list; its first line starts
    // level with the list's first row all the same.
    Memo1->setLineGrid(kLinePitch, ListBox1->y() + ListBox1->frameWidth() - Memo1->y() - Memo1->frameWidth());

    MemoNum = new LineNumbers(Client);
    MemoNum->setFont(contentFont);
    MemoNum->setEnabled(false);
    MemoNum->setGeometry(56, 26, kNumberColumnWidth, 377);
    MemoNum->follow(ListBox1);

    ItemMovePnl = new TNCPanel(Client, false);
    ItemMovePnl->setGeometry(11, 48, 33, 321);
    BtnUP = Controls::button(QStringLiteral("↑"), ItemMovePnl, 0, 64, 33, 33);
    BtnDown = Controls::button(QStringLiteral("↓"), ItemMovePnl, 0, 240, 33, 33);

    FuncPanel = new TNCPanel(Client);
    FuncPanel->setFocusPolicy(Qt::TabFocus);
    FuncPanel->setGeometry(472, 0, 153, 369);

    GPBoxF = new QGroupBox(tr("フォントサイズ"), FuncPanel);
    GPBoxF->setGeometry(8, 8, 137, 73);
    Label1 = Controls::label(tr("タイトル"), GPBoxF, 9, 19);
    Label2 = Controls::label(tr("内容"), GPBoxF, 73, 19);
    ComboTFS = makeCombo(QStringLiteral("17"), GPBoxF, 8, 40);
    comboFS = makeCombo(QStringLiteral("14"), GPBoxF, 72, 40);

    RGTwoSides = new TRadioGroup(tr("ジャケット面"), {tr("表"), tr("裏")}, FuncPanel);
    RGTwoSides->setGeometry(8, 88, 137, 73);
    RGTwoSides->setItemIndex(0);

    Label4 = Controls::label(tr("印刷部数"), FuncPanel, 17, 179);
    ComboBusuu = makeCombo(QStringLiteral("1"), FuncPanel, 80, 173);

    ModeBtn = Controls::button(tr("編集モード切替"), FuncPanel, 16, 208, 121, 33);
    QPalette black = ModeBtn->palette();
    black.setColor(QPalette::ButtonText, Qt::black);
    ModeBtn->setPalette(black);
    ModeBtn->setFont(Fonts::uiFont(Fonts::WindowPixelSize));

    ListFuncPanel = new TNCPanel(FuncPanel, false);
    ListFuncPanel->setFocusPolicy(Qt::TabFocus);
    ListFuncPanel->setGeometry(8, 248, 137, 41);
    BlankBtn = Controls::button(tr("白紙の１行を追加"), ListFuncPanel, 8, 0, 121, 33);

    DelBtn = Controls::button(tr("削除"), FuncPanel, 16, 288, 121, 33);
    AllDelbtn = Controls::button(tr("全て削除"), FuncPanel, 16, 328, 121, 33);

    PreVBtn = Controls::button(tr("プレビュー"), Client, 472, 376, 73, 49);
    Button1 = Controls::button(tr("印刷"), Client, 552, 376, 73, 49);

    SPTimer = new TSPTimer(this);

    // Object names are the control names, so that tests and tools can find them.
    const std::pair<QObject *, const char *> names[] = {
        {Labelti, "Labelti"}, {EditTi, "EditTi"}, {Label3, "Label3"}, {ListBox1, "ListBox1"},
        {Memo1, "Memo1"}, {MemoNum, "MemoNum"}, {ItemMovePnl, "ItemMovePnl"}, {BtnUP, "BtnUP"},
        {BtnDown, "BtnDown"}, {FuncPanel, "FuncPanel"}, {GPBoxF, "GPBoxF"}, {Label1, "Label1"},
        {Label2, "Label2"}, {ComboTFS, "ComboTFS"}, {comboFS, "comboFS"}, {RGTwoSides, "RGTwoSides"},
        {Label4, "Label4"}, {ComboBusuu, "ComboBusuu"}, {ModeBtn, "ModeBtn"},
        {ListFuncPanel, "ListFuncPanel"}, {BlankBtn, "BlankBtn"}, {DelBtn, "DelBtn"},
        {AllDelbtn, "AllDelbtn"}, {PreVBtn, "PreVBtn"}, {Button1, "Button1"}, {SPTimer, "SPTimer"},
    };
    for (const auto &[object, name] : names)
        object->setObjectName(QLatin1String(name));
}

void TForm1::connectEvents()
{
    Client->installEventFilter(this);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(ModeBtn, &QPushButton::clicked, this, &TForm1::ModeBtnClick);
    connect(ModeMe, &QAction::triggered, this, &TForm1::ModeBtnClick);
    connect(HenshuMe, &QMenu::aboutToShow, this, &TForm1::HenshuMeClick);
    connect(ListBox1, &QListWidget::clicked, this, &TForm1::ListBox1Click);
    connect(Memo1, &TMemo::clicked, this, &TForm1::Memo1Click);
    connect(Memo1, &TMemo::doubleClicked, this, &TForm1::Memo1DblClick);
    connect(Memo1, &TMemo::mouseUp, this, &TForm1::Memo1MouseUp);
    connect(Memo1, &TMemo::keyDown, this, &TForm1::Memo1KeyDown);
    connect(SPTimer, &QTimer::timeout, this, &TForm1::SPTimerTimer);
    // After the change that added or removed the rows, not inside it.
    connect(MemoNum, &LineNumbers::countMayHaveChanged, this, &TForm1::fitNumberColumn, Qt::QueuedConnection);

    connect(BlankBtn, &QPushButton::clicked, this, &TForm1::BlankBtnClick);
    connect(BlankMe, &QAction::triggered, this, &TForm1::BlankBtnClick);
    connect(DelBtn, &QPushButton::clicked, this, &TForm1::DelBtnClick);
    connect(DeleteMe, &QAction::triggered, this, &TForm1::DelBtnClick);
    connect(AllDelbtn, &QPushButton::clicked, this, &TForm1::AllDelbtnClick);
    connect(AllDelMe, &QAction::triggered, this, &TForm1::AllDelbtnClick);
    connect(New1, &QAction::triggered, this, &TForm1::New1Click);
    connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(ImportCdMe, &QAction::triggered, this, &TForm1::ImportCdClick);
    connect(Save1, &QAction::triggered, this, &TForm1::Save1Click);
    connect(SaveAs1, &QAction::triggered, this, &TForm1::SaveAs1Click);
    connect(ChooseCoverMe, &QAction::triggered, this, &TForm1::ChooseCoverClick);
    connect(RemoveCoverMe, &QAction::triggered, this, &TForm1::RemoveCoverClick);
    connect(O2, &QAction::triggered, this, &TForm1::O2Click);
    // The commands that reach the printer can end with the facade's
    // exceptions; they are shown before they could pass through Qt.
    connect(Button1, &QPushButton::clicked, this, [this] { RunHandler([this] { Button1Click(Button1); }); });
    connect(Print1, &QAction::triggered, this, [this] { RunHandler([this] { Print1Click(); }); });
    connect(PreVBtn, &QPushButton::clicked, this, [this] { RunHandler([this] { PreVBtnClick(); }); });
    connect(PreViewMe, &QAction::triggered, this, [this] { RunHandler([this] { PreVBtnClick(); }); });
    connect(OneSheetPreviewMe, &QAction::triggered, this, [this] { RunHandler([this] { OneSheetPreviewClick(); }); });
    connect(OneSheetPrintMe, &QAction::triggered, this,
            [this] { RunHandler([this] { OneSheetPrintClick(OneSheetPrintMe); }); });
    connect(U1, &QAction::triggered, this, [this] { RunHandler([this] { U1Click(); }); });
    connect(PrintPositionMe, &QAction::triggered, this, [this] { RunHandler([this] { PrintPositionClick(); }); });
    connect(PaperMe, &QAction::triggered, this, [this] { RunHandler([this] { PaperClick(); }); });
    connect(DiscAreaMe, &QAction::triggered, this, [this] { RunHandler([this] { DiscAreaClick(); }); });
    connect(LabelPreviewMe, &QAction::triggered, this, [this] { RunHandler([this] { LabelPreviewClick(); }); });
    connect(LabelPrintMe, &QAction::triggered, this, [this] { RunHandler([this] { LabelPrintClick(LabelPrintMe); }); });
    connect(ObiPreviewMe, &QAction::triggered, this, [this] { RunHandler([this] { ObiPreviewClick(); }); });
    connect(ObiPrintMe, &QAction::triggered, this, [this] { RunHandler([this] { ObiPrintClick(ObiPrintMe); }); });
    connect(ManualMe, &QAction::triggered, this, &TForm1::ManualMeClick);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(BtnUP, &QPushButton::clicked, this, &TForm1::BtnUPClick);
    connect(BtnDown, &QPushButton::clicked, this, &TForm1::BtnDownClick);
    connect(ListBox1, &ItemListBox::keyDown, this, &TForm1::ListBox1KeyDown);
    connect(ListBox1, &ItemListBox::doubleClickedAnywhere, this, &TForm1::ListBox1DblClick);
    ListBox1->onDragOver = [this](QObject *source) { return ListBox1DragOver(source); };
    ListBox1->onDragDrop = [this](QObject *source, int x, int y) { ListBox1DragDrop(source, x, y); };
}

void TForm1::FormCreate()
{
    // A new window starts without a cover picture.
    JacketCover = CoverPicture();
    // 1. The application-wide filter that sees wheel turns.
    qApp->installEventFilter(this);
    // 2. The hook that sees scrolls and clipboard edits after the controls.
    HookHandle = new TMessageHook(this);
    // 3, 4. Data file, then settings file (saved back at once).
    ProgramSettings::ReadDataFile();
    ProgramSettings::ReadSettingsFile(*this);
    // 5. The audio tag component.
    if ((vbmp3_init() & 0xFF) == 0)
        Messages::ShowMessage(tr("初期化に失敗しました"));
    // 6. Files may be dropped anywhere on the window.
    setAcceptDrops(true);
    // 7. The layout values the preview reads before any layout.
    JacketLayout.TitleGap = 0;
    JacketLayout.TitleFontSize = 0;
    JacketLayout.ItemFontSize = 0;
    JacketLayout.TitleHeight = 0;
    // 8. Caption: the window starts in list mode; the stored mode is applied
    // at the first show. 9. Document state.
    setWindowTitle(AppName() + QStringLiteral(" - ") + tr("リストモード"));
    FirstShow = true;
    CurrentFileName = tr("無題.plr");
    HasFileName = false;
    // 10. The spine picture, drawn in tiles, and the selection snapshot.
    SpineBitmap = new TBigBitmap();
    SpineBitmap->SetDrawMode(1);
    DragItems = new TDragItems();
    // 11. The jacket's history.
    SetUpHistory();
    SetUpLookupConsent();
    // 12. A change of the printers is told on the 印刷 button, once the
    // facade has done with it.
    if (QdPrinter) {
        QdPrinter->OnChange = [this](TQdPrinter *) {
            QMetaObject::invokeMethod(this, &TForm1::ShowPrintDestination, Qt::QueuedConnection);
        };
    }
}

void TForm1::FormShow()
{
    if (!FirstShow)
        return;
    if (EditorMode)
        ToEditorMode();
    FirstShow = false;
    SetUpRecovery();
    if (Recovery->hasLeftCopies()) {
        // Asked once the window is up; a jacket a run left unsaved comes
        // back instead of the document named.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!OfferLeftCopies())
                    OpenCommandLineDocument();
            },
            Qt::QueuedConnection);
    } else {
        OpenCommandLineDocument();
    }
    // Asking the printer waits for CUPS: after the window is up.
    QMetaObject::invokeMethod(this, &TForm1::ShowPrintDestination, Qt::QueuedConnection);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TForm1::FormResize()
{
    const int W = Client->width();
    const int Hc = Client->height();
    const int extra = MemoNum->width() - kNumberColumnWidth;
    EditTi->resize(qMax(0, W - 221), EditTi->height());
    FuncPanel->move(EditTi->x() + EditTi->width() + 7, FuncPanel->y());
    const int H = qMax(0, Hc - 27);
    ListBox1->setGeometry(kListLeft + extra, ListBox1->y(), qMax(0, EditTi->width() - 34 - extra), H);
    MemoNum->resize(MemoNum->width(), H);
    PreVBtn->move(FuncPanel->x(), PreVBtn->y());
    Button1->move(PreVBtn->x() + 80, Button1->y());
    Memo1->setGeometry(ListBox1->x(), Memo1->y(), ListBox1->width(), H);
    ItemMovePnl->resize(ItemMovePnl->width(), qMax(0, H - 14));
    BtnUP->move(BtnUP->x(), H / 3 - 50);
    BtnDown->move(BtnDown->x(), 2 * (H / 3) - 17);
    RefreshView();
}

void TForm1::FormDestroy()
{
    // The run ends in order: no copy is left for the next start.
    if (Recovery)
        Recovery->discard();
    if (QdPrinter)
        QdPrinter->OnChange = nullptr;
    qApp->removeEventFilter(this);
    delete HookHandle;
    HookHandle = nullptr;
    ProgramSettings::WriteSettingsFile(*this);
    ProgramSettings::WriteDataFile();
    delete SpineBitmap;
    SpineBitmap = nullptr;
    vbmp3_close();
    if ((vbmp3_free() & 0xFF) == 0)
        Messages::ShowMessage(tr("解放に失敗しました"));
    delete DragItems;
    DragItems = nullptr;
}

void TForm1::Exit1Click() { close(); }

void TForm1::closeEvent(QCloseEvent *event)
{
    if (MaySetJacketAside())
        event->accept();
    else
        event->ignore();
}

void TForm1::UpdateCaption()
{
    // A jacket changed since it was opened, saved or made new: "*" first.
    setWindowTitle((JacketChanged() ? QStringLiteral("*") : QString()) + AppName() + QStringLiteral(" - ")
                   + (EditorMode ? tr("エディタモード") : tr("リストモード"))
                   + (JacketCover.isNull() ? QString() : tr(" - 表紙画像あり")));
}

void TForm1::fitNumberColumn() { updateNumberColumnWidth(MemoNum->count()); }

int TForm1::numberColumnWidth(int highestNumber) const
{
    // Three digits fit the designed width; from 1000 on the column widens to
    // the right and the list gives up the same room.
    const QFontMetrics metrics(MemoNum->font());
    const int needed = metrics.horizontalAdvance(QString::number(highestNumber)) + 2 * MemoNum->frameWidth() + 4;
    return qMax(kNumberColumnWidth, needed);
}

void TForm1::updateNumberColumnWidth(int highestNumber)
{
    const int width = numberColumnWidth(highestNumber);
    if (width == MemoNum->width())
        return;
    MemoNum->resize(width, MemoNum->height());
    const int extra = width - kNumberColumnWidth;
    const int listWidth = qMax(0, EditTi->width() - 34 - extra);
    ListBox1->setGeometry(kListLeft + extra, ListBox1->y(), listWidth, ListBox1->height());
    Memo1->setGeometry(kListLeft + extra, Memo1->y(), listWidth, Memo1->height());
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Client && event->type() == QEvent::Resize) {
        FormResize();
    } else if (watched == EditTi && event->type() == QEvent::FocusOut) {
        History->endTitleStay();
    } else if (FileDropEvent(watched, event)) {
        return true;
    } else if (event->type() == QEvent::Wheel) {
        AppMessage(watched, event);
    } else if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()
               && static_cast<QWidget *>(watched)->window() == this) {
        // The window sees keys before the focused control does.
        const auto *key = static_cast<QKeyEvent *>(event);
        FormKeyDown(key->key(), key->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}
