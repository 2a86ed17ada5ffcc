// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TForm1;
class TNCPanel;
class TRadioGroup;

// The options dialog. It edits the program-wide settings and the three check
// marks of the quick-option menu; it keeps nothing of its own, so a new one
// is built for every use. Nothing is written to disk here: the settings
// files are written when the program ends.
class TFormOP : public QDialog
{
    Q_OBJECT
public:
    explicit TFormOP(TForm1 *mainWindow);

    void FormCreate();
    void FormShow();
    void UpdateSample();
    void CheckBox3Click();
    void CheckBox4Click();
    void ComboAfChange();
    void OkBtnClick();
    void CancelBtnClick();

    QCheckBox *checkKa;
    QCheckBox *CheckBox1;
    QCheckBox *CheckDelconf;
    QCheckBox *CheckAlldelconf;
    TNCPanel *NCPanel1;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox4;
    QCheckBox *CheckBox3;
    QLabel *Label1;
    QComboBox *ComboAf;
    QLabel *Label3;
    QLabel *LabelSample;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;
    TRadioGroup *RgDirSide;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TForm1 *m_mainWindow;
};

// The texts that stand in for a dropped audio file's tag in the sample line;
// title and artist are translated where they are shown.
extern const char SampleTitle[];
extern const char SampleArtist[];
extern const QString SampleTime;
