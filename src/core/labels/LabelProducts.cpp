// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/labels/LabelProducts.h"

#include "core/files/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMarginsF>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr double kPointMm = 25.4 / 72;
// Ten metres: longer is no sheet nor label, only junk that would overflow the sums.
constexpr double kMaxLengthMm = 10'000;
// Real files are under 100 kB with a few hundred products of at most a few
// hundred labels each; far beyond that is junk, not worth the memory.
constexpr qint64 kMaxFileBytes = qint64(8) << 20;
constexpr qsizetype kMaxPositions = 5'000;  // a product's labels
constexpr qsizetype kMaxFilePositions = 100'000;
constexpr qsizetype kMaxFoldLines = 100;    // a label's
constexpr qsizetype kMaxCategories = 100;   // a product's
constexpr qsizetype kMaxPaperSizes = 10'000;
constexpr qsizetype kMaxProductsPerFile = 10'000;
constexpr qsizetype kMaxProducts = 50'000;  // all folders together
constexpr qsizetype kMaxNameMatch = 64;     // of a name compared for "did you mean"

constexpr double kStraightMm = 0.01;  // a fold line this close to upright is upright

const QString kPaperSizesFile = QStringLiteral("paper-sizes.xml");
// The database's files and those the label designer saves (BRAND_PART.template).
const QStringList kTemplateFiles{QStringLiteral("*.xml"), QStringLiteral("*.template")};

// Names compare without regard to case or spacing.
QString nameKey(const QString &name) { return name.simplified().toCaseFolded(); }

// The attributes of one element. A number that is there but is no length, or
// a negative size, clears `ok`: the product it belongs to is broken. An empty
// one is as good as none (Zweckform 3490 has x0="").
class Attributes
{
public:
    Attributes(const QXmlStreamReader &xml, bool &ok) : m_attributes(xml.attributes()), m_ok(ok) {}

    bool has(QLatin1StringView name) const { return m_attributes.hasAttribute(name); }
    QString text(QLatin1StringView name) const { return m_attributes.value(name).toString().simplified(); }
    double size(QLatin1StringView name, double missing = 0) { return length(name, missing, true); }
    double coordinate(QLatin1StringView name) { return length(name, 0, false); }

    // A count of labels, 1 or more.
    int count(QLatin1StringView name)
    {
        bool ok = false;
        const int value = m_attributes.value(name).toInt(&ok);
        m_ok = m_ok && ok && value > 0;
        return std::max(value, 0);
    }

private:
    double length(QLatin1StringView name, double missing, bool positive)
    {
        const QStringView value = m_attributes.value(name);
        if (value.trimmed().isEmpty())
            return missing;
        const std::optional<double> mm = LabelProducts::LengthMm(value);
        if (!mm || (positive && *mm < 0)) {
            m_ok = false;
            return missing;
        }
        return *mm;
    }

    QXmlStreamAttributes m_attributes;
    bool &m_ok;
};

// <Layout nx ny x0 y0 dx dy>: the label's places, row by row.
void addLayout(ProductLabel &label, Attributes &layout, qsizetype &positions, bool &ok)
{
    const int nx = layout.count("nx"_L1), ny = layout.count("ny"_L1);
    const QPointF origin(layout.coordinate("x0"_L1), layout.coordinate("y0"_L1));
    const double dx = layout.size("dx"_L1), dy = layout.size("dy"_L1);
    if (qint64(nx) * ny > kMaxPositions - positions) {
        ok = false;
        return;
    }
    positions += qsizetype(nx) * ny;
    for (int iy = 0; iy < ny; ++iy)
        for (int ix = 0; ix < nx; ++ix)
            label.positions.append(origin + QPointF(ix * dx, iy * dy));
}

// One <Label-…> element with its markup and layouts, read to its end.
ProductLabel readLabel(QXmlStreamReader &xml, qsizetype &positions, bool &ok)
{
    ProductLabel label;
    Attributes shape(xml, ok);
    if (shape.has("waste"_L1)) {
        label.wasteMm = shape.size("waste"_L1);
        label.sideWasteMm = QSizeF(label.wasteMm, label.wasteMm);
    } else if (shape.has("x_waste"_L1) || shape.has("y_waste"_L1)) {  // the smaller reaches out on every side
        label.wasteMm = std::min(shape.size("x_waste"_L1, kMaxLengthMm), shape.size("y_waste"_L1, kMaxLengthMm));
        label.sideWasteMm = QSizeF(shape.size("x_waste"_L1), shape.size("y_waste"_L1));
    }
    const QStringView element = xml.name();
    label.shape = element == "Label-rectangle"_L1 ? ProductLabel::Rectangle
                : element == "Label-round"_L1     ? ProductLabel::Round
                : element == "Label-cd"_L1        ? ProductLabel::Disc
                                                  : ProductLabel::Other;
    // Round ones are as wide as they are across, unless clipped to fit a
    // business-card box (a disc with its own width and height).
    const bool round = label.shape == ProductLabel::Round || label.shape == ProductLabel::Disc;
    const double across = round ? 2 * shape.size("radius"_L1) : 0;
    label.size = QSizeF(shape.size("width"_L1, across), shape.size("height"_L1, across));
    label.holeMm = shape.size("hole"_L1);
    ok = ok && !label.size.isEmpty();
    while (xml.readNextStartElement()) {
        Attributes markup(xml, ok);
        if (xml.name() == "Markup-margin"_L1) {
            label.marginMm = markup.size("size"_L1);
        } else if (xml.name() == "Markup-line"_L1) {
            if (label.foldLines.size() < kMaxFoldLines)
                label.foldLines.append(QLineF(markup.coordinate("x1"_L1), markup.coordinate("y1"_L1),
                                              markup.coordinate("x2"_L1), markup.coordinate("y2"_L1)));
        } else if (xml.name() == "Layout"_L1) {
            addLayout(label, markup, positions, ok);
        }
        xml.skipCurrentElement();
    }
    return label;
}

using FindOriginal = std::function<const LabelProduct *(const QString &name)>;

// One <Template>, read to its end: a product, or nothing when it is broken,
// has no labels, no known sheet, or copies a product that is not there.
std::optional<LabelProduct> readTemplate(QXmlStreamReader &xml, const QHash<QString, QSizeF> &paperSizes,
                                         const FindOriginal &findOriginal)
{
    bool ok = true;
    Attributes attributes(xml, ok);
    LabelProduct product;
    product.brand = attributes.text("brand"_L1);
    product.part = attributes.text("part"_L1);
    if (attributes.has("equiv"_L1)) {
        xml.skipCurrentElement();
        const LabelProduct *original = findOriginal(product.brand + u' ' + attributes.text("equiv"_L1));
        if (!original || product.part.isEmpty())
            return std::nullopt;
        LabelProduct copy = *original;
        copy.part = product.part;
        return copy;
    }
    product.description = attributes.text(attributes.has("_description"_L1) ? "_description"_L1 : "description"_L1);
    product.paperId = attributes.text("size"_L1);
    product.sheet = product.paperId == "Other"_L1 ? QSizeF(attributes.size("width"_L1), attributes.size("height"_L1))
                                                  : paperSizes.value(product.paperId);
    qsizetype positions = 0;
    while (xml.readNextStartElement()) {
        if (xml.name().startsWith("Label-"_L1)) {
            ProductLabel label = readLabel(xml, positions, ok);
            if (!label.positions.isEmpty())
                product.labels.append(std::move(label));
            continue;
        }
        if (xml.name() == "Meta"_L1) {
            const QString category = Attributes(xml, ok).text("category"_L1);
            if (!category.isEmpty() && !product.categories.contains(category)
                && product.categories.size() < kMaxCategories)
                product.categories.append(category);
        }
        xml.skipCurrentElement();
    }
    if (!ok || product.brand.isEmpty() || product.part.isEmpty() || product.sheet.isEmpty() || product.labels.isEmpty())
        return std::nullopt;
    return product;
}

QString xmlFault(const QXmlStreamReader &xml)
{
    return QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
}

// The file's bytes, or nothing and why.
std::optional<QByteArray> readFile(const QString &path, QString &reason)
{
    std::optional<QByteArray> bytes = readRegularFile(path, kMaxFileBytes);
    if (!bytes)
        reason = QFileInfo(path).size() > kMaxFileBytes ? QStringLiteral("larger than 8 MB")
                                                         : QStringLiteral("not a readable file");
    return bytes;
}

// The sheet sizes of the first folder whose paper-sizes.xml reads.
QHash<QString, QSizeF> readPaperSizes(const QStringList &folders, const std::function<void(const QString &)> &note)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(kPaperSizesFile);
        if (!QFileInfo::exists(path))
            continue;
        QString reason;
        QHash<QString, QSizeF> sizes;
        if (const std::optional<QByteArray> bytes = readFile(path, reason))
            sizes = LabelProducts::ReadPaperSizes(*bytes, &reason);
        if (reason.isEmpty() && !sizes.isEmpty())
            return sizes;
        if (note)
            note(QStringLiteral("pelora: skipped paper sizes %1: %2").arg(path, reason.isEmpty() ? u"no sizes"_s : reason));
    }
    return {{u"A4"_s, QSizeF(210, 297)}, {u"US-Letter"_s, QSizeF(215.9, 279.4)}};
}

// The two panels of a label that may take the front: the whole label, or a
// booklet's last page (right of the rightmost upright fold, else below the
// lowest level one); and that panel less the margin on its outer edges.
std::pair<QRectF, QRectF> frontPanel(const ProductLabel &label)
{
    const double width = label.size.width(), height = label.size.height();
    double foldX = 0, foldY = 0;
    for (const QLineF &line : label.foldLines) {
        if (std::abs(line.dx()) < kStraightMm && line.x1() > kStraightMm && line.x1() < width - kStraightMm)
            foldX = std::max(foldX, line.x1());
        else if (std::abs(line.dy()) < kStraightMm && line.y1() > kStraightMm && line.y1() < height - kStraightMm)
            foldY = std::max(foldY, line.y1());
    }
    QRectF panel(QPointF(), label.size);
    QMarginsF outer(label.marginMm, label.marginMm, label.marginMm, label.marginMm);
    if (foldX > 0) {
        panel.setLeft(foldX);
        outer.setLeft(0);
    } else if (foldY > 0) {
        panel.setTop(foldY);
        outer.setTop(0);
    }
    return {panel, panel.marginsRemoved(outer)};
}

bool fitsSquare(QSizeF size, const ProductPlace &place)
{
    const double shorter = std::min(size.width(), size.height()), longer = std::max(size.width(), size.height());
    return longer - shorter <= place.slackMm && shorter >= place.leastMm && longer <= place.mostMm;
}

bool fitsRectangle(QSizeF size, const ProductPlace &place)
{
    return std::abs(size.width() - place.sizeMm.width()) <= place.slackMm && std::abs(size.height() - place.sizeMm.height()) <= place.slackMm;
}

// The area of the label that a face of that place goes in, when it goes in
// the label at all: a round label of its diameter; a square label or a
// booklet's last page (with its margin or without); a rectangle of its size.
std::optional<QRectF> placeIn(const ProductLabel &label, const ProductPlace &place)
{
    const bool round = label.shape == ProductLabel::Round || label.shape == ProductLabel::Disc;
    if (place.shape == ProductPlace::Nowhere)
        return std::nullopt;
    if (place.shape == ProductPlace::Round) {
        // A round label without a hole still goes on a disc that has one.
        const double across = label.size.width();
        if (!round || across < place.leastMm || across > place.mostMm)
            return std::nullopt;
        return QRectF(QPointF(), label.size);
    }
    if (label.shape != ProductLabel::Rectangle)
        return std::nullopt;
    if (place.shape == ProductPlace::Square) {
        const auto [panel, panelTrim] = frontPanel(label);
        return fitsSquare(panelTrim.size(), place) || fitsSquare(panel.size(), place) ? std::optional<QRectF>(panel) : std::nullopt;
    }
    const QRectF whole(QPointF(), label.size);
    const double margin = label.marginMm;
    if (fitsRectangle(whole.size(), place) || fitsRectangle(whole.marginsRemoved({margin, margin, margin, margin}).size(), place))
        return whole;
    return std::nullopt;
}

int editDistance(QStringView a, QStringView b)
{
    std::vector<int> row(std::size_t(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 0; i < a.size(); ++i) {
        int diagonal = row[0]++;
        for (qsizetype j = 0; j < b.size(); ++j) {
            const int substitute = diagonal + (a[i] == b[j] ? 0 : 1);
            diagonal = row[std::size_t(j) + 1];
            row[std::size_t(j) + 1] = std::min({substitute, row[std::size_t(j)] + 1, diagonal + 1});
        }
    }
    return row.back();
}

}  // namespace

std::optional<double> LabelProducts::LengthMm(QStringView text)
{
    static constexpr std::pair<QLatin1StringView, double> kUnits[] = {
        {"pt"_L1, kPointMm}, {"in"_L1, 25.4}, {"mm"_L1, 1}, {"cm"_L1, 10}, {"pc"_L1, 12 * kPointMm}};
    text = text.trimmed();
    double scale = kPointMm;  // a bare number is in points
    for (const auto &[unit, mm] : kUnits) {
        if (text.endsWith(unit, Qt::CaseInsensitive)) {
            text = text.chopped(unit.size()).trimmed();
            scale = mm;
            break;
        }
    }
    bool ok = false;
    const double value = text.toDouble(&ok) * scale;
    if (!ok || !std::isfinite(value) || std::abs(value) > kMaxLengthMm)
        return std::nullopt;
    return value;
}

QHash<QString, QSizeF> LabelProducts::ReadPaperSizes(const QByteArray &bytes, QString *error)
{
    QHash<QString, QSizeF> sizes;
    QXmlStreamReader xml(bytes.size() <= kMaxFileBytes ? bytes : QByteArray());
    while (!xml.atEnd() && sizes.size() < kMaxPaperSizes) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != "Paper-size"_L1)
            continue;
        bool ok = true;
        Attributes paper(xml, ok);
        const QString id = paper.text("id"_L1);
        const QSizeF size(paper.size("width"_L1), paper.size("height"_L1));
        if (ok && !id.isEmpty() && !size.isEmpty())
            sizes.insert(id, size);
    }
    if (error)
        *error = bytes.size() > kMaxFileBytes ? u"larger than 8 MB"_s : xml.hasError() ? xmlFault(xml) : QString();
    return sizes;
}

QList<LabelProduct> LabelProducts::ReadTemplates(const QByteArray &bytes, const QHash<QString, QSizeF> &paperSizes,
                                                 const QList<LabelProduct> &known, QString *error)
{
    QList<LabelProduct> products;
    QHash<QString, qsizetype> byName;
    QHash<QString, const LabelProduct *> before;  // made when a copy first needs it
    // The file's own products first, then the latest of those read before.
    const FindOriginal findOriginal = [&](const QString &name) -> const LabelProduct * {
        const QString key = nameKey(name);
        if (const auto own = byName.constFind(key); own != byName.cend())
            return &products.at(*own);
        if (before.isEmpty())
            for (const LabelProduct &product : known)
                before.insert(nameKey(product.name()), &product);
        return before.value(key);
    };
    qsizetype positions = 0;
    QString fault;
    QXmlStreamReader xml(bytes);
    if (bytes.size() > kMaxFileBytes)
        fault = u"larger than 8 MB"_s;
    else if (xml.readNextStartElement() && xml.name() != "Glabels-templates"_L1)
        fault = u"not a label template file"_s;
    while (fault.isEmpty() && xml.readNextStartElement()) {
        if (xml.name() != "Template"_L1) {
            xml.skipCurrentElement();
        } else if (products.size() == kMaxProductsPerFile || positions > kMaxFilePositions) {
            fault = QStringLiteral("more than %1 products or %2 labels").arg(kMaxProductsPerFile).arg(kMaxFilePositions);
        } else if (std::optional<LabelProduct> product = readTemplate(xml, paperSizes, findOriginal)) {
            for (const ProductLabel &label : product->labels)
                positions += label.positions.size();
            byName.insert(nameKey(product->name()), products.size());
            products.append(std::move(*product));
        }
    }
    while (fault.isEmpty() && !xml.atEnd())  // what follows the root must be well-formed too
        xml.readNext();
    if (fault.isEmpty() && xml.hasError())
        fault = xmlFault(xml);
    if (error)
        *error = fault;
    return products;
}

QStringList LabelProducts::TemplateFolders()
{
    QStringList folders{u"/usr/share/libglabels-3.0/templates"_s, u"/usr/share/glabels-qt/templates"_s};
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!config.isEmpty())
        folders.append(config + u"/libglabels/templates"_s);
    return folders;
}

QList<LabelProduct> LabelProducts::ReadFolders(const QStringList &folders, const std::function<void(const QString &)> &note)
{
    const QHash<QString, QSizeF> paperSizes = readPaperSizes(folders, note);
    QList<LabelProduct> products;
    QHash<QString, qsizetype> byName;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList(kTemplateFiles, QDir::Files, QDir::Name)) {
            if (name == kPaperSizesFile || name == "categories.xml"_L1 || name == "vendors.xml"_L1)
                continue;
            const QString path = dir.filePath(name);
            QString reason;
            QList<LabelProduct> read;
            if (const std::optional<QByteArray> bytes = readFile(path, reason))
                read = ReadTemplates(*bytes, paperSizes, products, &reason);
            if (!reason.isEmpty()) {
                if (note)
                    note(QStringLiteral("pelora: skipped label templates %1: %2").arg(path, reason));
                continue;
            }
            for (LabelProduct &product : read) {
                const QString key = nameKey(product.name());
                if (const auto same = byName.constFind(key); same != byName.cend()) {
                    products[*same] = std::move(product);
                } else if (products.size() < kMaxProducts) {
                    byName.insert(key, products.size());
                    products.append(std::move(product));
                }
            }
        }
    }
    return products;
}

namespace {

// A template file as the file system has it: a file the designer saves
// anew, even to the same size, gets a new change time (and, saved by a
// rename, a new inode).
struct TemplateFile
{
    QString path;
    qint64 size = 0, inode = 0, modified = 0, changed = 0;  // times in nanoseconds
    bool operator==(const TemplateFile &) const = default;
};

// The installed database as last read, and what its folders held then.
struct InstalledDatabase
{
    bool read = false;
    QStringList folders;
    QList<TemplateFile> files;
    QList<LabelProduct> products;
};

InstalledDatabase &installed()
{
    static InstalledDatabase database;
    return database;
}

QList<TemplateFile> templateFiles(const QStringList &folders)
{
    QList<TemplateFile> files;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList(kTemplateFiles, QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            struct stat st {};
            if (::stat(QFile::encodeName(path).constData(), &st) != 0)
                continue;
            const auto nanoseconds = [](const timespec &time) { return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec; };
            files << TemplateFile{path, qint64(st.st_size), qint64(st.st_ino), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
        }
    }
    return files;
}

void readInstalled(InstalledDatabase &database, const QStringList &folders, QList<TemplateFile> files)
{
    database.folders = folders;
    database.files = std::move(files);
    database.products = LabelProducts::ReadFolders(folders, [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    database.read = true;
}

}  // namespace

const QList<LabelProduct> &LabelProducts::Installed()
{
    InstalledDatabase &database = installed();
    if (!database.read) {
        const QStringList folders = TemplateFolders();
        readInstalled(database, folders, templateFiles(folders));
    }
    return database.products;
}

void LabelProducts::Refresh()
{
    InstalledDatabase &database = installed();
    if (!database.read)
        return;
    const QStringList folders = TemplateFolders();
    QList<TemplateFile> files = templateFiles(folders);
    if (folders != database.folders || files != database.files)
        readInstalled(database, folders, std::move(files));
}

const LabelProduct *LabelProducts::Find(const QList<LabelProduct> &products, const QString &name)
{
    const QString key = nameKey(name);
    const auto found = std::find_if(products.cbegin(), products.cend(),
                                    [&](const LabelProduct &product) { return nameKey(product.name()) == key; });
    return found == products.cend() ? nullptr : &*found;
}

QStringList LabelProducts::CloseMatches(const QList<LabelProduct> &products, const QString &name, int most)
{
    const QString key = nameKey(name).left(kMaxNameMatch);
    const QStringList words = key.split(u' ', Qt::SkipEmptyParts);
    // The more of the words the name holds, the closer; then the fewer edits,
    // to the whole name or to the part alone.
    struct Match { qsizetype words; int edits; QString name; };
    std::vector<Match> matches;
    for (const LabelProduct &product : products) {
        const QString candidate = nameKey(product.name());
        const qsizetype held = std::count_if(words.cbegin(), words.cend(), [&](const QString &word) { return candidate.contains(word); });
        const int edits = std::min(editDistance(key, QStringView(candidate).left(kMaxNameMatch)),
                                   editDistance(key, QStringView(nameKey(product.part)).left(kMaxNameMatch)));
        if (held > 0 || edits <= std::max<qsizetype>(2, key.size() / 3))
            matches.push_back({held, edits, product.name()});
    }
    std::stable_sort(matches.begin(), matches.end(), [](const Match &a, const Match &b) {
        return a.words != b.words ? a.words > b.words : a.edits < b.edits;
    });
    QStringList names;
    for (std::size_t i = 0; i < matches.size() && names.size() < most; ++i)
        names.append(matches[i].name);
    return names;
}

bool ProductFit::fitsAny() const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [](const QList<LabelSlot> &list) { return !list.isEmpty(); });
}

bool ProductFit::holds(const QList<FaceKindId> &kinds) const
{
    return std::all_of(kinds.begin(), kinds.end(), [this](FaceKindId kind) { return !places(kind).isEmpty(); });
}

ProductFit LabelProducts::FitJacket(const LabelProduct &product)
{
    ProductFit fit;
    for (const ProductLabel &label : product.labels) {
        // The first kind of face whose place the label is, in the table's order.
        for (const FaceKind &kind : FaceKinds::all()) {
            const std::optional<QRectF> area = placeIn(label, kind.place);
            if (!area)
                continue;
            const bool round = kind.place.shape == ProductPlace::Round;
            // A picture reaches the waste the product allows, else its margin.
            const double bleed = round || label.wasteMm > 0 ? label.wasteMm : label.marginMm;
            // Ink may reach into the waste beyond the label's edges, but not
            // over a booklet panel's fold onto its other page.
            const QSizeF waste = label.sideWasteMm;
            QRectF reach = QRectF(QPointF(), label.size).marginsAdded({waste.width(), waste.height(), waste.width(), waste.height()});
            if (area->left() > 0)
                reach.setLeft(area->left());
            if (area->top() > 0)
                reach.setTop(area->top());
            for (const QPointF &at : label.positions) {
                LabelSlot slot{area->translated(at), bleed, {}};
                for (const QLineF &line : label.foldLines) {
                    if (!round)
                        slot.foldLines.append(line.translated(at));
                }
                slot.wasteMm = label.wasteMm;
                slot.holeMm = round ? 2 * label.holeMm : 0;
                slot.reach = reach.translated(at);
                fit.places(kind.id).append(std::move(slot));
            }
            break;
        }
    }
    return fit;
}

QList<LabelProduct> LabelProducts::JacketProducts(const QList<LabelProduct> &products)
{
    QList<LabelProduct> fitting;
    std::copy_if(products.cbegin(), products.cend(), std::back_inserter(fitting),
                 [](const LabelProduct &product) { return FitJacket(product).fitsAny(); });
    return fitting;
}
