// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target's entry point once on every file of its seed corpus,
// so that the corpus guards against regressions in the ordinary test run.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    int count = 0;
    QDirIterator it(QString::fromLocal8Bit(argv[1]), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), static_cast<size_t>(bytes.size()));
        ++count;
    }
    if (count == 0) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 1;
    }
    std::printf("%d seeds ran\n", count);
    return 0;
}
