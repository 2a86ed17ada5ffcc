#include "Application.h"

#include "Exception.h"
#include "Fonts.h"
#include "Messages.h"

#include <QLibraryInfo>
#include <QTranslator>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("pelora"));
    setApplicationVersion(QStringLiteral(PELORA_VERSION));
    setDesktopFileName(QStringLiteral("pelora"));
    Fonts::install();
    setFont(Fonts::uiFont(Fonts::WindowPixelSize));
    // Qt's own dialogs (files, printer set-up) speak Japanese like the rest
    // of the program, when Qt's translations are installed.
    auto *translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowException(e);
    }
    return false;
}

void TApplication::ShowException(const std::exception &e)
{
    if (const auto *own = dynamic_cast<const Exception *>(&e))
        Messages::ShowError(own->message());
    else
        Messages::ShowError(QString::fromLocal8Bit(e.what()));
}
