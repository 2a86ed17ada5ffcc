// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/PaperChoices.h"

#include "core/settings/PerPrinter.h"
#include "core/settings/SettingsKeys.h"

#include <cmath>

namespace PaperChoices {
namespace {

const QString kSection = QStringLiteral("Paper");
// Far more positions than any sheet has, so that junk is not taken for one.
constexpr int kMostPositions = 999;

int readPosition(const SettingsFile &file, const QString &key)
{
    bool isNumber = false;
    const int position = file.readString(kSection, key, QString()).trimmed().toInt(&isNumber);
    return isNumber && position >= 1 && position <= kMostPositions ? position : 1;
}

// A diameter within its range, in tenths; otherwise `none`.
double readDiameter(const SettingsFile &file, const QString &key, double least, double most, double none)
{
    bool isNumber = false;
    const double value = file.readString(kSection, key, QString()).toDouble(&isNumber);
    return isNumber && value >= least && value <= most ? std::round(value * 10) / 10 : none;
}

}  // namespace

PaperChoice read(const SettingsFile &file, const QString &destination)
{
    PaperChoice choice;
    if (destination.isEmpty())
        return choice;
    choice.product = file.readString(kSection, SettingsKeys::destinationKey(destination, "Product"), QString()).simplified();
    choice.frontPosition = readPosition(file, SettingsKeys::destinationKey(destination, "Front"));
    choice.backPosition = readPosition(file, SettingsKeys::destinationKey(destination, "Back"));
    choice.discPosition = readPosition(file, SettingsKeys::destinationKey(destination, "Disc"));
    choice.discOuterMm = readDiameter(file, SettingsKeys::destinationKey(destination, "DiscOuter"), DiscRing::kLeastOuterMm,
                                      DiscRing::kMostOuterMm, DiscRing::kStickerOuterMm);
    choice.discInnerMm = readDiameter(file, SettingsKeys::destinationKey(destination, "DiscInner"), DiscRing::kLeastInnerMm,
                                      DiscRing::kMostInnerMm, DiscRing::kStickerInnerMm);
    return choice;
}

void write(SettingsFile &file, const QString &destination, const PaperChoice &choice)
{
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Product"), choice.product);
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Front"), QString::number(choice.frontPosition));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Back"), QString::number(choice.backPosition));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Disc"), QString::number(choice.discPosition));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "DiscOuter"), QString::number(choice.discOuterMm, 'f', 1));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "DiscInner"), QString::number(choice.discInnerMm, 'f', 1));
}

PaperChoice load(const QString &destination) { return PerPrinter::load(read, destination); }

bool save(const QString &destination, const PaperChoice &choice, QString *why) { return PerPrinter::save(write, destination, choice, why); }

}  // namespace PaperChoices
