#include "ProgramSettings.h"

#include "ConfigLocation.h"
#include "DataFile.h"
#include "SettingsFile.h"
#include "Unit1.h"

#include <QAction>
#include <QComboBox>

namespace ProgramSettings {
namespace {

// Section names as the keys have always been written; they are compared
// without regard to case, so both name one section.
const QString kUpper = QStringLiteral("Opsion");
const QString kLower = QStringLiteral("opsion");

}  // namespace

void ReadDataFile()
{
    const DataFileValues values = readDataFile(dataFilePath());
    TagPlus.ArtistPrefix = values.artistPrefix;
    NumberSuffix = values.numberSuffix;
}

void ReadSettingsFile(TForm1 &form)
{
    const QString path = settingsFilePath();
    const SettingsFile file = SettingsFile::load(path);
    TagPlus.AddArtist = file.readBool(kUpper, QStringLiteral("artistplus"), true);
    TagPlus.AddTime = file.readBool(kUpper, QStringLiteral("tsecplus"), true);
    ConfirmDeleteAll = file.readBool(kUpper, QStringLiteral("alldelconf"), true);
    ConfirmDelete = file.readBool(kUpper, QStringLiteral("delconf"), true);
    form.PlusNum->setChecked(file.readBool(kLower, QStringLiteral("plusnum"), true));
    form.n1->setChecked(file.readBool(kLower, QStringLiteral("ext"), true));
    form.AcqTag->setChecked(file.readBool(kLower, QStringLiteral("acqtag"), true));
    form.CoverArtMe->setChecked(file.readBool(kLower, QStringLiteral("coverart"), true));
    EditorMode = file.readBool(kLower, QStringLiteral("ModeM"), false);
    form.ComboTFS->setCurrentText(file.readString(kLower, QStringLiteral("TFsize"), QStringLiteral("17")));
    form.comboFS->setCurrentText(file.readString(kLower, QStringLiteral("Fsize"), QStringLiteral("14")));
    // Saved back at once: an absent file is thereby created, empty. A folder
    // that cannot be written to is no reason to stop.
    file.save(path);
}

void WriteSettingsFile(TForm1 &form)
{
    const QString path = settingsFilePath();
    SettingsFile file = SettingsFile::load(path);
    file.writeBool(kUpper, QStringLiteral("artistplus"), TagPlus.AddArtist);
    file.writeBool(kUpper, QStringLiteral("tsecplus"), TagPlus.AddTime);
    file.writeString(kUpper, QStringLiteral("backofnum"), NumberSuffix);
    file.writeBool(kUpper, QStringLiteral("alldelconf"), ConfirmDeleteAll);
    file.writeBool(kUpper, QStringLiteral("delconf"), ConfirmDelete);
    file.writeBool(kUpper, QStringLiteral("plusnum"), form.PlusNum->isChecked());
    file.writeBool(kUpper, QStringLiteral("ext"), form.n1->isChecked());
    file.writeBool(kUpper, QStringLiteral("acqtag"), form.AcqTag->isChecked());
    // Written once it differs from the default: files of earlier versions
    // stay as they were.
    if (!form.CoverArtMe->isChecked() || file.contains(kUpper, QStringLiteral("coverart")))
        file.writeBool(kUpper, QStringLiteral("coverart"), form.CoverArtMe->isChecked());
    file.writeBool(kLower, QStringLiteral("ModeM"), EditorMode);
    file.writeString(kLower, QStringLiteral("TFsize"), form.ComboTFS->currentText());
    file.writeString(kLower, QStringLiteral("Fsize"), form.comboFS->currentText());
    file.save(path);
}

void WriteDataFile()
{
    writeDataFile(dataFilePath(), {TagPlus.ArtistPrefix, NumberSuffix});
}

}  // namespace ProgramSettings
