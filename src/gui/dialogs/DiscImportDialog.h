// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;

// Where a track list is read from (an optical drive, or a disc image the
// user picks), whether it replaces the jacket or is added after its lines,
// and whether MusicBrainz is asked even when the disc has CD-TEXT.
class TDiscImportForm : public QDialog
{
    Q_OBJECT
public:
    TDiscImportForm(const QStringList &drives, QWidget *parent = nullptr);

    struct Choice
    {
        QString source;  // a drive's device, or an image file
        bool append = false;
        bool lookup = false;
    };
    Choice choice() const;

    QListWidget *SourceList;
    QPushButton *ImageBtn;
    QRadioButton *ReplaceBtn;
    QRadioButton *AppendBtn;
    QCheckBox *LookupBox;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

private:
    void ChooseImage();
    void SourceChanged();
};
