// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QFontMetrics;
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

// The licence's text: the copy `cmake --install` puts beside the README,
// else the source tree's COPYING (run from a build folder), else the
// system's copy of the GPL (the Debian package ships none of its own and
// points there), else the GNU project's page of it.
QUrl LicenceUrl();
QUrl LicenceUrl(const QString &applicationDir, const QString &sourceLicence, const QString &systemLicence);

// What a link to a local file says in `width` pixels: its whole path when
// that fits, else its file name. Never a cut path; the tooltip has it all.
QString LinkText(const QUrl &address, const QFontMetrics &metrics, int width);

// ヘルプ → マニュアル: the README (the home page above) in the desktop's
// viewer, or an error message when it is missing or nothing opens it.
void OpenManual();
void OpenManual(const QUrl &manual);

// The about box: program name and version, the licence with a link to its
// text, and a link to the home page.
class TVerform : public QDialog
{
    Q_OBJECT
public:
    explicit TVerform(QWidget *parent = nullptr);

    void FormCreate();
    void Label1Click();
    void Button1Click();

    QLabel *Label4;
    QLabel *LicenceLabel;
    QLabel *Label1;
    QPushButton *Button1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void licenceLinkClick();

    QUrl m_address;
    QUrl m_licence;
};
