#pragma once

#include <QApplication>

// The application object. An exception that leaves an event handler is
// shown in an error box with its message, and the program goes on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
