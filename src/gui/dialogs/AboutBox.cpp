// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/AboutBox.h"

#include "core/common/AppName.h"
#include "core/common/Messages.h"
#include "gui/mainwindow/MainWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#ifndef PELORA_README_FROM_BINDIR
#define PELORA_README_FROM_BINDIR "../share/doc/pelora/README.md"
#endif
#ifndef PELORA_SOURCE_README
#define PELORA_SOURCE_README ""
#endif
#ifndef PELORA_LICENCE_FROM_BINDIR
#define PELORA_LICENCE_FROM_BINDIR "../share/doc/pelora/COPYING"
#endif
#ifndef PELORA_SOURCE_LICENCE
#define PELORA_SOURCE_LICENCE ""
#endif

std::function<bool(const QUrl &)> OpenUrlOnDesktop = [](const QUrl &url) { return QDesktopServices::openUrl(url); };

QUrl HomePageUrl(const QString &applicationDir, const QString &sourceReadme)
{
    const QString installed = QDir::cleanPath(applicationDir + u'/' + QStringLiteral(PELORA_README_FROM_BINDIR));
    if (QFileInfo::exists(installed) || sourceReadme.isEmpty() || !QFileInfo::exists(sourceReadme))
        return QUrl::fromLocalFile(installed);
    return QUrl::fromLocalFile(sourceReadme);
}

QUrl HomePageUrl()
{
    return HomePageUrl(QCoreApplication::applicationDirPath(), QStringLiteral(PELORA_SOURCE_README));
}

QUrl LicenceUrl(const QString &applicationDir, const QString &sourceLicence, const QString &systemLicence)
{
    const QString installed = QDir::cleanPath(applicationDir + u'/' + QStringLiteral(PELORA_LICENCE_FROM_BINDIR));
    for (const QString &file : {installed, sourceLicence, systemLicence})
        if (!file.isEmpty() && QFileInfo(file).isFile())
            return QUrl::fromLocalFile(file);
    return QUrl(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"));
}

QUrl LicenceUrl()
{
    return LicenceUrl(QCoreApplication::applicationDirPath(), QStringLiteral(PELORA_SOURCE_LICENCE),
                      QStringLiteral("/usr/share/common-licenses/GPL-3"));
}

QString LinkText(const QUrl &address, const QFontMetrics &metrics, int width)
{
    const QString path = QDir::toNativeSeparators(address.toLocalFile());
    return metrics.horizontalAdvance(path) <= width ? path : address.fileName();
}

void OpenManual() { OpenManual(HomePageUrl()); }

void OpenManual(const QUrl &manual)
{
    const QString path = QDir::toNativeSeparators(manual.toLocalFile());
    // A system that leaves out /usr/share/doc (dpkg's path-exclude, as in
    // small images) has the program without its README.
    if (!QFileInfo(manual.toLocalFile()).isFile())
        Messages::ShowError(QCoreApplication::translate("TVerform", "マニュアル %1 が見つかりません。").arg(path));
    else if (!OpenUrlOnDesktop(manual))
        Messages::ShowError(QCoreApplication::translate("TVerform", "マニュアル %1 を開けません。").arg(path));
}

TVerform::TVerform(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , m_address(HomePageUrl())
    , m_licence(LicenceUrl())
{
    setObjectName(QStringLiteral("Verform"));
    setFixedSize(224, 126);
    move(299, 127);

    Label4 = new QLabel(VersionLine(), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->adjustSize();
    Label4->move(8, 8);

    // The notice the GPL asks an interactive program to show, with the
    // licence's name a link to its text, between the version and the home
    // page.
    const int textWidth = width() - 2 * 8;
    LicenceLabel = new QLabel(this);
    LicenceLabel->setObjectName(QStringLiteral("LicenceLabel"));
    LicenceLabel->setTextFormat(Qt::RichText);
    LicenceLabel->setWordWrap(true);
    LicenceLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    const QString licenceLink = QStringLiteral("<a href=\"%1\">GPL-3.0-or-later</a>")
                                    .arg(m_licence.toString(QUrl::FullyEncoded).toHtmlEscaped());
    // The text's own line break, not one in the middle of a word.
    QString licenceText = tr("%1 で配布しています。\n保証はありません。").toHtmlEscaped();
    LicenceLabel->setText(licenceText.replace(u'\n', QStringLiteral("<br>")).arg(licenceLink));
    LicenceLabel->setToolTip(m_licence.toString());
    QPalette blueLink = LicenceLabel->palette();
    blueLink.setColor(QPalette::Link, Qt::blue);
    LicenceLabel->setPalette(blueLink);
    LicenceLabel->setGeometry(8, 32, textWidth, LicenceLabel->heightForWidth(textWidth));
    connect(LicenceLabel, &QLabel::linkActivated, this, &TVerform::licenceLinkClick);

    // The README's path, or its file name where the path is too long to be
    // read whole; the tooltip has the whole address.
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(LinkText(m_address, Label1->fontMetrics(), textWidth));
    Label1->setToolTip(m_address.toString());
    QPalette blue = Label1->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label1->setPalette(blue);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->adjustSize();
    Label1->move(8, 72);
    Label1->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(64, 96, 97, 25);
    Button1->setDefault(true);
    Button1->setFocus();
    connect(Button1, &QPushButton::clicked, this, &TVerform::Button1Click);

    FormCreate();
}

void TVerform::FormCreate() { setWindowTitle(tr("バージョン情報")); }

void TVerform::Label1Click()
{
    // Whether the desktop found a program for it is not our concern.
    OpenUrlOnDesktop(m_address);
    accept();
}

void TVerform::licenceLinkClick()
{
    OpenUrlOnDesktop(m_licence);
    accept();
}

void TVerform::Button1Click() { accept(); }

bool TVerform::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // The label holds the mouse from the press on, so a release inside
        // it completes a click that began on it.
        if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint())) {
            Label1Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm1::About1Click()
{
    TVerform dialog(this);
    dialog.exec();
}

void TForm1::ManualMeClick() { OpenManual(); }
