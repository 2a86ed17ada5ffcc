// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/ItemEditDialog.h"

#include "gui/widgets/OneLineEdit.h"
#include "gui/mainwindow/MainWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QResizeEvent>
#include <QShowEvent>

#include <limits>

namespace {

constexpr QSize kSize(632, 85);

}  // namespace

TInputForm::TInputForm(QListWidget *list, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_list(list)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("InputForm"));
    setFixedSize(kSize);
    Label1 = new QLabel(tr("入力してください"), this);
    Label1->move(8, 8);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit = new QLineEdit(QStringLiteral("Edit"), this);
    // A row of any length is edited whole (the default limit is 32 767).
    Edit->setMaxLength(std::numeric_limits<int>::max());
    KeepOneLine(Edit);
    Edit->setGeometry(8, 32, 617, 20);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->installEventFilter(this);
    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setGeometry(152, 56, 105, 25);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    CanBtn = new QPushButton(tr("キャンセル"), this);
    CanBtn->setGeometry(360, 56, 97, 25);
    CanBtn->setObjectName(QStringLiteral("CanBtn"));
    connect(OkBtn, &QPushButton::clicked, this, &TInputForm::OkBtnClick);
    connect(CanBtn, &QPushButton::clicked, this, &TInputForm::CanBtnClick);
    FormCreate();
}

void TInputForm::FormCreate()
{
    setWindowTitle(AppName() + QStringLiteral(" - ") + tr("簡易編集ボックス"));
    int top = m_mainWindow->y() + m_mainWindow->height() / 2 - 56;
    // Kept on the screen, so that the buttons can always be reached.
    if (const QScreen *screen = m_mainWindow->screen()) {
        const QRect available = screen->availableGeometry();
        const int frameExtra = 40;
        top = qBound(available.top(), top, qMax(available.top(), available.bottom() - height() - frameExtra));
    }
    move(192, top);
}

void TInputForm::FormShow()
{
    const int row = m_list->currentRow();
    Label1->setText(tr("%1番目のアイテムを編集します").arg(row + 1));
    Label1->adjustSize();
    Edit->setText(m_list->item(row)->text());
    Edit->setFocus();
    Edit->selectAll();
}

void TInputForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restoring the minimised dialog is no new showing.
    if (!event->spontaneous())
        FormShow();
}

void TInputForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // Some window managers offer to resize, maximise or make full screen any
    // window, its size hints notwithstanding: the dialog keeps its frame.
    if (size() != kSize) {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        resize(kSize);
    }
}

void TInputForm::OkBtnClick()
{
    const int row = m_list->currentRow();
    if (QListWidgetItem *item = m_list->item(row)) {
        item->setText(Edit->text());
        item->setSelected(true);
    }
    accept();
}

void TInputForm::CanBtnClick() { reject(); }

bool TInputForm::EditKeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    OkBtn->setFocus();
    OkBtnClick();
    return true;
}

bool TInputForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit && event->type() == QEvent::KeyPress)
        return EditKeyPress(static_cast<QKeyEvent *>(event)->key());
    return QDialog::eventFilter(watched, event);
}
