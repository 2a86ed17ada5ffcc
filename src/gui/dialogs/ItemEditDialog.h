// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The small dialog that edits the current row of the item list on one line.
// It reads the row from the list when shown and writes it back on OK.
class TInputForm : public QDialog
{
    Q_OBJECT
public:
    TInputForm(QListWidget *list, QWidget *mainWindow);

    void FormCreate();
    void FormShow();
    void OkBtnClick();
    void CanBtnClick();
    // True when the key was Enter and has been handled as OK.
    bool EditKeyPress(int key);

    QLabel *Label1;
    QLineEdit *Edit;
    QPushButton *OkBtn;
    QPushButton *CanBtn;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListWidget *m_list;
    QWidget *m_mainWindow;
};
