#include "PrintPositions.h"

#include "ConfigLocation.h"
#include "SettingsFile.h"

#include <QUrl>

namespace PrintPositions {
namespace {

const QString kSection = QStringLiteral("PrintPosition");

QString keyOf(const QString &destination, const char *field)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(destination, "/")) + u'.' + QLatin1String(field);
}

double readValue(const SettingsFile &file, const QString &key, double none,
                 std::optional<double> (*accept)(double))
{
    bool isNumber = false;
    const double value = file.readString(kSection, key, QString()).toDouble(&isNumber);
    if (!isNumber)
        return none;
    return accept(value).value_or(none);
}

}  // namespace

PrintCorrection read(const SettingsFile &file, const QString &destination)
{
    PrintCorrection correction;
    if (destination.isEmpty())
        return correction;
    correction.offsetXMm = readValue(file, keyOf(destination, "OffsetX"), 0, PrintCorrection::offsetFrom);
    correction.offsetYMm = readValue(file, keyOf(destination, "OffsetY"), 0, PrintCorrection::offsetFrom);
    correction.scalePercent = readValue(file, keyOf(destination, "Scale"), 100, PrintCorrection::scaleFrom);
    return correction;
}

void write(SettingsFile &file, const QString &destination, const PrintCorrection &correction)
{
    const auto number = [](double value) { return QString::number(value, 'f', 1); };
    file.writeString(kSection, keyOf(destination, "OffsetX"), number(correction.offsetXMm));
    file.writeString(kSection, keyOf(destination, "OffsetY"), number(correction.offsetYMm));
    file.writeString(kSection, keyOf(destination, "Scale"), number(correction.scalePercent));
}

PrintCorrection load(const QString &destination)
{
    return read(SettingsFile::load(settingsFilePath()), destination);
}

bool save(const QString &destination, const PrintCorrection &correction)
{
    const QString path = settingsFilePath();
    SettingsFile file = SettingsFile::load(path);
    write(file, destination, correction);
    return file.save(path);
}

}  // namespace PrintPositions
