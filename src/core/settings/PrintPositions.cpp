// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/PrintPositions.h"

#include "core/settings/PerPrinter.h"
#include "core/settings/SettingsKeys.h"

namespace PrintPositions {
namespace {

const QString kSection = QStringLiteral("PrintPosition");

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
    correction.offsetXMm = readValue(file, SettingsKeys::destinationKey(destination, "OffsetX"), 0, PrintCorrection::offsetFrom);
    correction.offsetYMm = readValue(file, SettingsKeys::destinationKey(destination, "OffsetY"), 0, PrintCorrection::offsetFrom);
    correction.scalePercent = readValue(file, SettingsKeys::destinationKey(destination, "Scale"), 100, PrintCorrection::scaleFrom);
    return correction;
}

void write(SettingsFile &file, const QString &destination, const PrintCorrection &correction)
{
    const auto number = [](double value) { return QString::number(value, 'f', 1); };
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "OffsetX"), number(correction.offsetXMm));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "OffsetY"), number(correction.offsetYMm));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Scale"), number(correction.scalePercent));
}

PrintCorrection load(const QString &destination) { return PerPrinter::load(read, destination); }

bool save(const QString &destination, const PrintCorrection &correction, QString *why)
{
    return PerPrinter::save(write, destination, correction, why);
}

}  // namespace PrintPositions
