// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog and the about box.
#include "gui/widgets/NCPanel.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/dialogs/DiscAreaDialog.h"
#include "gui/dialogs/PaperDialog.h"
#include "gui/dialogs/PrintPositionDialog.h"
#include "gui/dialogs/OptionsDialog.h"
#include "gui/dialogs/AboutBox.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Every value the dialog edits, as one comparable text.
QString settingsNow(const TForm1 &form)
{
    return QStringLiteral("ext=%1 plusnum=%2 acqtag=%3 artist=%4 time=%5 alldel=%6 del=%7 vertical=%8 prefix=[%9]")
        .arg(form.n1->isChecked()).arg(form.PlusNum->isChecked()).arg(form.AcqTag->isChecked())
        .arg(TagPlus.AddArtist).arg(TagPlus.AddTime).arg(ConfirmDeleteAll).arg(ConfirmDelete)
        .arg(VerticalSpineText).arg(TagPlus.ArtistPrefix);
}

const QString sampleHead = QStringLiteral("印刷失敗ブルース  (03\uFF1A99)");

// On the box itself: the middle of a wide check box may lie past its text.
void clickBox(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

QRadioButton *radioItem(TRadioGroup *group, int index) { return group->findChildren<QRadioButton *>().at(index); }

void retypePrefix(TFormOP &dialog, const QString &keys)
{
    dialog.ComboAf->lineEdit()->selectAll();
    QTest::keyClick(dialog.ComboAf->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(dialog.ComboAf->lineEdit(), keys);
}

void changeEverything(TFormOP &dialog)
{
    for (QCheckBox *box : {dialog.checkKa, dialog.CheckBox1, dialog.CheckDelconf, dialog.CheckAlldelconf,
                           dialog.CheckBox2, dialog.CheckBox4, dialog.CheckBox3})
        clickBox(box);
    clickBox(radioItem(dialog.RgDirSide, dialog.RgDirSide->ItemIndex() == 0 ? 1 : 0));
    retypePrefix(dialog, " / ");
}

// Runs a command of the main window that shows a modal Dialog and acts on
// the dialog once it is up; whatever is still open then is closed, so that
// a failed check cannot leave the test waiting. True when it came up.
template <typename Dialog>
bool whileModal(TForm1 &form, void (TForm1::*command)(), const std::function<void(Dialog &)> &act)
{
    bool seen = false;
    QObject scope;  // no timer outlives a command that shows nothing
    QTimer::singleShot(0, &scope, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<Dialog *>(modal)) {
            seen = true;
            act(*dialog);
        }
        if (modal && modal->isVisible())
            modal->close();
    });
    (form.*command)();
    return seen;
}

// Records the addresses handed to the desktop while it lives.
struct UrlRecorder
{
    QList<QUrl> requested;
    bool opens = true;  // whether the desktop finds a program for it
    std::function<bool(const QUrl &)> saved = OpenUrlOnDesktop;
    UrlRecorder() { OpenUrlOnDesktop = [this](const QUrl &url) { requested << url; return opens; }; }
    ~UrlRecorder() { OpenUrlOnDesktop = saved; }
};

}  // namespace

class OptionsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;

private slots:
    void init()
    {
        m_config = std::make_unique<ScopedConfigDir>();
        // Start-up never sets it: a run begins with the initial value.
        VerticalSpineText = false;
        m_form = std::make_unique<TForm1>();
    }
    void cleanup()
    {
        m_form.reset();
        m_config.reset();
    }

    // Every one-line field of the program takes, of a text pasted into it,
    // the part before the first line break, whichever break that is; a
    // number box takes that part as its number.
    void oneLineFieldsTakeTheFirstLine_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("lineBreak");
        const QList<std::pair<const char *, QString>> fields{{"EditTi", "ab"},   {"ComboBusuu", "12"},  {"ComboAf", " / "},
                                                              {"SearchEdit", "ab"}, {"FrontBox", "2"}, {"OffsetXBox", "-1.5"},
                                                              {"OuterBox", "118.5"}};
        const QList<std::pair<const char *, QString>> breaks{
            {"CR LF", "\r\n"}, {"CR", "\r"}, {"LF", "\n"}, {"VT", "\v"}, {"FF", "\f"}, {"NEL", QString(QChar(0x85))},
            {"LS", QString(QChar(0x2028))}, {"PS", QString(QChar(0x2029))}};
        for (const auto &[field, first] : fields) {
            for (const auto &[name, lineBreak] : breaks)
                QTest::addRow("%s, %s", field, name) << QString::fromLatin1(field) << first << lineBreak;
        }
    }
    void oneLineFieldsTakeTheFirstLine()
    {
        QFETCH(QString, field);
        QFETCH(QString, firstLine);
        QFETCH(QString, lineBreak);
        // Two places for a front, so that its box takes a 2.
        const QList<LabelProduct> products = LabelProducts::ReadTemplates(
            R"(<Glabels-templates><Template brand="Mine" part="Two" size="A4" _description="two fronts">
                 <Label-rectangle id="0" width="121mm" height="121mm"><Layout nx="1" ny="2" x0="10mm" y0="10mm" dx="0" dy="140mm"/></Label-rectangle>
               </Template></Glabels-templates>)",
            {{QStringLiteral("A4"), QSizeF(210, 297)}});
        TFormOP options(m_form.get());
        TPaperForm paper(QStringLiteral("q"), products);
        paper.ProductList->setCurrentRow(1);
        TPrintPositionForm position(QStringLiteral("q"));
        TDiscAreaForm disc(QStringLiteral("q"));
        const QHash<QString, QWidget *> widgets{{"EditTi", m_form->EditTi},        {"ComboBusuu", m_form->ComboBusuu},
                                                {"ComboAf", options.ComboAf},       {"SearchEdit", paper.SearchEdit},
                                                {"FrontBox", paper.FrontBox},       {"OffsetXBox", position.OffsetXBox},
                                                {"OuterBox", disc.OuterBox}};
        QWidget *widget = widgets.value(field);
        QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
        if (!edit)
            edit = widget->findChild<QLineEdit *>();
        QVERIFY(edit && edit->isEnabled());
        edit->selectAll();
        QApplication::clipboard()->setText(firstLine + lineBreak + QStringLiteral("2"));
        QTest::keySequence(widget, QKeySequence::Paste);
        if (auto *box = qobject_cast<QAbstractSpinBox *>(widget)) {
            box->interpretText();
            QCOMPARE(box->property("value").toDouble(), firstLine.toDouble());
        } else {
            QCOMPARE(edit->text(), firstLine);
        }
    }

    void controlsAsDesigned_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");  // labels: position only
        auto row = [](const char *name, const char *parent, const QString &caption, QRect geometry) {
            QTest::newRow(name) << QString::fromLatin1(parent) << caption << geometry;
        };
        row("checkKa", "FormOP", QStringLiteral("ファイル追加時に拡張子を除く"), {16, 8, 185, 25});
        row("CheckBox1", "FormOP", QStringLiteral("印刷時に番号を付ける"), {16, 32, 185, 25});
        row("CheckDelconf", "FormOP", QStringLiteral("削除する時に確認する"), {16, 56, 185, 25});
        row("CheckAlldelconf", "FormOP", QStringLiteral("全て削除する時に確認する"), {16, 80, 185, 25});
        row("NCPanel1", "FormOP", QString(), {8, 120, 425, 193});
        row("CheckBox2", "NCPanel1", QStringLiteral("ファイル追加時にタグ情報を取得する\uFF08ファイル名は捨てます\uFF09"), {8, 8, 337, 25});
        row("CheckBox4", "NCPanel1", QStringLiteral("曲長を付ける"), {32, 40, 169, 25});
        row("CheckBox3", "NCPanel1", QStringLiteral("アーティスト情報を付ける"), {32, 72, 169, 17});
        row("Label1", "NCPanel1", QStringLiteral("アーティスト情報の前に付ける文字列"), {32, 107, -1, -1});
        row("Label3", "NCPanel1", QStringLiteral("サンプル"), {16, 136, -1, -1});
        row("LabelSample", "NCPanel1", sampleHead + QStringLiteral("  歌\uFF1Aモノクロプリンターズ"), {16, 152, 393, 17});
        row("OkBtn", "FormOP", QStringLiteral("OK"), {48, 328, 137, 41});
        row("CancelBtn", "FormOP", QStringLiteral("キャンセル"), {248, 328, 137, 41});
        row("RgDirSide", "FormOP", QStringLiteral("側面の文字の方向"), {224, 8, 209, 97});
    }
    void controlsAsDesigned()
    {
        QFETCH(QString, parent);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        TFormOP dialog(m_form.get());
        dialog.show();
        auto *control = dialog.findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QString shown;
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            shown = button->text();
        else if (auto *label = qobject_cast<QLabel *>(control))
            shown = label->text();
        else if (auto *group = qobject_cast<QGroupBox *>(control))
            shown = group->title();
        QCOMPARE(shown, caption);
        QCOMPARE(control->geometry(), geometry.width() < 0 ? QRect(geometry.topLeft(), control->size()) : geometry);
    }

    void dialogAsDesigned()
    {
        TFormOP dialog(m_form.get());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ペロラ - オプション"));
        // Placed by its frame, as the window manager places windows.
        QCOMPARE(QRect(dialog.pos(), dialog.size()), QRect(192, 107, 449, 405));
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!dialog.windowFlags().testAnyFlags(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint));
        QStringList items;
        for (int i = 0; i < dialog.ComboAf->count(); ++i)
            items << dialog.ComboAf->itemText(i);
        // Two ASCII spaces in front of each, full-width colons.
        QCOMPARE(items, QStringList({QStringLiteral("  by "), QStringLiteral("  歌\uFF1A"), QStringLiteral("  演奏\uFF1A"),
                                     QStringLiteral("  うた\uFF1A"), QStringLiteral("  /")}));
        QCOMPARE(dialog.ComboAf->geometry().topLeft(), QPoint(232, 104));
        QCOMPARE(dialog.ComboAf->width(), 97);
        QCOMPARE(dialog.RgDirSide->itemText(0), QString(QChar(0x7E31)));
        QCOMPARE(dialog.RgDirSide->itemText(1), QStringLiteral("横\u3000\uFF08推奨\uFF09"));
        QCOMPARE(dialog.RgDirSide->ItemIndex(), 1);
        // The sample keeps its size and its white ground whatever it shows.
        QCOMPARE(dialog.LabelSample->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(dialog.LabelSample->autoFillBackground());
        dialog.ComboAf->setEditText(QString(80, u'長'));
        QCOMPARE(dialog.LabelSample->size(), QSize(393, 17));
    }

    void tabOrder()
    {
        TFormOP dialog(m_form.get());
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.checkKa->setFocus();
        const QStringList expected = {"CheckBox1", "CheckDelconf", "CheckAlldelconf", "NCPanel1", "CheckBox2", "CheckBox4",
                                      "CheckBox3", "ComboAf", "OkBtn", "CancelBtn", "RgDirSide", "checkKa"};
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            // The combo's editor and the radio buttons stand for their control.
            QWidget *focus = QApplication::focusWidget();
            visited << (focus->objectName().isEmpty() ? focus->parentWidget()->objectName() : focus->objectName());
        }
        QCOMPARE(visited, expected);
        // The radio group is one tab stop, entered at its selected item.
        dialog.CancelBtn->setFocus();
        QTest::keyClick(dialog.CancelBtn, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), radioItem(dialog.RgDirSide, 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(dialog.RgDirSide->ItemIndex(), 1);
    }

    // Minimised and restored, the dialog is the same dialog: nothing the
    // user changed is read again from the settings.
    void restoringKeepsWhatWasChanged()
    {
        TFormOP dialog(m_form.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const bool before = dialog.checkKa->isChecked();
        dialog.checkKa->setChecked(!before);
        dialog.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(dialog.isMinimized());
        dialog.setWindowState(Qt::WindowNoState);
        QTRY_VERIFY(!dialog.isMinimized());
        QCoreApplication::processEvents();
        QCOMPARE(dialog.checkKa->isChecked(), !before);
    }

    void sampleLine_data()
    {
        QTest::addColumn<bool>("artist");
        QTest::addColumn<bool>("time");
        QTest::addColumn<QByteArray>("expected");
        // Spaces and brackets ASCII, colons full-width (EF BC 9A).
        const QByteArray title = "印刷失敗ブルース";
        const QByteArray time = "  (03" "\xEF\xBC\x9A" "99)";
        const QByteArray artist = "  歌" "\xEF\xBC\x9A" "モノクロプリンターズ";
        QTest::newRow("artist and time") << true << true << title + time + artist;
        QTest::newRow("artist only") << true << false << title + artist;
        QTest::newRow("time only") << false << true << title + time;
        QTest::newRow("title only") << false << false << title;
    }
    void sampleLine()
    {
        QFETCH(bool, artist);
        QFETCH(bool, time);
        QFETCH(QByteArray, expected);
        TFormOP dialog(m_form.get());
        dialog.show();
        if (!artist)
            clickBox(dialog.CheckBox3);
        if (!time)
            clickBox(dialog.CheckBox4);
        QCOMPARE(dialog.LabelSample->text().toUtf8(), expected);
        // Built from the settings on opening as well.
        TagPlus.AddArtist = artist;
        TagPlus.AddTime = time;
        TFormOP reopened(m_form.get());
        reopened.show();
        QCOMPARE(reopened.LabelSample->text().toUtf8(), expected);
    }

    void typedPrefixShownAtOnceAndStoredVerbatim_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("composed");  // committed by the input method after the keys
        QTest::addColumn<bool>("enter");        // Enter in the combo instead of a click on OK
        QTest::addColumn<QString>("prefix");
        QTest::newRow("free text, spaces kept") << " feat. " << QString() << false << " feat. ";
        QTest::newRow("Japanese") << "  " << QStringLiteral("ボーカル\uFF1A") << false << QStringLiteral("  ボーカル\uFF1A");
        QTest::newRow("empty") << QString() << QString() << false << QString();
        QTest::newRow("markup characters") << "<b>&amp;" << QString() << true << "<b>&amp;";
        QTest::newRow("a list item in other case") << "  BY " << QString() << true << "  BY ";
    }
    void typedPrefixShownAtOnceAndStoredVerbatim()
    {
        QFETCH(QString, keys);
        QFETCH(QString, composed);
        QFETCH(bool, enter);
        QFETCH(QString, prefix);
        TFormOP dialog(m_form.get());
        dialog.show();
        QLineEdit *edit = dialog.ComboAf->lineEdit();
        retypePrefix(dialog, keys);
        if (!composed.isEmpty()) {
            QInputMethodEvent event;
            event.setCommitString(composed);
            QCoreApplication::sendEvent(edit, &event);
        }
        QCOMPARE(dialog.LabelSample->text(), sampleHead + prefix + SampleArtist);
        if (enter)
            QTest::keyClick(edit, Qt::Key_Return);
        else
            QTest::mouseClick(dialog.OkBtn, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(TagPlus.ArtistPrefix, prefix);
    }

    void artistOffHidesPrefixButKeepsIt()
    {
        TFormOP dialog(m_form.get());
        dialog.show();
        retypePrefix(dialog, " feat. ");
        clickBox(dialog.CheckBox3);
        QCOMPARE(dialog.LabelSample->text(), sampleHead);
        QTest::keyClicks(dialog.ComboAf->lineEdit(), "x");
        QCOMPARE(dialog.LabelSample->text(), sampleHead);
        QTest::mouseClick(dialog.OkBtn, Qt::LeftButton);
        QVERIFY(!TagPlus.AddArtist);
        QCOMPARE(TagPlus.ArtistPrefix, " feat. x");
    }

    void cancelStoresNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("キャンセル") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Escape") << 2;
    }
    void cancelStoresNothing()
    {
        QFETCH(int, how);
        // Not all at their defaults, so that "unchanged" is not "reset".
        m_form->PlusNum->setChecked(false);
        TagPlus.AddTime = false;
        ConfirmDelete = false;
        TagPlus.ArtistPrefix = QStringLiteral(" x ");
        const QString before = settingsNow(*m_form);
        TFormOP dialog(m_form.get());
        dialog.show();
        changeEverything(dialog);
        if (how == 0)
            QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
        else if (how == 1)
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settingsNow(*m_form), before);
    }

    void okStoresEverythingInMemoryOnly()
    {
        const QByteArray ini = TestSupport::readFile(m_config->filePath("Pelora.ini"));
        const QByteArray dat = TestSupport::readFile(m_config->filePath("Pelora.dat"));
        TFormOP dialog(m_form.get());
        dialog.show();
        changeEverything(dialog);
        QTest::mouseClick(dialog.OkBtn, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settingsNow(*m_form), "ext=0 plusnum=0 acqtag=0 artist=0 time=0 alldel=0 del=0 vertical=1 prefix=[ / ]");
        QCOMPARE(TestSupport::readFile(m_config->filePath("Pelora.ini")), ini);
        QCOMPARE(TestSupport::readFile(m_config->filePath("Pelora.dat")), dat);
    }

    void menuMarksAndDialogAgree_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("box");
        QTest::newRow("strip extensions") << "n1" << "checkKa";
        QTest::newRow("number lines") << "PlusNum" << "CheckBox1";
        QTest::newRow("read tags") << "AcqTag" << "CheckBox2";
    }
    void menuMarksAndDialogAgree()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, box);
        auto *action = m_form->findChild<QAction *>(menuItem);
        QVERIFY(action && action->isChecked());
        action->trigger();
        TFormOP dialog(m_form.get());
        dialog.show();
        auto *check = dialog.findChild<QCheckBox *>(box);
        QVERIFY(!check->isChecked());
        clickBox(check);
        QVERIFY(!action->isChecked());  // not before OK
        QTest::mouseClick(dialog.OkBtn, Qt::LeftButton);
        QVERIFY(action->isChecked());
    }

    void verticalSpineTextLastsForTheRunOnly()
    {
        QPointer<TFormOP> first;
        QVERIFY(whileModal<TFormOP>(*m_form, &TForm1::O2Click, [&](TFormOP &dialog) {
            first = &dialog;
            QVERIFY(dialog.isModal());
            QCOMPARE(dialog.parentWidget(), m_form.get());
            clickBox(radioItem(dialog.RgDirSide, 0));
            QTest::mouseClick(dialog.OkBtn, Qt::LeftButton);
        }));
        QVERIFY(first.isNull());  // built for one use
        QVERIFY(VerticalSpineText);
        int shown = -1;
        QVERIFY(whileModal<TFormOP>(*m_form, &TForm1::O2Click, [&](TFormOP &dialog) { shown = dialog.RgDirSide->ItemIndex(); }));
        QCOMPARE(shown, 0);

        // The run ends, writing its settings files, and the program starts again.
        m_form.reset();
        QProcess next;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        next.setProcessEnvironment(environment);
        next.start(QCoreApplication::applicationFilePath(), {"--fresh-run"});
        QVERIFY(next.waitForFinished(60000));
        QCOMPARE(next.exitCode(), 0);
        QCOMPARE(next.readAllStandardOutput().trimmed(), "VerticalSpineText=0 RgDirSide=1");
    }

    void aboutBoxAsDesigned()
    {
        TVerform box(m_form.get());
        box.show();
        QCOMPARE(box.windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(QRect(box.pos(), box.size()), QRect(299, 127, 224, 126));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QVERIFY(box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!box.windowFlags().testAnyFlags(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint));
        QCOMPARE(box.Label4->text(), QStringLiteral("ペロラ version 1.25"));
        QCOMPARE(box.Label4->pos(), QPoint(8, 8));
        // The licence between the version and the home page, inside the box.
        QTextDocument licence;
        licence.setHtml(box.LicenceLabel->text());
        QCOMPARE(licence.toPlainText(), QStringLiteral("GPL-3.0-or-later で配布しています。\n保証はありません。"));
        QCOMPARE(box.LicenceLabel->palette().color(QPalette::Link), QColor(Qt::blue));
        QCOMPARE(box.LicenceLabel->toolTip(), LicenceUrl().toString());
        QCOMPARE(box.LicenceLabel->x(), 8);
        QVERIFY(box.Label4->geometry().bottom() < box.LicenceLabel->y());
        QVERIFY(box.LicenceLabel->geometry().bottom() < box.Label1->y());
        QVERIFY(box.LicenceLabel->geometry().right() < box.width() - 1);
        // The home page's path whole (the source tree's README, from here).
        QCOMPARE(box.Label1->text(), QDir::toNativeSeparators(HomePageUrl().toLocalFile()));
        QCOMPARE(box.Label1->pos(), QPoint(8, 72));
        QCOMPARE(box.Label1->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QCOMPARE(box.Label1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(box.Label1->toolTip(), HomePageUrl().toString());
        QVERIFY2(box.Label1->geometry().right() < box.width(), qPrintable(box.Label1->text()));
        QCOMPARE(box.Button1->text(), QStringLiteral("OK"));
        QCOMPARE(box.Button1->geometry(), QRect(64, 96, 97, 25));
        QStringList focusable;
        for (QWidget *child : box.findChildren<QWidget *>())
            if (child->focusPolicy() != Qt::NoFocus)
                focusable << child->objectName();
        QCOMPARE(focusable, QStringList{"Button1"});
    }

    void aboutLinkOpensTheAddressAndClosesWithOk_data()
    {
        QTest::addColumn<bool>("licence");
        QTest::addColumn<QUrl>("address");
        QTest::addColumn<QString>("file");  // of the source tree, run from the build folder
        QTest::newRow("home page") << false << HomePageUrl() << "README.md";
        QTest::newRow("licence") << true << LicenceUrl() << "COPYING";
    }

    void aboutLinkOpensTheAddressAndClosesWithOk()
    {
        QFETCH(bool, licence);
        QFETCH(QUrl, address);
        QFETCH(QString, file);
        UrlRecorder desktop;
        QPointer<TVerform> shown;
        int result = -1;
        QVERIFY(whileModal<TVerform>(*m_form, &TForm1::About1Click, [&](TVerform &box) {
            shown = &box;
            QObject::connect(&box, &QDialog::finished, [&](int r) { result = r; });
            if (licence)  // the link is the licence's name, at the start of the line
                QTest::mouseClick(box.LicenceLabel, Qt::LeftButton, {}, QPoint(4, box.LicenceLabel->fontMetrics().height() / 2));
            else
                QTest::mouseClick(box.Label1, Qt::LeftButton);
        }));
        QCOMPARE(desktop.requested, QList<QUrl>{address});
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(shown.isNull());
        const QFileInfo opened(desktop.requested[0].toLocalFile());
        QVERIFY2(opened.isFile(), qPrintable(desktop.requested[0].toString()));
        QCOMPARE(opened.fileName(), file);
    }

    // The manual is the README, in the desktop's viewer; when there is none
    // or nothing opens it, an error says which file.
    void manualOpensTheReadmeOrSaysWhy_data()
    {
        QTest::addColumn<bool>("there");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("opened") << true << true << QStringList{};
        QTest::newRow("no viewer") << true << false << QStringList{"マニュアル %1 を開けません。"};
        QTest::newRow("missing") << false << true << QStringList{"マニュアル %1 が見つかりません。"};
    }

    void manualOpensTheReadmeOrSaysWhy()
    {
        QFETCH(bool, there);
        QFETCH(bool, opens);
        QFETCH(QStringList, messages);
        QTemporaryDir folder;
        const QString readme = folder.filePath("README.md");
        if (there)
            TestSupport::writeFile(readme, "# Pelora\n");
        UrlRecorder desktop;
        desktop.opens = opens;
        MessageRecorder recorder;
        OpenManual(QUrl::fromLocalFile(readme));
        QCOMPARE(desktop.requested, there ? QList<QUrl>{QUrl::fromLocalFile(readme)} : QList<QUrl>{});
        for (QString &text : messages)
            text = text.arg(readme);
        QCOMPARE(recorder.texts(), messages);
        QVERIFY(std::all_of(recorder.shown().begin(), recorder.shown().end(),
                            [](const Messages::Request &r) { return r.kind == Messages::Kind::Error; }));
    }

    void aboutButtonAndCloseBox()
    {
        UrlRecorder desktop;
        TVerform byButton(m_form.get());
        byButton.show();
        QTest::mouseClick(byButton.Button1, Qt::LeftButton);
        QVERIFY(!byButton.isVisible());
        QCOMPARE(byButton.result(), int(QDialog::Accepted));
        TVerform byCloseBox(m_form.get());
        byCloseBox.show();
        byCloseBox.close();
        QCOMPARE(byCloseBox.result(), int(QDialog::Rejected));
        QVERIFY(desktop.requested.isEmpty());
    }

    void homePageIsTheInstalledReadme()
    {
        QTemporaryDir prefix;
        QDir root(prefix.path());
        QVERIFY(root.mkpath("bin") && root.mkpath("share/doc/pelora") && root.mkpath("source"));
        const QString bin = root.filePath("bin");
        const QString installed = root.filePath("share/doc/pelora/README.md");
        const QString source = root.filePath("source/README.md");
        TestSupport::writeFile(source, "# source\n");
        QCOMPARE(HomePageUrl(bin, source), QUrl::fromLocalFile(source));
        TestSupport::writeFile(installed, "# installed\n");
        QCOMPARE(HomePageUrl(bin, source), QUrl::fromLocalFile(installed));
        // Neither there: still where the installed one belongs.
        QVERIFY(QFile::remove(installed) && QFile::remove(source));
        QCOMPARE(HomePageUrl(bin, source), QUrl::fromLocalFile(installed));

        // The licence: the first copy there is of the installed one, the
        // source tree's and the system's; else the GNU project's page.
        const QString installedLicence = root.filePath("share/doc/pelora/COPYING");
        const QString sourceLicence = root.filePath("source/COPYING");
        const QString systemLicence = root.filePath("GPL-3");
        QCOMPARE(LicenceUrl(bin, sourceLicence, systemLicence), QUrl("https://www.gnu.org/licenses/gpl-3.0.html"));
        TestSupport::writeFile(systemLicence, "GPL\n");
        QCOMPARE(LicenceUrl(bin, sourceLicence, systemLicence), QUrl::fromLocalFile(systemLicence));
        TestSupport::writeFile(sourceLicence, "GPL\n");
        QCOMPARE(LicenceUrl(bin, sourceLicence, systemLicence), QUrl::fromLocalFile(sourceLicence));
        TestSupport::writeFile(installedLicence, "GPL\n");
        QCOMPARE(LicenceUrl(bin, sourceLicence, systemLicence), QUrl::fromLocalFile(installedLicence));
    }

    // A link says its whole path, or its file name when the path would not
    // fit; the package's README fits the about box.
    void linkTextIsNeverCut_data()
    {
        QTest::addColumn<QUrl>("address");
        QTest::addColumn<QString>("text");
        QTest::newRow("installed") << QUrl::fromLocalFile("/usr/share/doc/pelora/README.md") << "/usr/share/doc/pelora/README.md";
        QTest::newRow("too long") << QUrl::fromLocalFile("/home/someone/src/" + QString(40, u'p') + "/README.md") << "README.md";
    }

    void linkTextIsNeverCut()
    {
        QFETCH(QUrl, address);
        QFETCH(QString, text);
        TVerform box(m_form.get());
        const int width = box.width() - 2 * box.Label1->x();
        QCOMPARE(LinkText(address, box.Label1->fontMetrics(), width), text);
        QVERIFY(box.Label1->fontMetrics().horizontalAdvance(text) <= width);
    }
};

// With --fresh-run the program reports what a newly started run sees.
static int reportFreshRun()
{
    TForm1 form;
    TFormOP dialog(&form);
    dialog.show();
    std::printf("VerticalSpineText=%d RgDirSide=%d\n", int(VerticalSpineText), dialog.RgDirSide->ItemIndex());
    return 0;
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    TestSupport::prepareEnvironment();
    if (app.arguments().contains(QStringLiteral("--fresh-run")))
        return reportFreshRun();
    OptionsTest tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_options.moc"
