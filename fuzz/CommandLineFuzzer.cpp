// SPDX-License-Identifier: GPL-3.0-or-later
// The command line on arbitrary arguments: the bytes are the arguments
// after the program's name, separated by NUL bytes as in argv. Reading
// them never fails in any other way than with an Invalid command and its
// message, and what a command is given is complete.
#include "app/CommandLineOptions.h"

#include "core/layout/JacketLayout.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "FuzzCheck.h"


namespace {

bool same(const CommandLine::Options &a, const CommandLine::Options &b)
{
    return a.command == b.command && a.document == b.document && a.output == b.output && a.side == b.side
           && a.verticalSpine == b.verticalSpine && a.noNumbers == b.noNumbers && a.titleSize == b.titleSize
           && a.itemSize == b.itemSize && a.printer == b.printer && a.copies == b.copies && a.error == b.error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace CommandLine;
    // No bytes at all are no arguments; otherwise n NULs separate n + 1.
    const QList<QByteArray> pieces = size == 0 ? QList<QByteArray>()
                                               : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    if (pieces.size() > 64)
        return 0;
    std::vector<QByteArray> storage{QByteArrayLiteral("pelora")};
    storage.insert(storage.end(), pieces.begin(), pieces.end());
    std::vector<char *> argv;
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const QStringList arguments = argumentsOf(int(storage.size()), argv.data());
    check(arguments.size() == qsizetype(pieces.size()));
    const Options options = parse(arguments);
    check(same(options, parse(arguments)));

    switch (options.command) {
    case Command::Invalid:
        check(!options.error.isEmpty());
        break;
    case Command::Window:
        check(same(options, Options()));
        break;
    case Command::Help:
    case Command::Version:
        break;
    case Command::ExportPdf:
        check(!options.output.isEmpty());
        // Never over a document: the paths would be the wrong way round.
        check(!options.output.endsWith(QLatin1String(".plr"), Qt::CaseInsensitive));
        check(options.printer.isEmpty() && !options.copies);
        [[fallthrough]];
    case Command::Print:
        check(arguments.contains(options.document));
        check(options.command == Command::ExportPdf || options.side != Side::Both);
        check(!options.titleSize || FontSizeValue(*options.titleSize));
        check(!options.itemSize || FontSizeValue(*options.itemSize));
        check(!options.copies || (*options.copies >= 1 && *options.copies <= 999));
        check(options.error.isEmpty());
        break;
    }
    return 0;
}
