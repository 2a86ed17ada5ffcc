// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/DiscImportDialog.h"

#include "gui/dialogs/FileDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TDiscImportForm::TDiscImportForm(const QStringList &drives, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DiscImportForm"));
    setWindowTitle(tr("CDから曲目を読み込む"));
    auto *label = new QLabel(tr("読み込むディスク"), this);
    SourceList = new QListWidget(this);
    SourceList->setObjectName(QStringLiteral("SourceList"));
    label->setBuddy(SourceList);
    for (const QString &drive : drives)
        new QListWidgetItem(drive, SourceList);
    SourceList->setCurrentRow(0);
    ImageBtn = new QPushButton(tr("ディスクイメージ(&I)…"), this);
    ImageBtn->setObjectName(QStringLiteral("ImageBtn"));
    ReplaceBtn = new QRadioButton(tr("今のジャケットと置き換える(&R)"), this);
    ReplaceBtn->setObjectName(QStringLiteral("ReplaceBtn"));
    ReplaceBtn->setChecked(true);
    AppendBtn = new QRadioButton(tr("今の内容の後に加える(&A)"), this);
    AppendBtn->setObjectName(QStringLiteral("AppendBtn"));
    LookupBox = new QCheckBox(tr("CD-TEXT があっても MusicBrainz で曲名を調べる(&M)"), this);
    LookupBox->setObjectName(QStringLiteral("LookupBox"));
    OkBtn = new QPushButton(tr("読み込む"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(SourceList, 1);
    auto *sourceButtons = new QVBoxLayout;
    sourceButtons->addWidget(ImageBtn);
    sourceButtons->addStretch(1);
    sourceRow->addLayout(sourceButtons);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(sourceRow, 1);
    layout->addWidget(ReplaceBtn);
    layout->addWidget(AppendBtn);
    layout->addWidget(LookupBox);
    layout->addLayout(buttons);

    connect(ImageBtn, &QPushButton::clicked, this, &TDiscImportForm::ChooseImage);
    connect(SourceList, &QListWidget::currentRowChanged, this, &TDiscImportForm::SourceChanged);
    connect(SourceList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    SourceChanged();
}

TDiscImportForm::Choice TDiscImportForm::choice() const
{
    const QListWidgetItem *item = SourceList->currentItem();
    return {item ? item->data(Qt::UserRole).toString().isEmpty() ? item->text() : item->data(Qt::UserRole).toString() : QString(),
            AppendBtn->isChecked(), LookupBox->isChecked()};
}

void TDiscImportForm::ChooseImage()
{
    const QString path = FileDialogs::chooseFile(
        this, {false, QString(), {tr("ディスクイメージ(*.cue *.toc *.nrg)"), tr("全てのファイル(*)")}, {}, tr("ディスクイメージを選ぶ")});
    if (path.isEmpty())
        return;
    // An image is listed by its name, the drives by their devices.
    auto *item = new QListWidgetItem(QDir::toNativeSeparators(QFileInfo(path).fileName()), SourceList);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
    SourceList->setCurrentItem(item);
}

void TDiscImportForm::SourceChanged() { OkBtn->setEnabled(SourceList->currentItem() != nullptr); }
