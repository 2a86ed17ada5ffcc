#include "PaperChoices.h"

#include "ConfigLocation.h"
#include "SettingsFile.h"

#include <QUrl>

namespace PaperChoices {
namespace {

const QString kSection = QStringLiteral("Paper");
// Far more positions than any sheet has, so that junk is not taken for one.
constexpr int kMostPositions = 999;

QString keyOf(const QString &destination, const char *field)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(destination, "/")) + u'.' + QLatin1String(field);
}

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
    choice.product = file.readString(kSection, keyOf(destination, "Product"), QString()).simplified();
    choice.frontPosition = readPosition(file, keyOf(destination, "Front"));
    choice.backPosition = readPosition(file, keyOf(destination, "Back"));
    return choice;
}

void write(SettingsFile &file, const QString &destination, const PaperChoice &choice)
{
    file.writeString(kSection, keyOf(destination, "Product"), choice.product);
    file.writeString(kSection, keyOf(destination, "Front"), QString::number(choice.frontPosition));
    file.writeString(kSection, keyOf(destination, "Back"), QString::number(choice.backPosition));
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
