// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/OptionsDialog.h"

#include "gui/widgets/OneLineEdit.h"
#include "gui/mainwindow/Controls.h"
#include "gui/widgets/NCPanel.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

const char SampleTitle[] = QT_TRANSLATE_NOOP("TFormOP", "印刷失敗ブルース");
const char SampleArtist[] = QT_TRANSLATE_NOOP("TFormOP", "モノクロプリンターズ");
const QString SampleTime = QStringLiteral("03：99");

TFormOP::TFormOP(TForm1 *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("FormOP"));
    setWindowTitle(tr("オプション"));
    // Nothing inside follows the window's size, so the size stays as designed.
    setFixedSize(449, 405);
    move(192, 107);

    checkKa = Controls::placed<QCheckBox>(tr("ファイル追加時に拡張子を除く"), this, 16, 8, 185, 25);
    CheckBox1 = Controls::placed<QCheckBox>(tr("印刷時に番号を付ける"), this, 16, 32, 185, 25);
    CheckDelconf = Controls::placed<QCheckBox>(tr("削除する時に確認する"), this, 16, 56, 185, 25);
    CheckAlldelconf = Controls::placed<QCheckBox>(tr("全て削除する時に確認する"), this, 16, 80, 185, 25);

    NCPanel1 = new TNCPanel(this);
    NCPanel1->setFocusPolicy(Qt::TabFocus);
    NCPanel1->setGeometry(8, 120, 425, 193);
    CheckBox2 = Controls::placed<QCheckBox>(tr("ファイル追加時にタグ情報を取得する（ファイル名は捨てます）"), NCPanel1, 8, 8, 337, 25);
    CheckBox4 = Controls::placed<QCheckBox>(tr("曲長を付ける"), NCPanel1, 32, 40, 169, 25);
    CheckBox3 = Controls::placed<QCheckBox>(tr("アーティスト情報を付ける"), NCPanel1, 32, 72, 169, 17);
    Label1 = Controls::label(tr("アーティスト情報の前に付ける文字列"), NCPanel1, 32, 107);
    ComboAf = new QComboBox(NCPanel1);
    ComboAf->setEditable(true);
    KeepOneLine(ComboAf->lineEdit());
    // Typed prefixes are taken as they are: never added to the list, never
    // completed to an item.
    ComboAf->setInsertPolicy(QComboBox::NoInsert);
    ComboAf->setCompleter(nullptr);
    ComboAf->addItems({QStringLiteral("  by "), QStringLiteral("  歌："), QStringLiteral("  演奏："),
                       QStringLiteral("  うた："), QStringLiteral("  /")});
    ComboAf->setGeometry(232, 104, 97, ComboAf->sizeHint().height());
    Label3 = Controls::label(tr("サンプル"), NCPanel1, 16, 136);
    LabelSample = new QLabel(NCPanel1);
    // A typed prefix such as "<b>" must show as typed, not as markup.
    LabelSample->setTextFormat(Qt::PlainText);
    LabelSample->setGeometry(16, 152, 393, 17);
    LabelSample->setAutoFillBackground(true);
    QPalette white = LabelSample->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    LabelSample->setPalette(white);

    OkBtn = Controls::button(QStringLiteral("OK"), this, 48, 328, 137, 41);
    CancelBtn = Controls::button(tr("キャンセル"), this, 248, 328, 137, 41);

    RgDirSide = new TRadioGroup(tr("側面の文字の方向"), {tr("縱"), tr("横　（推奨）")}, this);
    RgDirSide->setGeometry(224, 8, 209, 97);
    RgDirSide->setItemIndex(1);

    const std::pair<QObject *, const char *> names[] = {
        {checkKa, "checkKa"}, {CheckBox1, "CheckBox1"}, {CheckDelconf, "CheckDelconf"},
        {CheckAlldelconf, "CheckAlldelconf"}, {NCPanel1, "NCPanel1"}, {CheckBox2, "CheckBox2"},
        {CheckBox4, "CheckBox4"}, {CheckBox3, "CheckBox3"}, {Label1, "Label1"}, {ComboAf, "ComboAf"},
        {Label3, "Label3"}, {LabelSample, "LabelSample"}, {OkBtn, "OkBtn"}, {CancelBtn, "CancelBtn"},
        {RgDirSide, "RgDirSide"},
    };
    for (const auto &[object, name] : names)
        object->setObjectName(QLatin1String(name));

    QList<QWidget *> tabOrder = {checkKa, CheckBox1, CheckDelconf, CheckAlldelconf, NCPanel1, CheckBox2,
                                 CheckBox4, CheckBox3, ComboAf, OkBtn, CancelBtn};
    for (QRadioButton *button : RgDirSide->findChildren<QRadioButton *>())
        tabOrder << button;
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // toggled rather than clicked: the sample follows the boxes however they change.
    connect(CheckBox3, &QCheckBox::toggled, this, &TFormOP::CheckBox3Click);
    connect(CheckBox4, &QCheckBox::toggled, this, &TFormOP::CheckBox4Click);
    // Fires for every keystroke as well as for a choice from the list.
    connect(ComboAf, &QComboBox::editTextChanged, this, &TFormOP::ComboAfChange);
    connect(OkBtn, &QPushButton::clicked, this, &TFormOP::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TFormOP::CancelBtnClick);

    FormCreate();
}

void TFormOP::FormCreate() { setWindowTitle(AppName() + QStringLiteral(" - ") + tr("オプション")); }

void TFormOP::FormShow()
{
    checkKa->setChecked(m_mainWindow->n1->isChecked());
    CheckBox1->setChecked(m_mainWindow->PlusNum->isChecked());
    CheckBox2->setChecked(m_mainWindow->AcqTag->isChecked());
    CheckBox3->setChecked(TagPlus.AddArtist);
    CheckBox4->setChecked(TagPlus.AddTime);
    CheckAlldelconf->setChecked(ConfirmDeleteAll);
    CheckDelconf->setChecked(ConfirmDelete);
    ComboAf->setEditText(TagPlus.ArtistPrefix);
    if (VerticalSpineText)
        RgDirSide->setItemIndex(0);
    UpdateSample();
}

void TFormOP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restoring the minimised dialog keeps what the user changed.
    if (!event->spontaneous())
        FormShow();
}

void TFormOP::UpdateSample()
{
    // Built like the line of a dropped audio file: time first, then artist.
    QString line = tr(SampleTitle);
    if (CheckBox4->isChecked())
        line += QStringLiteral("  (") + SampleTime + u')';
    if (CheckBox3->isChecked())
        line += ComboAf->currentText() + tr(SampleArtist);
    LabelSample->setText(line);
}

void TFormOP::CheckBox3Click() { UpdateSample(); }

void TFormOP::CheckBox4Click() { UpdateSample(); }

void TFormOP::ComboAfChange() { UpdateSample(); }

void TFormOP::OkBtnClick()
{
    m_mainWindow->n1->setChecked(checkKa->isChecked());
    m_mainWindow->PlusNum->setChecked(CheckBox1->isChecked());
    m_mainWindow->AcqTag->setChecked(CheckBox2->isChecked());
    TagPlus.AddArtist = CheckBox3->isChecked();
    TagPlus.AddTime = CheckBox4->isChecked();
    ConfirmDeleteAll = CheckAlldelconf->isChecked();
    ConfirmDelete = CheckDelconf->isChecked();
    VerticalSpineText = RgDirSide->ItemIndex() == 0;
    TagPlus.ArtistPrefix = ComboAf->currentText();
    accept();
}

void TFormOP::CancelBtnClick() { reject(); }

void TForm1::O2Click()
{
    TFormOP dialog(this);
    dialog.exec();
}
