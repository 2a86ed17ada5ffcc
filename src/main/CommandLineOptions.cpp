// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLineOptions.h"

#include "AppName.h"
#include "CommandLineHelp.h"
#include "SettingsKeys.h"
#include "layout/JacketLayout.h"

#include <QCommandLineParser>

#include <algorithm>
#include <numeric>

namespace CommandLine {
namespace {

// The window's list offers 1 to 50; more than this is a typo, not a ream
// of paper to waste.
constexpr int kMostCopies = 999;

// Qt's own options, which the toolkit takes out of the arguments itself.
const char *const kToolkitValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                            "qwindowgeometry", "geometry", "qwindowtitle", "title",
                                            "qwindowicon", "icon", "style", "stylesheet", "session",
                                            "display", "qmljsdebugger"};
const char *const kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "testability"};

}  // namespace

Options invalid(const QString &error)
{
    Options options;
    options.command = Command::Invalid;
    options.error = error;
    return options;
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

Options parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-platform" is one of Qt's options, not -p -l -a …
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption exportPdf(QStringLiteral("export-pdf"), QString(), QStringLiteral("file"));
    const QCommandLineOption print(QStringLiteral("print"));
    const QCommandLineOption side(QStringLiteral("side"), QString(), QStringLiteral("face"));
    const QCommandLineOption oneSheet(QStringLiteral("one-sheet"));
    const QCommandLineOption verticalSpine(QStringLiteral("vertical-spine"));
    const QCommandLineOption noNumbers(QStringLiteral("no-numbers"));
    const QCommandLineOption titleSize(QStringLiteral("title-size"), QString(), QStringLiteral("size"));
    const QCommandLineOption itemSize(QStringLiteral("item-size"), QString(), QStringLiteral("size"));
    const QCommandLineOption printer(QStringLiteral("printer"), QString(), QStringLiteral("name"));
    const QCommandLineOption copies(QStringLiteral("copies"), QString(), QStringLiteral("count"));
    const QCommandLineOption marks(QStringLiteral("marks"), QString(), QStringLiteral("kind"));
    const QCommandLineOption product(QStringLiteral("product"), QString(), QStringLiteral("name"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QList<QCommandLineOption> own{exportPdf, print,   side,   oneSheet, verticalSpine, noNumbers,
                                        titleSize, itemSize, printer, copies,  marks,         product, help, version};
    parser.addOptions(own);
    for (const char *name : kToolkitValueOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value")));
    for (const char *name : kToolkitFlags)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    if (!parser.parse(QStringList{kProgram} + arguments))
        return invalid(parser.errorText());

    // Without options of its own the program is the window, and opens the
    // first path as it always has.
    if (std::none_of(own.begin(), own.end(), [&](const QCommandLineOption &o) { return parser.isSet(o); }))
        return Options();

    Options options;
    if (parser.isSet(help)) {
        options.command = Command::Help;
        return options;
    }
    if (parser.isSet(version)) {
        options.command = Command::Version;
        return options;
    }
    if (parser.isSet(exportPdf) && parser.isSet(print))
        return invalid(QStringLiteral("--export-pdf and --print cannot be used together"));
    if (!parser.isSet(exportPdf) && !parser.isSet(print))
        return invalid(QStringLiteral("these options need a command: --export-pdf FILE or --print"));
    options.command = parser.isSet(print) ? Command::Print : Command::ExportPdf;

    const QStringList documents = parser.positionalArguments();
    if (documents.isEmpty())
        return invalid(QStringLiteral("no document given"));
    if (documents.size() > 1)
        return invalid(QStringLiteral("one document at a time (%1 given: %2)").arg(documents.size()).arg(documents.join(u' ')));
    options.document = documents.first();

    if (options.command == Command::ExportPdf) {
        options.output = parser.value(exportPdf);
        if (options.output.isEmpty())
            return invalid(QStringLiteral("--export-pdf needs a file name"));
        if (options.output.endsWith(QLatin1String(".plr"), Qt::CaseInsensitive))
            return invalid(QStringLiteral("--export-pdf writes a PDF, not the document '%1': the arguments look swapped (%2)")
                               .arg(options.output, kExportForm));
        if (parser.isSet(printer) || parser.isSet(copies))
            return invalid(QStringLiteral("--printer and --copies go with --print"));
    }

    options.oneSheet = parser.isSet(oneSheet);
    options.side = options.command == Command::ExportPdf || options.oneSheet ? Side::Both : Side::Front;
    if (parser.isSet(side)) {
        const QString value = parser.value(side);
        if (value == QLatin1String("front"))
            options.side = Side::Front;
        else if (value == QLatin1String("back"))
            options.side = Side::Back;
        else if (value == QLatin1String("both"))
            options.side = Side::Both;
        else if (value == QLatin1String("label"))
            options.side = Side::Label;
        else
            return invalid(QStringLiteral("--side must be front, back, both or label, not '%1'").arg(value));
    }
    if (options.oneSheet && options.side != Side::Both)
        return invalid(QStringLiteral("--one-sheet puts both faces on one sheet: it goes with --side both"));
    if (options.command == Command::Print && options.side == Side::Both && !options.oneSheet)
        return invalid(QStringLiteral("--print prints one face, or both with --one-sheet: --side front, --side back or --side both --one-sheet"));

    // The sizes are checked as the window's font-size boxes read them.
    const auto size = [&](const QCommandLineOption &option, std::optional<QString> &target) {
        if (!parser.isSet(option))
            return true;
        target = parser.value(option);
        return FontSizeValue(*target).has_value();
    };
    if (!size(titleSize, options.titleSize))
        return invalid(QStringLiteral("--title-size must be a whole number, not '%1'").arg(*options.titleSize));
    if (!size(itemSize, options.itemSize))
        return invalid(QStringLiteral("--item-size must be a whole number, not '%1'").arg(*options.itemSize));

    if (parser.isSet(copies)) {
        bool ok = false;
        const int count = parser.value(copies).toInt(&ok);
        if (!ok || count < 1)
            return invalid(QStringLiteral("--copies must be a positive whole number, not '%1'").arg(parser.value(copies)));
        if (count > kMostCopies)
            return invalid(QStringLiteral("--copies must be at most %1, not '%2' (for more, run the command again)")
                               .arg(kMostCopies)
                               .arg(parser.value(copies)));
        options.copies = count;
    }
    options.printer = parser.value(printer);
    if (parser.isSet(printer) && options.printer.isEmpty())
        return invalid(QStringLiteral("--printer needs a queue name"));
    if (parser.isSet(marks)) {
        options.marks = SettingsKeys::marksNamed(parser.value(marks));
        if (!options.marks)
            return invalid(QStringLiteral("--marks must be dashed, crop or none, not '%1'").arg(parser.value(marks)));
    }
    options.product = parser.value(product).simplified();
    if (parser.isSet(product) && options.product.isEmpty())
        return invalid(QStringLiteral("--product needs a product's brand and part, e.g. --product \"Avery 8435B\""));
    options.verticalSpine = parser.isSet(verticalSpine);
    options.noNumbers = parser.isSet(noNumbers);
    return options;
}

QString versionText() { return AppName + QStringLiteral(" version" PELORA_VERSION); }

QString usage()
{
    // The same table as the manual pages, with the Japanese argument names.
    using namespace CommandLineHelp;
    const auto text = [](const char *utf8) { return QString::fromStdString(withNames(utf8, true)); };
    const auto indented = [](QString lines, const QString &indent) {
        return indent + lines.replace(u'\n', u'\n' + indent) + u'\n';
    };
    const auto columns = [](const QString &name) {  // CJK characters take two
        return std::accumulate(name.cbegin(), name.cend(), 0, [](int sum, QChar c) { return sum + (c.unicode() >= 0x2E80 ? 2 : 1); });
    };
    const QString margin(6, u' ');
    const QString column(27, u' ');

    QString out = QStringLiteral("使い方 / Usage:\n");
    for (const Form &form : kForms) {
        QString synopsis = QStringLiteral("pelora ") + text(form.command);
        if (*form.arguments)
            synopsis += u' ' + text(form.arguments);
        out += QStringLiteral("  ") + synopsis.replace(u'\n', QStringLiteral("\n         ")) + u'\n';
        out += indented(text(form.what.ja), margin) + indented(text(form.what.en), margin) + u'\n';
    }
    out += QStringLiteral("Options / オプション:\n");
    for (const Option &option : kOptions) {
        const QString name = text(option.name);
        const QString pad(std::max(1, 25 - columns(name)), u' ');
        out += QStringLiteral("  ") + name + pad + text(option.brief.ja) + QStringLiteral(" / ")
            + text(option.brief.en).replace(u'\n', u'\n' + column) + u'\n';
    }
    out += u'\n' + indented(text(kSettings.ja), {}) + indented(text(kSettings.en), {});
    QStringList ja, en;
    for (const ExitStatus &status : kExitStatuses) {
        ja += QString::number(status.code) + u' ' + text(status.brief.ja);
        en += QString::number(status.code) + u' ' + text(status.brief.en);
    }
    out += QStringLiteral("終了ステータス: ") + ja.join(u'、') + QStringLiteral("。\n");
    out += QStringLiteral("Exit status: ") + en.join(QStringLiteral(", ")) + QStringLiteral(".\n");
    return out;
}

}  // namespace CommandLine
