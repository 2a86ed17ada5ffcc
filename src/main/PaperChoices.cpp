#include "PaperChoices.h"

#include "ConfigLocation.h"
#include "SettingsFile.h"
#include "SettingsKeys.h"


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

}  // namespace

PaperChoice read(const SettingsFile &file, const QString &destination)
{
    PaperChoice choice;
    if (destination.isEmpty())
        return choice;
    choice.product = file.readString(kSection, SettingsKeys::destinationKey(destination, "Product"), QString()).simplified();
    choice.frontPosition = readPosition(file, SettingsKeys::destinationKey(destination, "Front"));
    choice.backPosition = readPosition(file, SettingsKeys::destinationKey(destination, "Back"));
    return choice;
}

void write(SettingsFile &file, const QString &destination, const PaperChoice &choice)
{
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Product"), choice.product);
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Front"), QString::number(choice.frontPosition));
    file.writeString(kSection, SettingsKeys::destinationKey(destination, "Back"), QString::number(choice.backPosition));
}

PaperChoice load(const QString &destination) { return read(SettingsFile::load(settingsFilePath()), destination); }

bool save(const QString &destination, const PaperChoice &choice)
{
    const QString path = settingsFilePath();
    SettingsFile file = SettingsFile::load(path);
    write(file, destination, choice);
    return file.save(path);
}

}  // namespace PaperChoices
