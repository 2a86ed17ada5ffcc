#include "Application.h"

#include "Exception.h"
#include "Fonts.h"
#include "Messages.h"

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("pelora"));
    setApplicationVersion(QStringLiteral("1.25"));
    setDesktopFileName(QStringLiteral("pelora"));
    Fonts::install();
    setFont(Fonts::uiFont(Fonts::WindowPixelSize));
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception &e) {
        Messages::ShowError(e.message());
    } catch (const std::exception &e) {
        Messages::ShowError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
