// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "core/layout/JacketLayout.h"

#include <optional>

// The program's command line. With no argument, or with document paths and
// no option, the window opens (with the first document); the options
// --export-pdf and --print do their work without a window, on the same
// layout and print code, and end (CommandLine::run), as does --import-cd,
// which writes a disc's track list as a document.
namespace CommandLine {

enum class Command { Window, ExportPdf, Print, ImportCd, Help, Version, Invalid };

enum class Side { Front, Back, Both, Label, Obi };

struct Options
{
    Command command = Command::Window;
    QString document;
    QString output;  // --export-pdf, --import-cd
    QString source;  // --import-cd: a drive or a disc image
    bool lookup = false;  // --import-cd: ask MusicBrainz for a disc without CD-TEXT
    Side side = Side::Front;
    bool oneSheet = false;  // both faces on one sheet
    bool verticalSpine = false;
    bool noNumbers = false;
    std::optional<QString> titleSize;
    std::optional<QString> itemSize;
    QString printer;
    std::optional<int> copies;
    std::optional<FaceMarks> marks;  // on plain paper
    QString product;                 // a pre-cut product, "Brand Part"
    QString error;  // Invalid: what is wrong, for standard error
};

// Exit statuses of the commands.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsageError = 2;

// The program's name in its messages.
inline const QString kProgram = QStringLiteral("pelora");

// How the paths go, for the messages that find them mixed up, with the
// names of the run's language.
QString exportForm();
QString printForm();
QString importForm();

// An Invalid command that says what is wrong.
Options invalid(const QString &error);

// The arguments after the program's name, as the system gives them.
QStringList argumentsOf(int argc, char **argv);

// Reads the arguments (the program's name left out). Qt's own options
// (-platform, -style, …) are let through for the window's toolkit.
Options parse(const QStringList &arguments);

// --help in the run's language.
QString usage();
QString versionText();

}  // namespace CommandLine
