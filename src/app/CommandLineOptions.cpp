// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLineOptions.h"

#include "core/common/AppName.h"
#include "app/CommandLineHelp.h"
#include "core/disc/DiscSource.h"
#include "core/settings/SettingsKeys.h"
#include "core/text/Translation.h"
#include "core/layout/JacketLayout.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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

bool isToolkitOption(const QString &name)
{
    return std::any_of(std::begin(kToolkitValueOptions), std::end(kToolkitValueOptions), [&](const char *option) { return name == QLatin1String(option); })
        || std::any_of(std::begin(kToolkitFlags), std::end(kToolkitFlags), [&](const char *option) { return name == QLatin1String(option); });
}

// A jacket document's name: it ends in .plr, in any case.
bool isDocumentName(const QString &path) { return path.endsWith(QLatin1String(".plr"), Qt::CaseInsensitive); }

bool speaksJapanese() { return Translation::ofThisRun() == Translation::Language::Japanese; }

QString named(const char *text) { return QString::fromStdString(CommandLineHelp::withNames(text, speaksJapanese())); }

// --import-cd SOURCE OUT.plr [--lookup], and nothing else of the program's own.
Options importOptions(const QCommandLineParser &parser, const QString &source, bool lookup)
{
    for (const QString &name : parser.optionNames()) {
        if (name != QLatin1String("import-cd") && name != QLatin1String("lookup") && !isToolkitOption(name))
            return invalid(QCoreApplication::translate("CommandLine", "--%1 は --import-cd と一緒に使えません").arg(name));
    }
    if (source.isEmpty())
        return invalid(QCoreApplication::translate("CommandLine", "--import-cd には読み込むドライブかディスクイメージが要ります (%1)").arg(importForm()));
    const QStringList documents = parser.positionalArguments();
    if (documents.isEmpty())
        return invalid(QCoreApplication::translate("CommandLine", "書き出す文書の名前がありません (%1)").arg(importForm()));
    if (documents.size() > 1)
        return invalid(QCoreApplication::translate("CommandLine", "文書は一度に 1 つです（%1 個指定されています: %2）").arg(documents.size()).arg(documents.join(u' ')));
    const QString output = documents.first();
    // A disc where the document goes, or a document where the disc goes.
    const bool outputIsDisc = IsDiscImageFileName(output) || output.startsWith(QLatin1String("/dev/"));
    if (outputIsDisc || (isDocumentName(source) && !isDocumentName(output)))
        return invalid(QCoreApplication::translate("CommandLine", "引数が逆のようです。読み込むドライブかディスクイメージが先、書き出す文書が後です (%1)").arg(importForm()));
    if (!isDocumentName(output))
        return invalid(QCoreApplication::translate("CommandLine", "'%1' には書き出せません（ジャケットの文書の名前は .plr で終わります）").arg(output));

    Options options;
    options.command = Command::ImportCd;
    options.source = source;
    options.output = output;
    options.lookup = lookup;
    return options;
}

}  // namespace

QString exportForm() { return named("pelora --export-pdf {OUT} {DOC}"); }

QString printForm() { return named("pelora --print {DOC}"); }

QString importForm() { return named("pelora --import-cd {DISC} {DOC}"); }

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
    const QCommandLineOption importCd(QStringLiteral("import-cd"), QString(), QStringLiteral("source"));
    const QCommandLineOption lookup(QStringLiteral("lookup"));
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
    const QList<QCommandLineOption> own{exportPdf, print,  importCd, lookup, side,    oneSheet, verticalSpine, noNumbers,
                                        titleSize, itemSize, printer, copies, marks,   product, help,     version};
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
        return invalid(QCoreApplication::translate("CommandLine", "--export-pdf と --print は一緒に使えません"));
    if (parser.isSet(importCd)) {
        if (parser.isSet(exportPdf) || parser.isSet(print))
            return invalid(QCoreApplication::translate("CommandLine", "--import-cd は --export-pdf とも --print とも一緒に使えません"));
        return importOptions(parser, parser.value(importCd), parser.isSet(lookup));
    }
    if (parser.isSet(lookup))
        return invalid(QCoreApplication::translate("CommandLine", "--lookup は --import-cd と一緒に使います"));
    if (!parser.isSet(exportPdf) && !parser.isSet(print))
        return invalid(QCoreApplication::translate("CommandLine", "これらのオプションは --export-pdf ファイル か --print と一緒に使います"));
    options.command = parser.isSet(print) ? Command::Print : Command::ExportPdf;

    const QStringList documents = parser.positionalArguments();
    if (documents.isEmpty())
        return invalid(QCoreApplication::translate("CommandLine", "文書が指定されていません"));
    if (documents.size() > 1)
        return invalid(QCoreApplication::translate("CommandLine", "文書は一度に 1 つです（%1 個指定されています: %2）").arg(documents.size()).arg(documents.join(u' ')));
    options.document = documents.first();

    if (options.command == Command::ExportPdf) {
        options.output = parser.value(exportPdf);
        if (options.output.isEmpty())
            return invalid(QCoreApplication::translate("CommandLine", "--export-pdf には書き出すファイルの名前が要ります"));
        if (options.output.endsWith(QLatin1String(".plr"), Qt::CaseInsensitive))
            return invalid(QCoreApplication::translate("CommandLine", "--export-pdf が書き出すのは PDF で、文書 '%1' ではありません。引数が逆のようです (%2)")
                               .arg(options.output, exportForm()));
        if (parser.isSet(printer) || parser.isSet(copies))
            return invalid(QCoreApplication::translate("CommandLine", "--printer と --copies は --print と一緒に使います"));
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
        else if (value == QLatin1String("obi"))
            options.side = Side::Obi;
        else
            return invalid(QCoreApplication::translate("CommandLine", "--side は front、back、both、label、obi のどれかです（'%1' ではありません）").arg(value));
    }
    if (options.oneSheet && options.side != Side::Both)
        return invalid(QCoreApplication::translate("CommandLine", "--one-sheet は表と裏を 1 枚に並べます。--side both と一緒に使います"));
    if (options.command == Command::Print && options.side == Side::Both && !options.oneSheet)
        return invalid(QCoreApplication::translate("CommandLine", "--print が印刷するのは 1 面か、--one-sheet で表と裏の 2 面です: --side front、--side back、--side both --one-sheet のどれかにします"));

    // The sizes are checked as the window's font-size boxes read them.
    const auto size = [&](const QCommandLineOption &option, std::optional<QString> &target) {
        if (!parser.isSet(option))
            return true;
        target = parser.value(option);
        return FontSizeValue(*target).has_value();
    };
    if (!size(titleSize, options.titleSize))
        return invalid(QCoreApplication::translate("CommandLine", "--title-size は整数です（'%1' ではありません）").arg(*options.titleSize));
    if (!size(itemSize, options.itemSize))
        return invalid(QCoreApplication::translate("CommandLine", "--item-size は整数です（'%1' ではありません）").arg(*options.itemSize));

    if (parser.isSet(copies)) {
        bool ok = false;
        const int count = parser.value(copies).toInt(&ok);
        if (!ok || count < 1)
            return invalid(QCoreApplication::translate("CommandLine", "--copies は 1 以上の整数です（'%1' ではありません）").arg(parser.value(copies)));
        if (count > kMostCopies)
            return invalid(QCoreApplication::translate("CommandLine", "--copies は %1 までです（'%2' ではありません）。もっと多く印刷するときは、コマンドをもう一度実行してください")
                               .arg(kMostCopies)
                               .arg(parser.value(copies)));
        options.copies = count;
    }
    options.printer = parser.value(printer);
    if (parser.isSet(printer) && options.printer.isEmpty())
        return invalid(QCoreApplication::translate("CommandLine", "--printer にはプリンタの名前が要ります"));
    if (parser.isSet(marks)) {
        options.marks = SettingsKeys::marksNamed(parser.value(marks));
        if (!options.marks)
            return invalid(QCoreApplication::translate("CommandLine", "--marks は dashed、crop、none のどれかです（'%1' ではありません）").arg(parser.value(marks)));
    }
    options.product = parser.value(product).simplified();
    if (parser.isSet(product) && options.product.isEmpty())
        return invalid(QCoreApplication::translate("CommandLine", "--product には用紙のメーカーと品番を指定します（例: --product \"Avery 8435B\"）"));
    options.verticalSpine = parser.isSet(verticalSpine);
    options.noNumbers = parser.isSet(noNumbers);
    return options;
}

QString versionText() { return VersionLine(); }

QString usage()
{
    // The same table as the manual pages.
    using namespace CommandLineHelp;
    const bool japanese = speaksJapanese();
    const auto text = [japanese](const Text &both) { return QString::fromStdString(withNames(japanese ? both.ja : both.en, japanese)); };
    const auto indented = [](QString lines, const QString &indent) {
        return indent + lines.replace(u'\n', u'\n' + indent) + u'\n';
    };
    const auto columns = [](const QString &name) {  // CJK characters take two
        return std::accumulate(name.cbegin(), name.cend(), 0, [](int sum, QChar c) { return sum + (c.unicode() >= 0x2E80 ? 2 : 1); });
    };
    const QString margin(6, u' ');
    const QString column(27, u' ');

    QString out = japanese ? QStringLiteral("使い方:\n") : QStringLiteral("Usage:\n");
    for (const Form &form : kForms) {
        QString synopsis = QStringLiteral("pelora ") + named(form.command);
        if (*form.arguments)
            synopsis += u' ' + named(form.arguments);
        out += QStringLiteral("  ") + synopsis.replace(u'\n', QStringLiteral("\n         ")) + u'\n';
        out += indented(text(form.what), margin) + u'\n';
    }
    out += japanese ? QStringLiteral("オプション:\n") : QStringLiteral("Options:\n");
    for (const Option &option : kOptions) {
        const QString name = named(option.name);
        const QString pad(std::max(1, 25 - columns(name)), u' ');
        out += QStringLiteral("  ") + name + pad + text(option.brief).replace(u'\n', u'\n' + column) + u'\n';
    }
    out += u'\n' + indented(text(kSettings), {});
    QStringList statuses;
    for (const ExitStatus &status : kExitStatuses)
        statuses += QString::number(status.code) + u' ' + text(status.brief);
    out += japanese ? QStringLiteral("終了ステータス: ") + statuses.join(u'、') + QStringLiteral("。\n")
                    : QStringLiteral("Exit status: ") + statuses.join(QStringLiteral(", ")) + QStringLiteral(".\n");
    return out;
}

}  // namespace CommandLine
