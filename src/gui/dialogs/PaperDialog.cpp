// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/PaperDialog.h"

#include "gui/dialogs/DialogParts.h"
#include "gui/widgets/OneLineEdit.h"
#include "core/labels/LabelOutlines.h"
#include "core/layout/PaperNames.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kProductRole = Qt::UserRole;

// What a product holds, for its line in the list.
QString facesOf(const ProductFit &fit)
{
    QStringList faces;
    if (!fit.places(FaceKindId::Front).isEmpty())
        faces << QCoreApplication::translate("TPaperForm", "表");
    if (!fit.places(FaceKindId::Back).isEmpty())
        faces << QCoreApplication::translate("TPaperForm", "裏");
    if (!fit.places(FaceKindId::Disc).isEmpty())
        faces << QCoreApplication::translate("TPaperForm", "レーベル");
    // The separator is the language's too.
    return faces.join(QCoreApplication::translate("TPaperForm", "・"));
}

QString lineOf(const LabelProduct &product)
{
    return QCoreApplication::translate("TPaperForm", "%1 — %2（%3、%4）")
        .arg(product.name(), product.description, PaperName(product.sheet), facesOf(LabelProducts::FitJacket(product)));
}

// Every word typed is somewhere in the brand, part or description.
bool matches(const LabelProduct &product, const QStringList &words)
{
    const QString text = product.brand + u' ' + product.part + u' ' + product.description;
    return std::all_of(words.begin(), words.end(), [&](const QString &word) { return text.contains(word, Qt::CaseInsensitive); });
}

QSpinBox *positionBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(1, 1);
    box->setAlignment(Qt::AlignRight);
    KeepOneLine(box);
    return box;
}

}  // namespace

TSheetPicture::TSheetPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture"));
    setFixedSize(170, 230);
}

void TSheetPicture::Show(const LabelProduct *product, const Positions &next)
{
    m_product = product ? std::optional<LabelProduct>(*product) : std::nullopt;
    m_fit = product ? LabelProducts::FitJacket(*product) : ProductFit();
    m_next = next;
    m_none = false;
    update();
}

void TSheetPicture::ShowNone()
{
    m_product.reset();
    m_none = true;
    update();
}

void TSheetPicture::paintEvent(QPaintEvent *)
{
    if (m_none)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Plain paper is drawn as an A4 sheet.
    const QSizeF sheet = m_product ? m_product->sheet : QSizeF(210, 297);
    const double scale = std::min((width() - 10) / sheet.width(), (height() - 10) / sheet.height());
    painter.translate((width() - sheet.width() * scale) / 2, (height() - sheet.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(QPointF(), sheet));
    if (!m_product)
        return;
    painter.setPen(QPen(QColor(190, 190, 190), 0));
    painter.setBrush(Qt::NoBrush);
    for (const QPainterPath &outline : LabelOutlines(*m_product))
        painter.drawPath(outline);
    // The places of each face, the next one filled and numbered.
    const auto places = [&](const QList<LabelSlot> &slots_, int next, const QColor &colour, bool round) {
        for (qsizetype i = 0; i < slots_.size(); ++i) {
            const bool isNext = i == (next - 1) % slots_.size();
            painter.setPen(QPen(colour.darker(150), 0));
            painter.setBrush(isNext ? colour : QColor(Qt::transparent));
            painter.drawPath(LabelShape(slots_[i].area, round, slots_[i].holeMm));
            painter.setPen(Qt::black);
            QFont font = painter.font();
            font.setPixelSize(12);
            painter.setFont(font);
            painter.drawText(slots_[i].area, Qt::AlignCenter, QString::number(i + 1));
        }
    };
    places(m_fit.places(FaceKindId::Front), m_next.front, QColor(190, 215, 245), false);
    places(m_fit.places(FaceKindId::Back), m_next.back, QColor(200, 235, 200), false);
    places(m_fit.places(FaceKindId::Disc), m_next.disc, QColor(245, 220, 190), true);
}

TPaperForm::TPaperForm(const QString &destination, const QList<LabelProduct> &products, QWidget *parent)
    : TDestinationDialog(destination, "PaperForm", tr("用紙の選択"), parent)
    , m_products(products)
{
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setPlaceholderText(tr("メーカー、品番、説明で検索"));
    SearchEdit->setClearButtonEnabled(true);
    KeepOneLine(SearchEdit);
    MissingLabel = new QLabel(this);
    MissingLabel->setObjectName(QStringLiteral("MissingLabel"));
    MissingLabel->setTextFormat(Qt::PlainText);
    MissingLabel->setWordWrap(true);
    ProductList = new QListWidget(this);
    ProductList->setObjectName(QStringLiteral("ProductList"));
    ProductList->setMinimumWidth(420);
    auto *plain = new QListWidgetItem(tr("普通紙"), ProductList);
    plain->setData(kProductRole, -1);
    for (qsizetype i = 0; i < m_products.size(); ++i) {
        auto *item = new QListWidgetItem(lineOf(m_products[i]), ProductList);
        item->setData(kProductRole, int(i));
    }
    Picture = new TSheetPicture(this);
    FrontBox = positionBox(this, "FrontBox");
    BackBox = positionBox(this, "BackBox");
    DiscBox = positionBox(this, "DiscBox");

    auto *positions = new QFormLayout;
    positions->addRow(tr("次に表を印刷する位置"), FrontBox);
    positions->addRow(tr("次に裏を印刷する位置"), BackBox);
    positions->addRow(tr("次にレーベルを印刷する位置"), DiscBox);
    auto *side = new QVBoxLayout;
    side->addWidget(Picture);
    side->addLayout(positions);
    side->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(ProductList, 1);
    middle->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PrinterLabel);
    layout->addWidget(SearchEdit);
    layout->addWidget(MissingLabel);
    layout->addLayout(middle, 1);
    layout->addLayout(buttonRow());

    const PaperChoice stored = PaperChoices::load(destination);
    const LabelProduct *current = stored.plainPaper() ? nullptr : LabelProducts::Find(m_products, stored.product);
    const bool missing = !stored.plainPaper() && !current;
    MissingLabel->setText(tr("選んであった用紙「%1」はラベル用紙のデータベースにありません。用紙を選び直してください。").arg(stored.product));
    MissingLabel->setVisible(missing);
    ProductList->setCurrentRow(current ? int(current - m_products.constData()) + 1 : missing ? -1 : 0);
    ProductChanged();
    FrontBox->setValue(stored.frontPosition);
    BackBox->setValue(stored.backPosition);
    DiscBox->setValue(stored.discPosition);
    showPicture();

    connect(SearchEdit, &QLineEdit::textChanged, this, &TPaperForm::Filter);
    connect(ProductList, &QListWidget::currentRowChanged, this, &TPaperForm::ProductChanged);
    for (QSpinBox *box : {FrontBox, BackBox, DiscBox})
        connect(box, &QSpinBox::valueChanged, this, &TPaperForm::showPicture);
    connect(OkBtn, &QPushButton::clicked, this, &TPaperForm::OkBtnClick);
    // Most users look for their product by name first.
    SearchEdit->setFocus();
}

const LabelProduct *TPaperForm::CurrentProduct() const
{
    const QListWidgetItem *item = ProductList->currentItem();
    const int index = item ? item->data(kProductRole).toInt() : -1;
    return index >= 0 ? &m_products[index] : nullptr;
}

void TPaperForm::showPicture()
{
    if (!ProductList->currentItem())
        Picture->ShowNone();
    else
        Picture->Show(CurrentProduct(), {FrontBox->value(), BackBox->value(), DiscBox->value()});
}

void TPaperForm::Filter(const QString &text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (int row = 1; row < ProductList->count(); ++row) {
        QListWidgetItem *item = ProductList->item(row);
        item->setHidden(!matches(m_products[item->data(kProductRole).toInt()], words));
    }
}

void TPaperForm::ProductChanged()
{
    const LabelProduct *product = CurrentProduct();
    const ProductFit fit = product ? LabelProducts::FitJacket(*product) : ProductFit();
    FrontBox->setRange(1, qMax<int>(1, fit.places(FaceKindId::Front).size()));
    BackBox->setRange(1, qMax<int>(1, fit.places(FaceKindId::Back).size()));
    DiscBox->setRange(1, qMax<int>(1, fit.places(FaceKindId::Disc).size()));
    FrontBox->setEnabled(fit.places(FaceKindId::Front).size() > 1);
    BackBox->setEnabled(fit.places(FaceKindId::Back).size() > 1);
    DiscBox->setEnabled(fit.places(FaceKindId::Disc).size() > 1);
    showPicture();
}

PaperChoice TPaperForm::Choice() const
{
    // What the dialog does not show stays as it was.
    PaperChoice choice = PaperChoices::load(m_destination);
    if (!ProductList->currentItem())
        return choice;
    const LabelProduct *product = CurrentProduct();
    choice.product = product ? product->name() : QString();
    for (QSpinBox *box : {FrontBox, BackBox, DiscBox})
        box->interpretText();
    choice.frontPosition = FrontBox->value();
    choice.backPosition = BackBox->value();
    choice.discPosition = DiscBox->value();
    return choice;
}

void TPaperForm::OkBtnClick()
{
    QString why;
    acceptIfStored(PaperChoices::save(m_destination, Choice(), &why), why);
}
