// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ItemListBox.h"

#include "core/layout/Fonts.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Rows at the list's pitch, each text on the baseline the editors' lines use
// and cut to its row: the style would centre a row holding a taller fallback
// face (Hangul, emoji) lower than the others.
class FixedPitchDelegate : public QStyledItemDelegate
{
public:
    FixedPitchDelegate(const ItemListBox *list)
        : QStyledItemDelegate(const_cast<ItemListBox *>(list))
        , m_list(list)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_list->rowPitch());
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        QStyle *style = item.widget ? item.widget->style() : QApplication::style();
        // The text where the style would put it: inside its margin, elided.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
        const QRect area =
            style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget).adjusted(margin, 0, -margin, 0);
        const QString text = QFontMetrics(item.font).elidedText(item.text, item.textElideMode, area.width());
        item.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const int baseline = item.rect.top() + Fonts::baselineInLine(item.font, m_list->rowPitch());
        painter->save();
        painter->setClipRect(area);
        painter->setFont(item.font);
        painter->setPen(item.palette.color(item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                                           item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QPointF(area.left(), baseline), text);
        painter->restore();
    }

private:
    const ItemListBox *m_list;
};

}  // namespace

ItemListBox::ItemListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSpacing(0);
    setItemDelegate(new FixedPitchDelegate(this));
    setAcceptDrops(true);
    setDragEnabled(false);
    setDropIndicatorShown(false);
    runDrag = [](QDrag *drag) { return drag->exec(Qt::MoveAction); };
}

QString ItemListBox::rowDragFormat() { return QStringLiteral("application/x-pelora-rows"); }

void ItemListBox::setRowPitch(int pixels)
{
    m_rowPitch = pixels;
    doItemsLayout();
}

QStringList ItemListBox::items() const
{
    QStringList out;
    const int n = count();
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(item(i)->text());
    return out;
}

void ItemListBox::setItems(const QStringList &texts)
{
    setUpdatesEnabled(false);
    clear();
    addItems(texts);
    setUpdatesEnabled(true);
}

void ItemListBox::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event->key(), event->modifiers());
    // Alt with an arrow key reorders rows (the window handles it); the list
    // itself leaves its current row and selection alone, as for any system key.
    if (event->modifiers().testFlag(Qt::AltModifier) && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down))
        return;
    QListWidget::keyPressEvent(event);
}

void ItemListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const QModelIndex index = indexAt(pos);
    m_pressPos = pos;
    if (index.isValid() && selectionModel()->isSelected(index) && (!shift || ctrl)) {
        m_dragArmed = true;
        return;
    }
    QListWidget::mousePressEvent(event);
    m_dragArmed = !shift && !ctrl;
}

void ItemListBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragArmed) {
        QListWidget::mouseMoveEvent(event);
        return;
    }
    if (!event->buttons().testFlag(Qt::LeftButton))
        return;
    const QPoint moved = event->position().toPoint() - m_pressPos;
    if (qAbs(moved.x()) >= 5 || qAbs(moved.y()) >= 5) {
        m_dragArmed = false;
        startRowDrag();
    }
}

void ItemListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragArmed && event->button() == Qt::LeftButton) {
        m_dragArmed = false;
        plainClickAt(event->position().toPoint());
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void ItemListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_dragArmed = false;
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAnywhere();
}

void ItemListBox::plainClickAt(const QPoint &viewportPos)
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    emit clicked(index);
}

void ItemListBox::startRowDrag()
{
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setData(rowDragFormat(), QByteArray());
    drag->setMimeData(data);
    const Qt::DropAction result = runDrag(drag);
    drag->deleteLater();
    if (result == Qt::IgnoreAction)
        plainClickAt(viewport()->mapFromGlobal(QCursor::pos()));
}

bool ItemListBox::acceptsDrag(QDropEvent *event) const
{
    return onDragOver && onDragOver(event->source());
}

void ItemListBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrag(event)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ItemListBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsDrag(event)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ItemListBox::dragLeaveEvent(QDragLeaveEvent *event) { event->accept(); }

void ItemListBox::dropEvent(QDropEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (onDragDrop)
        onDragDrop(event->source(), pos.x(), pos.y());
}
