// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_buttons(new QButtonGroup(this))
{
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        m_buttons->addButton(button, i);
    }
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        // One tab stop, entered at the selected item; the arrow keys move
        // within the group.
        for (QAbstractButton *button : m_buttons->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        emit itemIndexChanged(id);
    });
}

int TRadioGroup::ItemIndex() const { return m_buttons->checkedId(); }

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = m_buttons->button(index))
        button->setChecked(true);
}

int TRadioGroup::count() const { return int(m_buttons->buttons().size()); }

QString TRadioGroup::itemText(int index) const
{
    QAbstractButton *button = m_buttons->button(index);
    return button ? button->text() : QString();
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    // The items share the room below the caption evenly, as rows.
    const int n = count();
    if (n == 0)
        return;
    const int top = fontMetrics().height() + 2;
    const int rowHeight = qMax(1, (height() - top - 4) / n);
    for (int i = 0; i < n; ++i) {
        QAbstractButton *button = m_buttons->button(i);
        const int h = button->sizeHint().height();
        button->setGeometry(8, top + i * rowHeight + (rowHeight - h) / 2, width() - 16, h);
    }
}
