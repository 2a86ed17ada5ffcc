// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/RecoveryKeeper.h"
#include "core/layout/Fonts.h"
#include "core/text/Translation.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/widgets/NCPanel.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScopeGuard>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void controlsStandWhereDesigned();
    void resizeFollowsTheRules();
    void tinyWindowsGiveNoNegativeSizes();
    void menuHasEveryItem();
    void captionNamesTheMode();
    void languageFollowsTheUsersOrder_data();
    void languageFollowsTheUsersOrder();
    void windowSpeaksTheRunsLanguage_data();
    void windowSpeaksTheRunsLanguage();
    void textsUseTheJapaneseGothicFace();
    void titleKeepsTheTextBeforeALineBreak_data();
    void titleKeepsTheTextBeforeALineBreak();
    void exitClosesTheWindow();
    void theRecoveryQuestionTakesNoAnswerByAccident_data();
    void theRecoveryQuestionTakesNoAnswerByAccident();
};

void MainWindowTest::controlsStandWhereDesigned()
{
    ScopedConfigDir config;
    TForm1 form;
    QCOMPARE(form.size(), QSize(637, 480));
    QCOMPARE(form.EditTi->pos(), QPoint(56, 0));
    QCOMPARE(form.EditTi->height(), 24);
    QCOMPARE(form.Labelti->text(), QStringLiteral("タイトル"));
    QCOMPARE(form.Labelti->pos(), QPoint(8, 3));
    QCOMPARE(form.Label3->pos(), QPoint(16, 25));
    QCOMPARE(form.ListBox1->pos().y(), 27);
    QCOMPARE(form.MemoNum->geometry().topLeft(), QPoint(56, 26));
    QCOMPARE(form.MemoNum->width(), 33);
    QVERIFY(!form.MemoNum->isEnabled());
    QCOMPARE(form.ItemMovePnl->pos(), QPoint(11, 48));
    QCOMPARE(form.BtnUP->text(), QStringLiteral("↑"));
    QCOMPARE(form.BtnDown->text(), QStringLiteral("↓"));
    QCOMPARE(form.FuncPanel->y(), 0);
    QCOMPARE(form.FuncPanel->size(), QSize(153, 369));
    QCOMPARE(form.GPBoxF->geometry(), QRect(8, 8, 137, 73));
    QCOMPARE(form.GPBoxF->title(), QStringLiteral("フォントサイズ"));
    QCOMPARE(form.ComboTFS->currentText(), QStringLiteral("17"));
    QCOMPARE(form.comboFS->currentText(), QStringLiteral("14"));
    QCOMPARE(form.ComboBusuu->currentText(), QStringLiteral("1"));
    QCOMPARE(form.ComboTFS->count(), 50);
    QCOMPARE(form.ComboTFS->itemText(49), QStringLiteral("50"));
    QCOMPARE(form.RGTwoSides->title(), QStringLiteral("ジャケット面"));
    QCOMPARE(form.RGTwoSides->itemText(0), QStringLiteral("表"));
    QCOMPARE(form.RGTwoSides->itemText(1), QStringLiteral("裏"));
    QCOMPARE(form.RGTwoSides->ItemIndex(), 0);
    QCOMPARE(form.RGTwoSides->geometry(), QRect(8, 88, 137, 73));
    QCOMPARE(form.Label4->text(), QStringLiteral("印刷部数"));
    QCOMPARE(form.ModeBtn->geometry(), QRect(16, 208, 121, 33));
    QCOMPARE(form.ModeBtn->text(), QStringLiteral("編集モード切替"));
    QCOMPARE(form.BlankBtn->text(), QStringLiteral("白紙の１行を追加"));
    QCOMPARE(form.BlankBtn->parentWidget(), form.ListFuncPanel);
    QCOMPARE(form.DelBtn->geometry(), QRect(16, 288, 121, 33));
    QCOMPARE(form.AllDelbtn->geometry(), QRect(16, 328, 121, 33));
    QCOMPARE(form.AllDelbtn->text(), QStringLiteral("全て削除"));
    QCOMPARE(form.PreVBtn->text(), QStringLiteral("プレビュー"));
    QCOMPARE(form.PreVBtn->y(), 376);
    QCOMPARE(form.Button1->text(), QStringLiteral("印刷"));
    QVERIFY(form.Memo1->isHidden());
}

void MainWindowTest::resizeFollowsTheRules()
{
    ScopedConfigDir config;
    TForm1 form;
    form.show();
    form.resize(629, 400 + form.menuBar()->sizeHint().height());
    QTRY_COMPARE(form.Client->size(), QSize(629, 400));
    QCOMPARE(form.EditTi->width(), 408);
    QCOMPARE(form.FuncPanel->x(), 471);
    QCOMPARE(form.ListBox1->size(), QSize(374, 373));
    QCOMPARE(form.Memo1->size(), QSize(374, 373));
    QCOMPARE(form.MemoNum->height(), 373);
    QCOMPARE(form.ItemMovePnl->height(), 359);
    QCOMPARE(form.BtnUP->y(), 74);
    QCOMPARE(form.BtnDown->y(), 231);
    QCOMPARE(form.PreVBtn->x(), 471);
    QCOMPARE(form.Button1->x(), 551);
    // Everything else keeps its place.
    QCOMPARE(form.PreVBtn->y(), 376);
    QCOMPARE(form.FuncPanel->y(), 0);
    QCOMPARE(form.ListBox1->x(), 90);
}

void MainWindowTest::tinyWindowsGiveNoNegativeSizes()
{
    ScopedConfigDir config;
    TForm1 form;
    form.show();
    form.resize(120, form.menuBar()->sizeHint().height() + 10);
    QTRY_VERIFY(form.Client->width() <= 120);
    for (QWidget *w : {static_cast<QWidget *>(form.EditTi), static_cast<QWidget *>(form.ListBox1),
                       static_cast<QWidget *>(form.Memo1), static_cast<QWidget *>(form.MemoNum),
                       static_cast<QWidget *>(form.ItemMovePnl)}) {
        QVERIFY2(w->width() >= 0 && w->height() >= 0, qPrintable(w->objectName()));
    }
    QCOMPARE(form.ListBox1->height(), 0);
}

void MainWindowTest::menuHasEveryItem()
{
    ScopedConfigDir config;
    TForm1 form;
    auto texts = [](QMenu *menu) {
        QStringList out;
        for (QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    QCOMPARE(form.File1->title(), QStringLiteral("ファイル(&F)"));
    QCOMPARE(texts(form.File1),
             (QStringList{"新規作成(&N)", "開く(&O)", "CDから曲目を読み込む(&T)…", "上書き保存(&S)", "名前を付けて保存(&A)", "表紙の画像を選ぶ(&I)…",
                          "表紙の画像を外す(&R)", "-", "プリンタ設定(&U)", "用紙の選択(&L)…", "プリンタブルディスクの印刷範囲(&D)…",
                          "プレビュー(&V)", "印刷(&P)", "表と裏を1枚でプレビュー(&B)", "表と裏を1枚に印刷(&W)",
                          "レーベルをプレビュー(&E)", "レーベルを印刷(&K)", "帯をプレビュー(&G)", "帯を印刷(&H)", "-",
                          "終了(&X)"}));
    QCOMPARE(form.HenshuMe->title(), QStringLiteral("編集(&E)"));
    QCOMPARE(texts(form.HenshuMe), (QStringList{"編集モード切替(&M)", "-", "白紙の一行を追加(&B)", "削除(&D)", "全て削除(&A)",
                                                "-", "元に戻す(&U)", "やり直し(&R)"}));
    QStringList keys;
    for (QAction *a : {form.New1, form.Open1, form.Save1, form.SaveAs1, form.Print1, form.Exit1, form.UndoMe, form.RedoMe})
        keys << QKeySequence::listToString(a->shortcuts(), QKeySequence::PortableText);
    QCOMPARE(keys, (QStringList{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+P", "Ctrl+Q", "Ctrl+Z", "Ctrl+Y; Ctrl+Shift+Z"}));
    QCOMPARE(form.O1->title(), QStringLiteral("クイックオプション(&Q)"));
    QCOMPARE(texts(form.O1),
             (QStringList{"ファイル追加時に拡張子を除く(&E)", "ファイル追加時にタグ情報を取得(&T)", "印刷時に番号を付ける(&N)",
                          "アルバムアートを表紙に使う(&A)", "MusicBrainz で曲名を調べる(&M)", "-", "切り取りの目印(&K)", "印刷位置の調整(&C)…"}));
    QVERIFY(form.LookupMe->isCheckable() && !form.LookupMe->isChecked());
    for (QAction *a : form.O1->actions().first(4))
        QVERIFY(a->isCheckable() && a->isChecked());
    QCOMPARE(texts(form.MarksMe), (QStringList{"切り取り線(&D)", "トンボ(&C)", "なし(&N)"}));
    QVERIFY(form.MarksDashedMe->isChecked());
    QCOMPARE(form.O2->text(), QStringLiteral("オプション(&O)"));
    QCOMPARE(form.Help1->title(), QStringLiteral("ヘルプ(&H)"));
    QCOMPARE(texts(form.Help1), (QStringList{"マニュアル(&M)", "バージョン情報(&A)"}));
    // The top level, in order.
    QStringList top;
    for (QAction *a : form.menuBar()->actions())
        top << a->text();
    QCOMPARE(top, (QStringList{"ファイル(&F)", "編集(&E)", "クイックオプション(&Q)", "オプション(&O)", "ヘルプ(&H)"}));
}

void MainWindowTest::captionNamesTheMode()
{
    ScopedConfigDir config;
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - リストモード"));
    QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));
    QVERIFY(!HasFileName);
    form.ModeBtnClick();
    QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - エディタモード"));
    form.ModeMe->trigger();
    QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - リストモード"));
}

void MainWindowTest::languageFollowsTheUsersOrder_data()
{
    using Translation::Language;
    QTest::addColumn<Translation::Environment>("environment");  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
    QTest::addColumn<Language>("expected");
    QTest::newRow("Japanese desktop") << Translation::Environment{"", "", "", "ja_JP.UTF-8"} << Language::Japanese;
    QTest::newRow("English desktop") << Translation::Environment{"", "", "", "en_GB.UTF-8"} << Language::English;
    QTest::newRow("French desktop") << Translation::Environment{"", "", "", "fr_FR.UTF-8"} << Language::English;
    QTest::newRow("nothing set") << Translation::Environment{} << Language::English;
    QTest::newRow("French, then Japanese") << Translation::Environment{"fr:ja", "", "", "fr_FR.UTF-8"} << Language::Japanese;
    QTest::newRow("English before Japanese") << Translation::Environment{"en_US:ja", "", "", "ja_JP.UTF-8"} << Language::English;
    QTest::newRow("LC_ALL before LANG") << Translation::Environment{"", "en_US.UTF-8", "", "ja_JP.UTF-8"} << Language::English;
    QTest::newRow("LC_MESSAGES before LANG") << Translation::Environment{"", "", "ja_JP.UTF-8", "en_US.UTF-8"} << Language::Japanese;
    // LANGUAGE does not count in the C locale, whatever names it.
    QTest::newRow("LANGUAGE=ja, LC_ALL=C") << Translation::Environment{"ja", "C", "", "ja_JP.UTF-8"} << Language::English;
    QTest::newRow("LANGUAGE=ja, LC_ALL=POSIX") << Translation::Environment{"ja", "POSIX", "", ""} << Language::English;
    QTest::newRow("LANGUAGE=ja, LANG=C.UTF-8") << Translation::Environment{"ja", "", "", "C.UTF-8"} << Language::English;
    QTest::newRow("LANGUAGE=ja, no locale") << Translation::Environment{"ja", "", "", ""} << Language::English;
}

void MainWindowTest::languageFollowsTheUsersOrder()
{
    QFETCH(Translation::Environment, environment);
    QFETCH(Translation::Language, expected);
    QCOMPARE(Translation::chosenFrom(Translation::userLanguages(environment)), expected);
}

void MainWindowTest::windowSpeaksTheRunsLanguage_data()
{
    QTest::addColumn<Translation::Language>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QStringList>("question");  // title and buttons
    QTest::addColumn<QString>("artistPrefix");  // when no choice is saved
    QTest::addColumn<QString>("qtsOwn");        // Qt's print dialog's caption
    QTest::addColumn<QString>("date");          // English on a Japanese desktop: American
    QTest::newRow("Japanese") << Translation::Language::Japanese << "ペロラ - リストモード" << "ファイル(&F)"
                              << QStringList{"確認", "はい(&Y)", "いいえ(&N)"} << "  歌：" << "印刷" << "2026/12/08 13:02";
    QTest::newRow("English") << Translation::Language::English << "Pelora - List mode" << "&File"
                             << QStringList{"Confirm", "&Yes", "&No"} << "  by " << "Print" << "12/8/26 1:02 PM";
}

// Captions, menus and message boxes are in the language of the run, and
// English leaves no Japanese behind.
void MainWindowTest::windowSpeaksTheRunsLanguage()
{
    QFETCH(Translation::Language, language);
    QFETCH(QString, caption);
    QFETCH(QString, fileMenu);
    QFETCH(QStringList, question);
    QFETCH(QString, artistPrefix);
    QFETCH(QString, qtsOwn);
    QFETCH(QString, date);
    ScopedConfigDir config;
    Translation::install(language);
    const auto back = qScopeGuard([] { Translation::install(Translation::Language::Japanese); });
    TForm1 form;
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.File1->title(), fileMenu);
    QCOMPARE(TagPlus.ArtistPrefix, artistPrefix);
    QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), qtsOwn);
    QCOMPARE(Translation::dateTime(QDateTime(QDate(2026, 12, 8), QTime(13, 2))), date);
    MessageRecorder messages;
    messages.answerNext(false);
    form.EditTi->setText(QStringLiteral("題"));
    form.AllDelbtnClick();
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(QStringList{messages.shown().first().title} + messages.shown().first().buttons, question);
    if (language == Translation::Language::English) {
        const QRegularExpression japanese(QStringLiteral("[\\p{Han}\\p{Hiragana}\\p{Katakana}]"));
        QStringList shown{messages.shown().first().text};
        for (QWidget *widget : form.findChildren<QWidget *>()) {
            if (auto *label = qobject_cast<QLabel *>(widget))
                shown << label->text();
            else if (auto *button = qobject_cast<QAbstractButton *>(widget))
                shown << button->text();
            else if (auto *box = qobject_cast<QGroupBox *>(widget))
                shown << box->title();
        }
        for (QAction *action : form.findChildren<QAction *>())
            shown << action->text();
        for (QMenu *menu : form.findChildren<QMenu *>())
            shown << menu->title();
        QCOMPARE(shown.filter(japanese), QStringList());
    }
}

void MainWindowTest::textsUseTheJapaneseGothicFace()
{
    ScopedConfigDir config;
    TForm1 form;
    // Fontconfig names the faces in the desktop's language.
    const QStringList gothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("Noto Sans CJK JP")};
    QVERIFY2(gothic.contains(QFontInfo(form.EditTi->font()).family()), qPrintable(QFontInfo(form.EditTi->font()).family()));
    QCOMPARE(form.EditTi->font().pixelSize(), 16);
    QCOMPARE(form.ListBox1->font().pixelSize(), 16);
    QCOMPARE(form.Memo1->font().pixelSize(), 16);
    QCOMPARE(form.MemoNum->font().pixelSize(), 16);
    QCOMPARE(form.font().pixelSize(), 12);
    QVERIFY(gothic.contains(QFontInfo(form.Labelti->font()).family()));
    // What the Gothic face lacks comes from the faces after it, never a box.
    const QStringList faces = QFont::substitutes(Fonts::familyName());
    for (const char32_t c : {U'한', U'🎵', U'😀', U'𠮷', U'é'}) {
        const bool drawn = std::any_of(faces.begin(), faces.end(), [c](const QString &face) {
            return QFontDatabase::families().contains(face, Qt::CaseInsensitive) && QRawFont::fromFont(QFont(face)).supportsCharacter(c);
        });
        QVERIFY2(drawn, qPrintable(QStringLiteral("U+%1 in none of %2").arg(quint32(c), 0, 16).arg(faces.join(u','))));
    }
}

// A one-line field takes what is put into it up to its first line break,
// where it was put (pasted, dropped, typed or set); the rest of the field
// stays.
void MainWindowTest::titleKeepsTheTextBeforeALineBreak_data()
{
    QTest::addColumn<int>("cursor");  // -1: the program sets the whole text
    QTest::addColumn<int>("selected");  // characters selected from the cursor on
    QTest::addColumn<QString>("put");
    QTest::addColumn<QString>("title");
    QTest::newRow("pasted at the end") << 5 << 0 << "盤\r\n一曲目\n二曲目" << "Album盤";
    QTest::newRow("pasted in the middle") << 2 << 0 << "XY\nZ" << "AlXYbum";
    QTest::newRow("pasted, break first") << 0 << 0 << "\nrest" << "Album";
    QTest::newRow("pasted over it all, ending as it did") << 0 << 5 << "Live\nAlbum" << "Live";
    QTest::newRow("pasted over a part") << 1 << 3 << "X\nbu" << "AXm";
    QTest::newRow("set by the program") << -1 << 0 << "Title\rSecond" << "Title";
}

void MainWindowTest::titleKeepsTheTextBeforeALineBreak()
{
    QFETCH(int, cursor);
    QFETCH(int, selected);
    QFETCH(QString, put);
    QFETCH(QString, title);
    ScopedConfigDir config;
    TForm1 form;
    form.EditTi->setText(QStringLiteral("Album"));
    if (cursor < 0) {
        form.EditTi->setText(put);
    } else {
        form.EditTi->setSelection(cursor, selected);
        QApplication::clipboard()->setText(put);
        QTest::keySequence(form.EditTi, QKeySequence::Paste);
    }
    QCOMPARE(form.EditTi->text(), title);
}

void MainWindowTest::exitClosesTheWindow()
{
    ScopedConfigDir config;
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Exit1->trigger();
    QVERIFY(!form.isVisible());
}

// The question about a copy a run left, in a real message box: Enter
// restores; Escape and the close button do nothing, so that no copy is
// thrown away by accident.
void MainWindowTest::theRecoveryQuestionTakesNoAnswerByAccident_data()
{
    QTest::addColumn<bool>("escapeFirst");
    QTest::addColumn<bool>("restored");
    QTest::newRow("Enter restores") << false << true;
    QTest::newRow("Escape and closing do nothing") << true << false;
}

void MainWindowTest::theRecoveryQuestionTakesNoAnswerByAccident()
{
    QFETCH(bool, escapeFirst);
    QFETCH(bool, restored);
    const QTemporaryDir folder;
    RecoveryStore(folder.path()).keep({{QStringLiteral("題")}, {}});
    MessageRecorder messages;
    Messages::setHandler({});  // the real box
    // Asked as the window comes up, before the desktop activates it: the
    // question stands over the window all the same.
    QMainWindow window;
    window.show();
    QApplication::setActiveWindow(nullptr);
    const QWidget *owner = nullptr;
    bool stayedOpen = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        owner = box->parentWidget();
        if (escapeFirst) {
            QTest::keyClick(box, Qt::Key_Escape);
            // The window's close button, as the desktop sends it.
            QCloseEvent close;
            QApplication::sendEvent(box, &close);
            stayedOpen = box->isVisible() && !close.isAccepted();
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == QStringLiteral("破棄する(&D)"))
                    button->click();
            }
        } else {
            QCOMPARE(box->icon(), QMessageBox::Question);
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    RecoveryKeeper keeper([] { return true; }, [] { return RecoveryCopy(); }, folder.path(), RecoveryKeeper::kInterval);
    QCOMPARE(keeper.offerLeftCopies([](const RecoveryCopy &) {}, [](const QString &) {}), restored);
    QCOMPARE(stayedOpen, escapeFirst);
    QCOMPARE(owner, &window);
}

PELORA_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
