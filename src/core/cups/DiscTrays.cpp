// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cups/DiscTrays.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace DiscTrays {

namespace {

constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kLeastMm = 110, kMostMm = 140;
// The hub gutenprint leaves blank on its 5-inch page: 43 mm, as 121 pt.
constexpr double kStandardHubPt = 121;

// "CD", "DVD", "Disc" or "Disk" as a word of the name or at the start of
// the driver's key (CD5Inch).
bool namedForDiscs(const QString &name)
{
    static const QRegularExpression named(QStringLiteral(R"((^|[^A-Za-z])(CD|DVD|Dis[ck])($|[^a-z]))"),
                                          QRegularExpression::CaseInsensitiveOption);
    return named.match(name).hasMatch();
}

// One statement of a PPD: *Keyword Option/Text: Value.
struct Statement
{
    QByteArray keyword;
    QByteArray option;
    QString text;
    QByteArray value;  // without its quotes
};

QList<Statement> statements(const QByteArray &ppd)
{
    QList<Statement> out;
    bool inQuote = false;  // a quoted value may run over several lines
    for (QByteArray line : ppd.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (inQuote) {
            inQuote = line.count('"') % 2 == 0;
            continue;
        }
        if (!line.startsWith('*') || line.startsWith("*%"))
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        Statement statement;
        const QByteArray head = line.mid(1, colon - 1).trimmed();
        const qsizetype space = head.indexOf(' ');
        statement.keyword = head.left(space < 0 ? head.size() : space);
        if (space >= 0) {
            const QByteArray option = head.mid(space + 1).trimmed();
            const qsizetype slash = option.indexOf('/');
            statement.option = slash < 0 ? option : option.left(slash);
            statement.text = slash < 0 ? QString() : QString::fromUtf8(option.mid(slash + 1));
        }
        QByteArray value = line.mid(colon + 1).trimmed();
        if (value.startsWith('"')) {
            value = value.mid(1);
            const qsizetype end = value.indexOf('"');
            inQuote = end < 0;
            value = end < 0 ? value : value.left(end);
        }
        statement.value = value;
        out << statement;
    }
    return out;
}

// A length of a ParamCustomPageSize line in points.
double points(double length, const QByteArray &unit)
{
    if (unit == "inch")
        return length * 72;
    if (unit == "cm")
        return length * 10 * kPointsPerMm;
    if (unit == "mm")
        return length * kPointsPerMm;
    return length;
}

// As defined: QPageSize gives other units rounded.
double sideMm(const QPageSize &page)
{
    const QSizeF size = page.definitionSize();
    const double side = qMin(size.width(), size.height());
    return page.definitionUnits() == QPageSize::Millimeter ? side
         : page.definitionUnits() == QPageSize::Point     ? side / kPointsPerMm
                                                           : qMin(page.size(QPageSize::Millimeter).width(), page.size(QPageSize::Millimeter).height());
}

// The widest ring, in whole tenths of a millimetre, that a page of this side holds.
double widestRingOn(double side)
{
    return (std::ceil((side + kSlackMm) * 10 - 1e-6) - 1) / 10;
}

// The largest of the driver's sizes that is no larger than `most`; its
// smallest when all are larger.
int largestUpTo(const QList<int> &sizes, double most)
{
    int found = *std::min_element(sizes.begin(), sizes.end());
    for (const int size : sizes) {
        if (size <= most + 1e-6)
            found = qMax(found, size);
    }
    return found;
}

QString millimetres(double mm) { return QString::number(mm, 'f', 1); }

}  // namespace

bool IsDiscPage(const QPageSize &size)
{
    const QSizeF mm = size.size(QPageSize::Point) / kPointsPerMm;
    const bool discSized = mm.width() >= kLeastMm && mm.height() >= kLeastMm && mm.width() <= kMostMm && mm.height() <= kMostMm;
    return discSized && (namedForDiscs(size.key()) || namedForDiscs(size.name()));
}

std::optional<Tray> ReadPpd(const QByteArray &ppd)
{
    Tray tray;
    QList<QByteArray> order;  // the page keys, as the driver lists them
    QHash<QByteArray, QString> names;
    QHash<QByteArray, QSizeF> dimensions;
    bool custom = false;
    QHash<QByteArray, QPair<double, double>> customRange;  // Width and Height, in points
    QByteArray slot;
    for (const Statement &statement : statements(ppd)) {
        const QByteArray &keyword = statement.keyword;
        if (keyword == "PageSize") {
            order << statement.option;
            names.insert(statement.option, statement.text);
        } else if (keyword == "PaperDimension") {
            const QList<QByteArray> size = statement.value.simplified().split(' ');
            if (size.size() == 2)
                dimensions.insert(statement.option, QSizeF(size[0].toDouble(), size[1].toDouble()));
        } else if (keyword == "CustomPageSize") {
            custom = statement.option == "True";
        } else if (keyword == "ParamCustomPageSize") {
            // Width: 1 points 144.000 612.000
            const QList<QByteArray> fields = statement.value.simplified().split(' ');
            if (fields.size() == 4)
                customRange.insert(statement.option, {points(fields[2].toDouble(), fields[1]), points(fields[3].toDouble(), fields[1])});
        } else if (keyword == "InputSlot") {
            if (tray.slot.isEmpty() && (namedForDiscs(QString::fromUtf8(statement.option)) || namedForDiscs(statement.text)))
                tray.slot = statement.option;
        } else if (keyword == "StpCDOuterDiameter" || keyword == "StpCDInnerDiameter") {
            bool number = false;
            const int size = statement.option.toInt(&number);
            if (number)
                (keyword == "StpCDOuterDiameter" ? tray.discSizes : tray.hubSizes) << size;
        } else if (keyword == "StpCDInnerRadius") {
            tray.printsToTheHole = tray.printsToTheHole || statement.option == "Small";
        }
    }
    for (const QByteArray &key : std::as_const(order)) {
        const QSizeF size = dimensions.value(key);
        if (size.isEmpty())
            continue;
        const QString name = names.value(key).isEmpty() ? QString::fromUtf8(key) : names.value(key);
        const QPageSize page(size, QPageSize::Point, name, QPageSize::ExactMatch);
        // The key tells as well: a text may be translated.
        if (IsDiscPage(page) || (IsDiscPage(QPageSize(size, QPageSize::Point, QString::fromUtf8(key), QPageSize::ExactMatch))))
            tray.pages << page;
    }
    if (tray.pages.isEmpty())
        return std::nullopt;
    if (custom && customRange.contains("Width") && customRange.contains("Height")) {
        tray.customLeast = QSizeF(customRange["Width"].first, customRange["Height"].first);
        tray.customMost = QSizeF(customRange["Width"].second, customRange["Height"].second);
    }
    return tray;
}

Choice Choose(const Tray &tray, double outerMm, double innerMm)
{
    Choice choice;
    QList<QPageSize> bySize = tray.pages;
    std::stable_sort(bySize.begin(), bySize.end(), [](const QPageSize &a, const QPageSize &b) { return sideMm(a) < sideMm(b); });
    const auto holds = [outerMm](const QPageSize &page) { return outerMm - sideMm(page) < kSlackMm - 1e-9; };
    const double outerPt = outerMm * kPointsPerMm;
    const bool customTakesIt = !tray.customMost.isEmpty() && outerPt >= tray.customLeast.width() - 1e-6
        && outerPt >= tray.customLeast.height() - 1e-6 && outerPt <= tray.customMost.width() + 1e-6
        && outerPt <= tray.customMost.height() + 1e-6;
    choice.largestRingMm = widestRingOn(sideMm(bySize.last()));
    if (!tray.customMost.isEmpty()) {
        const double most = qMin(tray.customMost.width(), tray.customMost.height()) / kPointsPerMm;
        choice.largestRingMm = qMax(choice.largestRingMm, std::floor(most * 10 + 1e-6) / 10);
    }
    if (const auto found = std::find_if(bySize.cbegin(), bySize.cend(), holds); found != bySize.cend()) {
        choice.page = *found;
    } else if (customTakesIt) {
        // Named as the driver names a custom page: were it sent as a media
        // size, CUPS would take a disc page within 5 pt of it instead.
        choice.page = QPageSize(QSizeF(outerMm, outerMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        const QByteArray side = QByteArray::number(outerPt, 'f', 2);
        choice.options << qMakePair(QByteArray("PageSize"), "Custom." + side + 'x' + side);
    } else {
        choice.page = bySize.last();
        choice.holdsRing = false;
    }
    if (!tray.slot.isEmpty())
        choice.options << qMakePair(QByteArray("InputSlot"), tray.slot);
    // gutenprint prints its custom disc page at the size this option says,
    // 116 mm unless told: at its own size, nothing is shrunk.
    if (!tray.discSizes.isEmpty())
        choice.options << qMakePair(QByteArray("StpCDOuterDiameter"), QByteArray::number(largestUpTo(tray.discSizes, sideMm(choice.page) * kPointsPerMm)));
    // And leaves a hub blank: no wider than the ring's hole.
    const double innerPt = innerMm * kPointsPerMm;
    if (!tray.hubSizes.isEmpty())
        choice.options << qMakePair(QByteArray("StpCDInnerDiameter"), QByteArray::number(largestUpTo(tray.hubSizes, innerPt)));
    if (tray.printsToTheHole && innerPt < kStandardHubPt)
        choice.options << qMakePair(QByteArray("StpCDInnerRadius"), QByteArray("Small"));
    return choice;
}

QString RingTooWideNotice(const Choice &choice, double outerMm)
{
    const QString largest = millimetres(choice.largestRingMm);
    return QCoreApplication::translate("TForm1", "このプリンタのディスクトレイに印刷できるのは、直径 %1 mm までです。"
                                                 "プリンタブルディスクの印刷範囲（外径 %2 mm）の外側は印刷されません。")
               .arg(largest, millimetres(outerMm))
        + u'\r'
        + QCoreApplication::translate("TForm1", "「ファイル」の「プリンタブルディスクの印刷範囲」で、外径を %1 mm 以下にしてください。").arg(largest);
}

}  // namespace DiscTrays
