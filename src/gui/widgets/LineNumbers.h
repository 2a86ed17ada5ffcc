// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QPointer>

class QListView;
class TMemo;

// The line-number column beside the item list or the editor. It keeps no
// numbers: each paint asks the view it follows where its rows are and
// numbers those beside the column, so the numbers are right after any change
// of the view, however it came about, and a long list costs nothing more.
class LineNumbers : public QFrame
{
    Q_OBJECT
public:
    explicit LineNumbers(QWidget *parent = nullptr);

    // One number per row of the list; or one per line of the editor and one
    // for the line after its last (none after a final line break).
    void follow(QListView *list);
    void follow(TMemo *editor);

    // The highest number, which the column's width must hold.
    int count() const;
    // The numbers the column shows now, top to bottom.
    QStringList shownNumbers() const;
    // The band of number n's row in the column, empty when n is not shown.
    QRect numberRect(int number) const;

signals:
    // Rows or lines were added or removed: the count may differ.
    void countMayHaveChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Band
    {
        int number;
        QRect rect;
    };
    // The rows beside the column, in its coordinates, and the strip they may
    // be painted in.
    QList<Band> bands() const;
    QRect paintArea() const;
    QWidget *followed() const;
    void unfollow();
    void watch(QWidget *view, QWidget *viewport);
    void linesChanged();

    QPointer<QListView> m_list;
    QPointer<TMemo> m_editor;
    QList<QMetaObject::Connection> m_links;
};
