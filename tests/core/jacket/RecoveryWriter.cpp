// SPDX-License-Identifier: GPL-3.0-or-later
// A run of Pelora as far as recovery goes, for tst_recovery to kill: keeps
// a recovery copy of the document it is given (with the picture beside
// it), says "kept" on standard output, and waits.
#include "core/files/RegularFile.h"
#include "core/jacket/JacketFiles.h"
#include "core/jacket/RecoveryStore.h"

#include <QCoreApplication>

#include <unistd.h>

#include <cstdio>

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: recovery_writer FOLDER DOCUMENT\n", stderr);
        return 2;
    }
    const QString &document = arguments.at(2);
    const std::optional<QByteArray> bytes = readRegularFile(document, JacketFormat::kMostBytes);
    std::optional<Jacket> jacket = bytes ? JacketFormat::fromBytes(*bytes) : std::nullopt;
    if (!jacket)
        return 1;
    RecoveryStore store(arguments.at(1));
    RecoveryCopy copy{*jacket, document};
    copy.jacket.cover = JacketFiles::findCover(document).picture.value_or(CoverPicture());
    store.keep(copy);
    store.waitForWrites();
    std::puts("kept");
    std::fflush(stdout);
    for (;;)
        ::pause();
}
