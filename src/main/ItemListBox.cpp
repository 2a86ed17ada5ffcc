#include "ItemListBox.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

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
}

void ItemListBox::setRowPitch(int pixels)
{
    m_rowPitch = pixels;
    doItemsLayout();
}

int ItemListBox::topIndex() const { return verticalScrollBar()->value(); }

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
    QListWidget::keyPressEvent(event);
}
