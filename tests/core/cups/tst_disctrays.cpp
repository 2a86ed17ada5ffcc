// SPDX-License-Identifier: GPL-3.0-or-later
// Which page, slot and driver options a disc label takes in a disc tray, from
// the driver's PPD: gutenprint's for two makers' printers, and made-up ones.
#include "core/cups/DiscTrays.h"
#include "support/CoreTestSupport.h"

class DiscTraysTest : public QObject
{
    Q_OBJECT
private slots:
    void pageSlotAndMessage_data();
    void pageSlotAndMessage();
};

void DiscTraysTest::pageSlotAndMessage_data()
{
    QTest::addColumn<QString>("ppd");  // in tests/data/disctrays
    QTest::addColumn<double>("outer");
    QTest::addColumn<double>("inner");
    QTest::addColumn<QString>("page");  // its name; empty: no tray
    QTest::addColumn<double>("side");   // in points; 0: no tray
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("widest");  // the widest ring named in the message; empty: none

    const QStringList epson{QStringLiteral("InputSlot=CD"), QStringLiteral("StpCDOuterDiameter=340"), QStringLiteral("StpCDInnerDiameter=116"),
                            QStringLiteral("StpCDInnerRadius=Small")};
    // The custom disc page at its own size, its hub no wider than the hole
    // (41 mm is 116.2 pt), printed to the hole on the 5-inch page.
    QTest::newRow("EP-801A, 117 mm: the custom disc page") << "gutenprint-ep801a" << 117.0 << 41.0 << "CD - Custom" << 340.0 << epson << "";
    QTest::newRow("EP-801A, 120 mm: 119.94 mm is a tenth short at most")
        << "gutenprint-ep801a" << 120.0 << 22.0 << "CD - Custom" << 340.0
        << QStringList{"InputSlot=CD", "StpCDOuterDiameter=340", "StpCDInnerDiameter=62", "StpCDInnerRadius=Small"} << "";
    QTest::newRow("EP-801A, 116.1 mm: the 5-inch page, its standard hub")
        << "gutenprint-ep801a" << 116.1 << 43.0 << "CD - 5 inch" << 329.0
        << QStringList{"InputSlot=CD", "StpCDOuterDiameter=329", "StpCDInnerDiameter=121"} << "";
    QTest::newRow("EP-801A, 116.2 mm: a tenth more than the 5-inch page")
        << "gutenprint-ep801a" << 116.2 << 41.0 << "CD - Custom" << 340.0 << epson << "";
    QTest::newRow("iP7200, 117 mm: its \"CD tray\"") << "gutenprint-ip7200" << 117.0 << 41.0 << "CD - Custom" << 340.0 << epson << "";
    QTest::newRow("iP7200, 110 mm, 18 mm hole")
        << "gutenprint-ip7200" << 110.0 << 18.0 << "CD - 5 inch" << 329.0
        << QStringList{"InputSlot=CD", "StpCDOuterDiameter=329", "StpCDInnerDiameter=51", "StpCDInnerRadius=Small"} << "";
    // No page holds the ring: the largest, and the message.
    QTest::newRow("made-up, 117 mm: too wide") << "made-up-disc" << 117.0 << 41.0 << "Disc - 4.5 inch" << 324.0 << QStringList{"InputSlot=Disc"} << "114.3";
    QTest::newRow("made-up, 114.3 mm: just held") << "made-up-disc" << 114.3 << 41.0 << "Disc - 4.5 inch" << 324.0 << QStringList{"InputSlot=Disc"} << "";
    QTest::newRow("made-up, 114.4 mm: a tenth too wide") << "made-up-disc" << 114.4 << 41.0 << "Disc - 4.5 inch" << 324.0 << QStringList{"InputSlot=Disc"} << "114.3";
    // A custom page of the ring's size, named as a PPD names it: CUPS would
    // take the 4.5-inch page for a media size within 5 pt of it.
    QTest::newRow("made-up with custom sizes, 116 mm")
        << "made-up-custom" << 116.0 << 41.0 << "" << 328.82 << QStringList{"PageSize=Custom.328.82x328.82", "InputSlot=Disc"} << "";
    QTest::newRow("made-up with custom sizes to 330 pt, 117 mm")
        << "made-up-custom" << 117.0 << 41.0 << "Disc - 4.5 inch" << 324.0 << QStringList{"InputSlot=Disc"} << "116.4";
    QTest::newRow("a mini-disc's page and a square card: no tray") << "no-tray" << 117.0 << 41.0 << "" << 0.0 << QStringList() << "";
}

void DiscTraysTest::pageSlotAndMessage()
{
    QFETCH(QString, ppd);
    QFETCH(double, outer);
    QFETCH(double, inner);
    QFETCH(QString, page);
    QFETCH(double, side);
    QFETCH(QStringList, options);
    QFETCH(QString, widest);
    const std::optional<DiscTrays::Tray> tray = DiscTrays::ReadPpd(TestSupport::readFile(TestSupport::dataPath(QStringLiteral("disctrays/%1.ppd").arg(ppd))));
    QCOMPARE(tray.has_value(), side > 0);
    if (!tray)
        return;
    const DiscTrays::Choice choice = DiscTrays::Choose(*tray, outer, inner);
    if (!page.isEmpty())
        QCOMPARE(choice.page.name(), page);
    const QSizeF size = choice.page.definitionSize() * (choice.page.definitionUnits() == QPageSize::Millimeter ? 72 / 25.4 : 1);
    QVERIFY2(qAbs(size.width() - side) < 0.01 && qAbs(size.height() - side) < 0.01, qPrintable(QString::number(size.width())));
    QStringList sent;
    for (const auto &[name, value] : choice.options)
        sent << QString::fromUtf8(name + '=' + value);
    QCOMPARE(sent, options);
    QCOMPARE(choice.holdsRing, widest.isEmpty());
    if (!widest.isEmpty()) {
        const QString notice = DiscTrays::RingTooWideNotice(choice, outer);
        QVERIFY2(notice.startsWith(QStringLiteral("このプリンタのディスクトレイに印刷できるのは、直径 %1 mm までです。").arg(widest)), qPrintable(notice));
        QVERIFY2(notice.contains(QStringLiteral("（外径 %1 mm）").arg(outer, 0, 'f', 1)), qPrintable(notice));
    }
}

PELORA_CORE_TEST_MAIN(DiscTraysTest)
#include "tst_disctrays.moc"
