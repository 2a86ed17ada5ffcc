// SPDX-License-Identifier: GPL-3.0-or-later
// The label products: lengths, templates, broken files, and where the
// jacket's faces fit on the products installed with glabels-data and on a
// product of the user's own.
#include "core/labels/LabelProducts.h"
#include "core/layout/PaperNames.h"
#include "support/CoreTestSupport.h"

using namespace LabelProducts;
using namespace Qt::StringLiterals;

namespace {

const QString kSystemFolder = QStringLiteral("/usr/share/libglabels-3.0/templates");
const QByteArray kSmall = R"(<Template brand="B" part="%1" size="A4">
  <Label-rectangle width="10mm" height="10mm"><Layout nx="1" ny="1"/></Label-rectangle></Template>)";

QByteArray templates(const QByteArray &body) { return "<Glabels-templates>" + body + "</Glabels-templates>"; }
QByteArray small(const char *part) { return QByteArray(kSmall).replace("%1", part); }

// A4 with a front and a back of the user's own, and a system product redone.
const QByteArray kUserTemplates = templates(R"(
  <Template brand="Pelora" part="Two-up" size="A4" description="Front and back">
    <Label-rectangle width="121mm" height="121mm"><Layout nx="1" ny="1" x0="44.5mm" y0="15mm"/></Label-rectangle>
    <Label-rectangle width="151mm" height="118mm" waste="1mm"><Layout nx="1" ny="1" x0="29.5mm" y0="160mm"/></Label-rectangle>
  </Template>
  <Template brand="Zweckform" part="32250B" size="A4">
    <Label-rectangle width="155mm" height="122mm"><Markup-margin size="2mm"/><Layout nx="1" ny="1" x0="27.5mm" y0="30mm"/></Label-rectangle>
  </Template>)");

// A tray card as the label designer saves one of the user's own: one
// product to a BRAND_PART.template file, with the fold marks of its spines.
const QByteArray kDesignerTemplate = templates(R"(
  <Template brand="Pelora" part="Solo" size="A4" description="Tray card">
    <Label-rectangle id="0" width="151mm" height="117.5mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-line x1="6.5mm" y1="0mm" x2="6.5mm" y2="117.5mm"/><Layout nx="1" ny="1" x0="30mm" y0="20mm"/>
    </Label-rectangle>
  </Template>)");

}  // namespace

class LabelProductsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void lengths_data();
    void lengths();
    void readsEveryPartOfATemplate();
    void brokenInputsLeaveOutWhatIsBroken_data();
    void brokenInputsLeaveOutWhatIsBroken();
    void facesFitInstalledProducts_data();
    void facesFitInstalledProducts();
    void placesAtTheEdgesOfTheirTolerances_data();
    void placesAtTheEdgesOfTheirTolerances();
    void installedIsReadAgainOnceAFileChanged();
    void sheetsByTheirNames_data();
    void sheetsByTheirNames();
    void closeMatchesOfATypo();

private:
    bool haveDatabase() const { return QFile::exists(kSystemFolder + QStringLiteral("/paper-sizes.xml")); }
    QTemporaryDir m_config;
    QList<LabelProduct> m_products;
};

void LabelProductsTest::initTestCase()
{
    const QString user = m_config.filePath(QStringLiteral("libglabels/templates"));
    QVERIFY(QDir().mkpath(user));
    TestSupport::writeFile(user + QStringLiteral("/mine.xml"), kUserTemplates);
    TestSupport::writeFile(user + QStringLiteral("/broken.xml"), "<Glabels-templates><Template brand=");
    TestSupport::writeFile(user + QStringLiteral("/Pelora_Solo.template"), kDesignerTemplate);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QCOMPARE(TemplateFolders().last(), user);
    QStringList notes;
    m_products = ReadFolders(TemplateFolders(), [&](const QString &line) { notes.append(line); });
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes[0].startsWith(QStringLiteral("pelora: skipped label templates %1/broken.xml: line 1: ").arg(user)), qPrintable(notes[0]));
}

void LabelProductsTest::lengths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("mm");  // NaN: no length
    const double none = qQNaN();
    for (const auto &[text, mm] : std::initializer_list<std::pair<const char *, double>>{
             {"12.5mm", 12.5}, {"1in", 25.4}, {"3pc", 12.7}, {"0.5cm", 5}, {"36pt", 12.7}, {"36", 12.7},
             {" -1.5 mm ", -1.5}, {"2MM", 2}, {"", none}, {"mm", none}, {"1.2.3mm", none}, {"12 furlongs", none},
             {"nan", none}, {"infmm", none}, {"1e400", none}, {"0x10", none}, {"20000mm", none}})
        QTest::newRow(text) << QString::fromLatin1(text) << mm;
}

void LabelProductsTest::lengths()
{
    QFETCH(QString, text);
    QFETCH(double, mm);
    const std::optional<double> length = LengthMm(text);
    QCOMPARE(length.has_value(), !qIsNaN(mm));
    if (length)
        QCOMPARE(*length, mm);
}

void LabelProductsTest::readsEveryPartOfATemplate()
{
    QString error;
    const QList<LabelProduct> products = ReadTemplates(templates(R"(
      <Template brand="Acme" part="Sheet" size="Other" width="100mm" height="2in" _description="Mixed">
        <Meta category="media"/><Meta category="label"/><Meta category="media"/>
        <Label-rectangle width="72" height="1cm" x_waste="2mm" y_waste="1mm">
          <Markup-margin size="1mm"/><Markup-line x1="5mm" y1="0" x2="5mm" y2="1cm"/><Markup-rect x1="-1mm"/>
          <Layout nx="2" ny="2" x0="1mm" y0="2mm" dx="30mm" dy="15mm"/><Layout nx="1" ny="1" x0="70mm" y0="40mm"/>
        </Label-rectangle>
        <Label-cd radius="20mm" hole="7.5mm" waste="1mm" height="36mm"><Layout nx="1" ny="1"/></Label-cd>
        <Label-ellipse width="10mm" height="5mm"><Layout nx="1" ny="1"/></Label-ellipse>
      </Template>
      <Template brand="ACME" part="Copy" equiv="sheet"/>)"), {}, {}, &error);
    QCOMPARE(error, QString());
    QCOMPARE(products.size(), 2);
    const LabelProduct &sheet = products[0];
    QCOMPARE(sheet.sheet, QSizeF(100, 50.8));
    QCOMPARE(sheet.categories, QStringList({"media", "label"}));
    const ProductLabel &rectangle = sheet.labels[0];
    QCOMPARE(std::tuple(rectangle.size, rectangle.wasteMm, rectangle.marginMm), std::tuple(QSizeF(25.4, 10), 1.0, 1.0));
    QCOMPARE(rectangle.foldLines, QList<QLineF>({QLineF(5, 0, 5, 10)}));
    QCOMPARE(rectangle.positions, QList<QPointF>({{1, 2}, {31, 2}, {1, 17}, {31, 17}, {70, 40}}));
    QCOMPARE(std::tuple(sheet.labels[1].shape, sheet.labels[1].size, sheet.labels[1].holeMm),
             std::tuple(ProductLabel::Disc, QSizeF(40, 36), 7.5));
    QCOMPARE(sheet.labels[2].shape, ProductLabel::Other);
    QCOMPARE(std::tuple(products[1].name(), products[1].description), std::tuple(u"Acme Copy"_s, u"Mixed"_s));
    QCOMPARE(products[1].labels[0].positions, rectangle.positions);
    // Paper sizes stop at the fault, with what was read before it.
    const QHash<QString, QSizeF> sizes = ReadPaperSizes(R"(<Glabels-paper-sizes>
      <Paper-size id="A4" width="210mm" height="297mm"/><Paper-size id="X" width="1in" </Glabels-paper-sizes>)", &error);
    QCOMPARE(sizes, (QHash<QString, QSizeF>{{"A4", QSizeF(210, 297)}}));
    QVERIFY(!error.isEmpty());
}

// A broken document gives the products before its fault and an error (the
// folder reader then skips the whole file); a broken product is left out alone.
void LabelProductsTest::brokenInputsLeaveOutWhatIsBroken_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<bool>("fault");
    QTest::newRow("empty") << QByteArray() << QStringList() << true;
    QTest::newRow("paper sizes") << QByteArray("<Glabels-paper-sizes/>") << QStringList() << true;
    QTest::newRow("cut off") << "<Glabels-templates>" + small("1") + "<Template brand=\"B\" part=\"2\" size=\"A4\"><Label-re"
                             << QStringList{"1"} << true;
    QTest::newRow("after the root") << templates(small("1")) + "<more/>" << QStringList{"1"} << true;
    QTest::newRow("entities") << "<!DOCTYPE d [<!ENTITY a \"aaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                 "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                                 + templates(small("1") + "<x>&d;&d;&d;&d;&d;&d;&d;&d;&d;</x>")
                              << QStringList{"1"} << true;
    const std::pair<const char *, QByteArray> badProducts[] = {
        {"junk width", small("2").replace("width=\"10mm\"", "width=\"wide\"")},
        {"negative width", small("2").replace("width=\"10mm\"", "width=\"-10mm\"")},
        {"unknown sheet", small("2").replace("A4", "B7")},
        {"no layout", small("2").replace("<Layout nx=\"1\" ny=\"1\"/>", "")},
        {"absurd count", small("2").replace("nx=\"1\" ny=\"1\"", "nx=\"100000\" ny=\"100000\"")},
        {"copy of nothing", "<Template brand=\"B\" part=\"2\" equiv=\"7\"/>"},
    };
    for (const auto &[name, bad] : badProducts)
        QTest::newRow(name) << templates(small("1") + bad + small("3")) << QStringList{"1", "3"} << false;
}

void LabelProductsTest::brokenInputsLeaveOutWhatIsBroken()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, parts);
    QFETCH(bool, fault);
    QString error;
    QStringList read;
    for (const LabelProduct &product : ReadTemplates(xml, {{"A4", QSizeF(210, 297)}}, {}, &error))
        read.append(product.part);
    QCOMPARE(read, parts);
    QCOMPARE(!error.isEmpty(), fault);
}

void LabelProductsTest::facesFitInstalledProducts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("front");
    QTest::addColumn<QRectF>("area");  // on the sheet
    QTest::addColumn<double>("bleed");
    QTest::addColumn<QPointF>("fold");  // where the first fold line starts; null: none
    QTest::addColumn<bool>("both");
    const QRectF inlet(27.5, 21, 155, 122), booklet(59.5, 22, 123, 125);
    QTest::newRow("inlet") << "Avery 8435B" << false << inlet << 2.0 << QPointF(36, 21) << false;
    QTest::newRow("copy typed loosely") << "  avery   j8435b " << false << inlet << 2.0 << QPointF(36, 21) << false;
    QTest::newRow("booklet") << "Avery 8435A" << true << booklet << 2.0 << QPointF(59.5, 22) << false;
    QTest::newRow("booklet folded across") << "Neato 69143" << true << QRectF(47.625, 139.7, 120.65, 120.65) << 3.175
                                           << QPointF(47.625, 139.7) << false;
    QTest::newRow("user front") << "Pelora Two-up" << true << QRectF(44.5, 15, 121, 121) << 0.0 << QPointF() << true;
    QTest::newRow("user back") << "pelora two-up" << false << QRectF(29.5, 160, 151, 118) << 1.0 << QPointF() << true;
    QTest::newRow("user replaces") << "Zweckform 32250B" << false << QRectF(27.5, 30, 155, 122) << 2.0 << QPointF() << false;
    QTest::newRow("user's .template") << "Pelora Solo" << false << QRectF(30, 20, 151, 117.5) << 0.0 << QPointF(36.5, 20) << false;
}

void LabelProductsTest::facesFitInstalledProducts()
{
    if (!haveDatabase())
        QSKIP("glabels-data is not installed (scripts/install-deps.sh installs it)");
    QFETCH(QString, name);
    QFETCH(bool, front);
    QFETCH(QRectF, area);
    QFETCH(double, bleed);
    QFETCH(QPointF, fold);
    QFETCH(bool, both);
    const LabelProduct *product = Find(m_products, name);
    QVERIFY(product);
    QVERIFY(Find(JacketProducts(m_products), name));
    const ProductFit fit = FitJacket(*product);
    const QList<LabelSlot> &face = front ? fit.places(FaceKindId::Front) : fit.places(FaceKindId::Back);
    QCOMPARE(face.size(), 1);
    QCOMPARE(fit.holds({FaceKindId::Front, FaceKindId::Back}), both);
    QCOMPARE(face[0].area, area);  // fuzzy: far closer than 0.01 mm
    QCOMPARE(face[0].bleedMm, bleed);
    QCOMPARE(face[0].foldLines.value(0).p1(), fold);
}

// A label just inside each tolerance of the face-kind table is a place for
// its face, one a tenth of a millimetre outside it is none.
void LabelProductsTest::placesAtTheEdgesOfTheirTolerances_data()
{
    QTest::addColumn<QSizeF>("label");
    QTest::addColumn<QString>("place");  // the face it is the place of; empty: none
    QTest::newRow("front: 118 mm, the least") << QSizeF(118, 118) << "front";
    QTest::newRow("front: 117.9 mm") << QSizeF(117.9, 117.9) << "";
    QTest::newRow("front: 124 mm, the most") << QSizeF(124, 124) << "front";
    QTest::newRow("front: 124.1 mm") << QSizeF(124.1, 124.1) << "";
    QTest::newRow("front: 1 mm from square") << QSizeF(123, 124) << "front";
    QTest::newRow("front: 1.1 mm from square") << QSizeF(122.9, 124) << "";
    QTest::newRow("back: 3 mm wider") << QSizeF(153.1, 117.3) << "back";
    QTest::newRow("back: 3.1 mm wider") << QSizeF(153.2, 117.3) << "";
    QTest::newRow("back: 3 mm narrower") << QSizeF(147.1, 117.3) << "back";
    QTest::newRow("back: 3.1 mm narrower") << QSizeF(147, 117.3) << "";
    QTest::newRow("back: 3 mm higher") << QSizeF(150.1, 120.3) << "back";
    QTest::newRow("back: 3.1 mm higher") << QSizeF(150.1, 120.4) << "";
    QTest::newRow("back: 3 mm lower") << QSizeF(150.1, 114.3) << "back";
    QTest::newRow("back: 3.1 mm lower") << QSizeF(150.1, 114.2) << "";
    // The obi goes on plain paper only, even on a label of its own size.
    QTest::newRow("obi: a label of its size") << QSizeF(70.7, 120.7) << "";
}

void LabelProductsTest::placesAtTheEdgesOfTheirTolerances()
{
    QFETCH(QSizeF, label);
    QFETCH(QString, place);
    const QByteArray size = QStringLiteral("width=\"%1mm\" height=\"%2mm\"").arg(label.width()).arg(label.height()).toLatin1();
    const QList<LabelProduct> read = ReadTemplates(templates(small("1").replace("width=\"10mm\" height=\"10mm\"", size)),
                                                   {{"A4", QSizeF(210, 297)}});
    QCOMPARE(read.size(), 1);
    const ProductFit fit = FitJacket(read[0]);
    QStringList places;
    for (const FaceKind &kind : FaceKinds::all()) {
        if (!fit.places(kind.id).isEmpty())
            places << QString::fromLatin1(kind.name);
    }
    QCOMPARE(places.join(u','), place);
}

// A size within a millimetre of a common one, either way up, is shown by
// its name; one a tenth further by its millimetres.
void LabelProductsTest::sheetsByTheirNames_data()
{
    QTest::addColumn<QSizeF>("sheet");
    QTest::addColumn<QString>("shown");
    QTest::newRow("A4 as a driver reports it") << QSizeF(209.9, 297) << "A4";
    QTest::newRow("A4 across, 1 mm wide") << QSizeF(298, 211) << "A4";
    QTest::newRow("1.1 mm from A4") << QSizeF(211.1, 297) << "211.1 × 297.0 mm";
    QTest::newRow("1.1 mm short of A4") << QSizeF(210, 295.9) << "210.0 × 295.9 mm";
    QTest::newRow("Letter") << QSizeF(215.9, 279.4) << "Letter";
    QTest::newRow("a postcard") << QSizeF(100, 148) << "ハガキ";
    QTest::newRow("a 5-inch disc page") << QSizeF(127, 127) << "127.0 × 127.0 mm";
}

void LabelProductsTest::sheetsByTheirNames()
{
    QFETCH(QSizeF, sheet);
    QFETCH(QString, shown);
    QCOMPARE(PaperName(sheet), shown);
}

// The installed database is read again when a file of it was added,
// changed or removed, and only then: products found before stay valid.
void LabelProductsTest::installedIsReadAgainOnceAFileChanged()
{
    const QString file = m_config.filePath(QStringLiteral("libglabels/templates/Later_L-1.template"));
    const QByteArray later = templates(small("L-1")).replace("brand=\"B\"", "brand=\"Later\"");
    const LabelProduct *mine = Find(Installed(), QStringLiteral("Pelora Two-up"));
    QVERIFY(mine);
    Refresh();
    QCOMPARE(Find(Installed(), QStringLiteral("Pelora Two-up")), mine);
    TestSupport::writeFile(file, later);
    QCOMPARE(Find(Installed(), QStringLiteral("Later L-1")), nullptr);
    Refresh();
    const LabelProduct *made = Find(Installed(), QStringLiteral("Later L-1"));
    QVERIFY(made);
    QCOMPARE(made->labels[0].size, QSizeF(10, 10));
    TestSupport::writeFile(file, QByteArray(later).replace("width=\"10mm\"", "width=\"20mm\""));
    Refresh();
    QCOMPARE(Find(Installed(), QStringLiteral("Later L-1"))->labels[0].size, QSizeF(20, 10));
    QVERIFY(QFile::remove(file));
    Refresh();
    QCOMPARE(Find(Installed(), QStringLiteral("Later L-1")), nullptr);
}

void LabelProductsTest::closeMatchesOfATypo()
{
    if (!haveDatabase())
        QSKIP("glabels-data is not installed");
    QCOMPARE(Find(m_products, QStringLiteral("Avery 8453B")), nullptr);
    QCOMPARE(CloseMatches(m_products, QStringLiteral("avery 8453b"), 3).value(0), QStringLiteral("Avery 8435B"));
    QCOMPARE(CloseMatches(m_products, QStringLiteral("j8435a"), 1), QStringList{"Avery J8435A"});
}

PELORA_CORE_TEST_MAIN(LabelProductsTest)
#include "tst_labelproducts.moc"
