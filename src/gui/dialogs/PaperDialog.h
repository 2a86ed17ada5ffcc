// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/dialogs/DialogParts.h"
#include "core/labels/LabelProducts.h"
#include "core/settings/PaperChoices.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// A small picture of a product's sheet: every label in light grey, the
// places for the jacket's faces outlined, the next ones filled.
class TSheetPicture : public QWidget
{
    Q_OBJECT
public:
    explicit TSheetPicture(QWidget *parent = nullptr);
    // The next position of each kind, from 1.
    struct Positions
    {
        int front = 1, back = 1, disc = 1;
    };
    // Nothing: plain paper, shown as an empty sheet.
    void Show(const LabelProduct *product, const Positions &next);
    // No paper chosen: no sheet at all.
    void ShowNone();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<LabelProduct> m_product;
    ProductFit m_fit;
    Positions m_next;
    bool m_none = false;
};

// ファイル → 用紙の選択: plain paper or a pre-cut product for one
// destination, and the positions its next faces go to; stored with OK.
// A stored product the list does not hold (gone from the database) is
// said above the list, and no paper is chosen in it; OK then keeps the
// stored choice as it was.
class TPaperForm : public TDestinationDialog
{
    Q_OBJECT
public:
    TPaperForm(const QString &destination, const QList<LabelProduct> &products, QWidget *parent = nullptr);

    // What the dialog holds now.
    PaperChoice Choice() const;

    QLineEdit *SearchEdit;
    QLabel *MissingLabel;
    QListWidget *ProductList;
    TSheetPicture *Picture;
    QSpinBox *FrontBox;
    QSpinBox *BackBox;
    QSpinBox *DiscBox;

private:
    void Filter(const QString &text);
    void ProductChanged();
    void showPicture();
    void OkBtnClick();
    const LabelProduct *CurrentProduct() const;

    QList<LabelProduct> m_products;
};
