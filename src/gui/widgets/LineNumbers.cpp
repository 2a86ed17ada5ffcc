// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/LineNumbers.h"

#include "core/layout/Fonts.h"
#include "gui/widgets/Memo.h"

#include <QEvent>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

LineNumbers::LineNumbers(QWidget *parent)
    : QFrame(parent)
{
    // The frame and colours of the text areas beside it.
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void LineNumbers::unfollow()
{
    for (const QMetaObject::Connection &link : std::as_const(m_links))
        disconnect(link);
    m_links.clear();
    if (QWidget *view = followed()) {
        view->removeEventFilter(this);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(view))
            area->viewport()->removeEventFilter(this);
    }
    m_list = nullptr;
    m_editor = nullptr;
}

void LineNumbers::watch(QWidget *view, QWidget *viewport)
{
    view->installEventFilter(this);
    viewport->installEventFilter(this);
    QScrollBar *bar = static_cast<QAbstractScrollArea *>(view)->verticalScrollBar();
    m_links << connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update))
            << connect(bar, &QScrollBar::rangeChanged, this, qOverload<>(&QWidget::update));
    linesChanged();
}

void LineNumbers::follow(QListView *list)
{
    unfollow();
    m_list = list;
    QAbstractItemModel *model = list->model();
    m_links << connect(model, &QAbstractItemModel::rowsInserted, this, &LineNumbers::linesChanged)
            << connect(model, &QAbstractItemModel::rowsRemoved, this, &LineNumbers::linesChanged)
            << connect(model, &QAbstractItemModel::rowsMoved, this, &LineNumbers::linesChanged)
            << connect(model, &QAbstractItemModel::modelReset, this, &LineNumbers::linesChanged)
            << connect(model, &QAbstractItemModel::layoutChanged, this, &LineNumbers::linesChanged);
    watch(list, list->viewport());
}

void LineNumbers::follow(TMemo *editor)
{
    unfollow();
    m_editor = editor;
    m_links << connect(editor->document(), &QTextDocument::contentsChange, this, &LineNumbers::linesChanged)
            // The editor moves its scroll bar quietly when the caret scrolls
            // it, but says so with an update request.
            << connect(editor, &QPlainTextEdit::updateRequest, this, [this](const QRect &, int dy) {
                   if (dy != 0)
                       update();
               });
    watch(editor, editor->viewport());
}

void LineNumbers::linesChanged()
{
    update();
    emit countMayHaveChanged();
}

QWidget *LineNumbers::followed() const
{
    if (m_list)
        return m_list;
    return m_editor;
}

int LineNumbers::count() const
{
    if (m_list)
        return m_list->model()->rowCount(m_list->rootIndex());
    if (m_editor)
        return m_editor->lineCount() + 1;
    return 0;
}

QRect LineNumbers::paintArea() const
{
    QRect area = contentsRect();
    // Nothing above the view's first row, which stands at its viewport's top.
    if (const auto *view = qobject_cast<const QAbstractScrollArea *>(followed()))
        area.setTop(qMax(area.top(), mapFrom(window(), view->viewport()->mapTo(window(), QPoint())).y()));
    return area;
}

QList<LineNumbers::Band> LineNumbers::bands() const
{
    QList<Band> out;
    const QRect area = paintArea();
    const int total = count();
    if (area.isEmpty() || total == 0)
        return out;
    const QWidget *viewport = static_cast<const QAbstractScrollArea *>(followed())->viewport();
    const QPoint shift = mapFrom(window(), viewport->mapTo(window(), QPoint()));
    // Rows from the one at the view's top down to the column's bottom, those
    // behind a horizontal scroll bar included; false once below it.
    const auto add = [&](int number, QRect row) {
        row.translate(shift);
        if (row.top() > area.bottom())
            return false;
        if (row.bottom() >= area.top())
            out.append({number, QRect(area.left(), row.top(), area.width(), row.height())});
        return true;
    };
    if (m_list) {
        const QAbstractItemModel *model = m_list->model();
        const QModelIndex root = m_list->rootIndex();
        const int column = m_list->modelColumn();
        // The rows stand across from where the first one does.
        const QRect first = m_list->visualRect(model->index(0, column, root));
        const QModelIndex top = m_list->indexAt(QPoint(first.left(), 0));
        for (int row = top.isValid() ? top.row() : 0; row < total; ++row) {
            if (!add(row + 1, m_list->visualRect(model->index(row, column, root))))
                break;
        }
        return out;
    }
    const QPointF offset = m_editor->contentOffset();
    QRect line;
    for (QTextBlock block = m_editor->firstVisibleBlock(); block.isValid(); block = block.next()) {
        line = m_editor->blockBoundingGeometry(block).translated(offset).toAlignedRect();
        if (!add(block.blockNumber() + 1, line))
            return out;
    }
    // The line after a last one that has text.
    if (m_editor->document()->blockCount() < total)
        add(total, line.translated(0, line.height()));
    return out;
}

QStringList LineNumbers::shownNumbers() const
{
    QStringList out;
    for (const Band &band : bands())
        out << QString::number(band.number);
    return out;
}

QRect LineNumbers::numberRect(int number) const
{
    for (const Band &band : bands()) {
        if (band.number == number)
            return band.rect;
    }
    return {};
}

bool LineNumbers::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::FontChange:
    case QEvent::StyleChange:
        update();
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void LineNumbers::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        emit countMayHaveChanged();
}

void LineNumbers::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetricsF metrics(font());
    const QRect area = paintArea();
    for (const Band &band : bands()) {
        // Right-aligned, on the baseline the rows beside it use, and cut to
        // its row.
        const QString text = QString::number(band.number);
        painter.setClipRect(band.rect & area);
        const qreal x = area.right() + 1 - metrics.horizontalAdvance(text);
        painter.drawText(QPointF(x, band.rect.top() + Fonts::baselineInLine(font(), band.rect.height())), text);
    }
}
