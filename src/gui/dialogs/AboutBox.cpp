// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/AboutBox.h"

#include "core/common/AppName.h"
#include "gui/mainwindow/MainWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#ifndef PELORA_README_FROM_BINDIR
#define PELORA_README_FROM_BINDIR "../share/doc/pelora/README.md"
#endif
#ifndef PELORA_SOURCE_README
#define PELORA_SOURCE_README ""
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

TVerform::TVerform(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , m_address(HomePageUrl())
{
    setObjectName(QStringLiteral("Verform"));
    setFixedSize(224, 126);
    move(299, 127);

    Label4 = new QLabel(AppName() + QStringLiteral(" version" PELORA_VERSION), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->adjustSize();
    Label4->move(8, 8);

    // A file address is longer than the box is wide: the middle gives way,
    // so that the scheme and the file name stay readable; the tooltip has
    // the whole address.
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    const QString address = m_address.toString();
    Label1->setText(Label1->fontMetrics().elidedText(address, Qt::ElideMiddle, width() - 2 * 8));
    Label1->setToolTip(address);
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
