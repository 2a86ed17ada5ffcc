#pragma once

#include <QListWidget>

// The item list of the main window: one row per item, extended selection,
// rows at the same fixed pitch as the editor's lines, scrolling by rows.
// Key presses are reported before the list acts on them.
class ItemListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ItemListBox(QWidget *parent = nullptr);

    void setRowPitch(int pixels);
    int rowPitch() const { return m_rowPitch; }
    int topIndex() const;
    QStringList items() const;
    void setItems(const QStringList &texts);

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_rowPitch = 16;
};
