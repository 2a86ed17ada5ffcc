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
