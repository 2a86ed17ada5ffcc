// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/ProgramSettings.h"

#include "core/files/ConfigLocation.h"
#include "core/settings/DataFile.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsKeys.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDir>

namespace ProgramSettings {

using namespace SettingsKeys;

namespace {

// The run goes on without them: told on standard error, with the reason
// (a link is not Pelora's to write through).
void noteUnwritten(bool written, const QString &path, const QString &why)
{
    if (!written)
        qWarning("pelora: %s is not written: %s", qPrintable(QDir::toNativeSeparators(path)), qPrintable(why));
}

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
    TagPlus.AddArtist = kArtistPlus.readFrom(file, kUpperSection);
    TagPlus.AddTime = kTimePlus.readFrom(file, kUpperSection);
    ConfirmDeleteAll = kConfirmDeleteAll.readFrom(file, kUpperSection);
    ConfirmDelete = kConfirmDelete.readFrom(file, kUpperSection);
    form.PlusNum->setChecked(kPlusNum.readFrom(file, kLowerSection));
    form.n1->setChecked(kExtension.readFrom(file, kLowerSection));
    form.AcqTag->setChecked(kAcquireTags.readFrom(file, kLowerSection));
    form.CoverArtMe->setChecked(kCoverArt.readFrom(file, kLowerSection));
    form.SetMarks(readMarks(file));
    EditorMode = kEditorMode.readFrom(file, kLowerSection);
    form.ComboTFS->setCurrentText(kTitleSize.readFrom(file, kLowerSection));
    form.comboFS->setCurrentText(kItemSize.readFrom(file, kLowerSection));
    // Saved back at once: an absent file is thereby created, empty. A folder
    // that cannot be written to is no reason to stop.
    QString why;
    noteUnwritten(file.save(path, &why), path, why);
}

void WriteSettingsFile(TForm1 &form)
{
    const QString path = settingsFilePath();
    SettingsFile file = SettingsFile::load(path);
    file.writeBool(kUpperSection, kArtistPlus.key, TagPlus.AddArtist);
    file.writeBool(kUpperSection, kTimePlus.key, TagPlus.AddTime);
    file.writeString(kUpperSection, kNumberSuffix, NumberSuffix);
    file.writeBool(kUpperSection, kConfirmDeleteAll.key, ConfirmDeleteAll);
    file.writeBool(kUpperSection, kConfirmDelete.key, ConfirmDelete);
    file.writeBool(kUpperSection, kPlusNum.key, form.PlusNum->isChecked());
    file.writeBool(kUpperSection, kExtension.key, form.n1->isChecked());
    file.writeBool(kUpperSection, kAcquireTags.key, form.AcqTag->isChecked());
    // Written once it differs from the default: files of earlier versions
    // stay as they were.
    if (form.CoverArtMe->isChecked() != kCoverArt.defaultValue || file.contains(kUpperSection, kCoverArt.key))
        file.writeBool(kUpperSection, kCoverArt.key, form.CoverArtMe->isChecked());
    const QString marks = nameOf(form.ChosenMarks());
    if (marks != kMarks.defaultValue || file.contains(kUpperSection, kMarks.key))
        file.writeString(kUpperSection, kMarks.key, marks);
    file.writeBool(kLowerSection, kEditorMode.key, EditorMode);
    file.writeString(kLowerSection, kTitleSize.key, form.ComboTFS->currentText());
    file.writeString(kLowerSection, kItemSize.key, form.comboFS->currentText());
    QString why;
    noteUnwritten(file.save(path, &why), path, why);
}

void WriteDataFile()
{
    QString why;
    noteUnwritten(writeDataFile(dataFilePath(), {TagPlus.ArtistPrefix, NumberSuffix}, &why), dataFilePath(), why);
}

}  // namespace ProgramSettings
