// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

// How the about box hands an address to the desktop; tests put a recorder
// in its place. Defaults to QDesktopServices::openUrl.
extern std::function<bool(const QUrl &)> OpenUrlOnDesktop;

// The program's home page. There is no web site, so it is the README that
// `cmake --install` puts in the documentation folder, found from the
// executable's folder; when that is missing (run from a build folder) the
// README of the source tree stands in if it is there.
QUrl HomePageUrl();
QUrl HomePageUrl(const QString &applicationDir, const QString &sourceReadme);

// The about box: program name and version, and a link to the home page.
class TVerform : public QDialog
{
    Q_OBJECT
public:
    explicit TVerform(QWidget *parent = nullptr);

    void FormCreate();
    void Label1Click();
    void Button1Click();

    QLabel *Label4;
    QLabel *Label1;
    QPushButton *Button1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QUrl m_address;
};
