// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/MessageHook.h"

#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QScrollBar>

TMessageHook::TMessageHook(TForm1 *form)
    : QObject(form)
    , m_form(form)
{
    watchScrollBar(form->ListBox1->verticalScrollBar());
    watchScrollBar(form->Memo1->verticalScrollBar());
    // Whatever moved them (the wheel over a scroll bar, paging keys, the
    // caret, an auto-scrolling selection, the program), the numbers follow
    // before the next paint; renumbering keeps to its own triggers.
    // The editor moves its scroll bar quietly when the caret scrolls it, but
    // says so with an update request.
    connect(form->ListBox1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { m_form->LevelNumbers(); });
    connect(form->Memo1, &QPlainTextEdit::updateRequest, this, [this](const QRect &, int dy) {
        if (dy != 0)
            m_form->LevelNumbers();
    });
    connect(form->Memo1, &TMemo::clipboardEdited, this, [this] { m_form->RefreshView(); });
}

void TMessageHook::watchScrollBar(QScrollBar *bar)
{
    connect(bar, &QScrollBar::actionTriggered, this, [this, bar](int action) {
        // A wheel turn reaches the scroll bar as a slider move without the
        // slider being held; that one is the wheel's, not the scroll bar's.
        if (action == QAbstractSlider::SliderNoAction)
            return;
        if (action == QAbstractSlider::SliderMove && !bar->isSliderDown())
            return;
        refreshAfterControl();
    });
}

void TMessageHook::refreshAfterControl()
{
    // The action is announced before the scroll bar applies it.
    QMetaObject::invokeMethod(this, [this] { m_form->RefreshView(); }, Qt::QueuedConnection);
}
