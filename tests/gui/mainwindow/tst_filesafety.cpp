// SPDX-License-Identifier: GPL-3.0-or-later
// No file of the user's is ever changed, moved or deleted by what the window
// does with its own files: random sequences of New, Open, cover choices,
// Save, Save As, recovery copies and restarts, in a folder full of the
// user's files of every shape (pictures named like documents, with dots and
// without, links to files elsewhere, folders and links at the names of
// cover files, read-only pictures, links and folders in the recovery
// folder). After every step: every file of the user's is as it was (bytes,
// inode, mode, link), nothing new appears but documents and their covers,
// a failed save left the old files whole, every document saved reopens
// with its lines and cover, and recovery copies are private.
//
// PELORA_FILE_SAFETY_RUNS and PELORA_FILE_SAFETY_SEED choose how many
// sequences and from which seed; a failure prints the shortest sequence
// that shows it.
#include "core/jacket/JacketFiles.h"
#include "core/jacket/RecoveryKeeper.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QRandomGenerator>

#include <sys/stat.h>

namespace {

// What the user does, with every choice made up front so that a sequence
// runs the same each time.
struct Step
{
    enum Kind { New, Open, Edit, ChooseCover, RemoveCover, Save, SaveAs, KeepCopy, Restart } kind;
    QString name;     // to open, to type in Save As (empty: cancel), the picture
    int answer = 0;   // to "save the changes?": save, don't, cancel
    QString saveAs;   // the name typed when that save asks for one

    QString toString() const
    {
        static const char *const kNames[] = {"New", "Open", "Edit", "ChooseCover", "RemoveCover", "Save", "SaveAs", "KeepCopy", "Restart"};
        QString text = QString::fromLatin1(kNames[kind]);
        if (!name.isEmpty())
            text += QStringLiteral(" \"%1\"").arg(name);
        if (kind == New || kind == Open)
            text += QStringLiteral(" (changes: %1%2)").arg(QStringList{"save", "don't", "cancel"}[answer], saveAs.isEmpty() ? QString() : " as \"" + saveAs + '"');
        return text;
    }
};

const QStringList kOpened = {"album.plr", "linked.plr", "folder.plr", "Tour 2024.08", "曲目 2.plr", "doclink.plr",
                             "Best of 2024 Vol.2.jpg", "missing.plr", "Op.27.plr", "Best of 2024 Vol.2.plr"};
const QStringList kTyped = {"Best of 2024 Vol.2", "Op.27", "Tour 2024.08", "曲目 2.plr", "album", "linked", "folder",
                            "new name", "Op.27.PLR", "doclink.plr", ""};
const QStringList kPictures = {"cover.jpg", "Best of 2024 Vol.2.png", "Tour 2024.08.jpg", "readonly.jpg"};

QString pick(QRandomGenerator &random, const QStringList &from) { return from[int(random.bounded(from.size()))]; }

QList<Step> randomSequence(QRandomGenerator &random)
{
    QList<Step> steps;
    const int length = 1 + int(random.bounded(12));
    for (int i = 0; i < length; ++i) {
        Step step{Step::Kind(random.bounded(9))};
        if (step.kind == Step::Open)
            step.name = pick(random, kOpened);
        else if (step.kind == Step::SaveAs)
            step.name = pick(random, kTyped);
        else if (step.kind == Step::ChooseCover)
            step.name = pick(random, kPictures);
        else if (step.kind == Step::Edit)
            step.name = QStringLiteral("題 %1").arg(i);
        step.answer = int(random.bounded(3));
        step.saveAs = pick(random, kTyped);
        steps << step;
    }
    return steps;
}

}  // namespace

class FileSafetyTest : public QObject
{
    Q_OBJECT
private slots:
    void userFilesSurviveEverySequence();

private:
    // Runs a sequence in a new folder: empty when every step kept the rule,
    // else what went wrong and at which step.
    QString run(const QList<Step> &steps);
    void makeUsersFiles();
    QString doStep(const Step &step);
    QString checkAfter(const QString &target, const Jacket &before, bool saveFailed, const QMap<QString, QString> &previous);
    QString checkRecoveryIsPrivate() const;
    QString music(const QString &name) const { return m_root->filePath(QStringLiteral("music/") + name); }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<TForm1> m_form;
    QMap<QString, QString> m_users;  // the user's files, as they must stay
    QMap<QString, Jacket> m_saved;   // documents saved, as they must reopen
    QSet<QString> m_named;           // the files those saves wrote
};

void FileSafetyTest::makeUsersFiles()
{
    const QDir root(m_root->path());
    for (const char *folder : {"music/docs", "music/folder.plr.png", "outside", "state/pelora/recovery/notes", "config"})
        QVERIFY(root.mkpath(QLatin1String(folder)));
    const QByteArray jpeg = TestSupport::pictureBytes("JPEG");
    const QByteArray png = TestSupport::pictureBytes("PNG");
    const auto document = [](const char *title) { return JacketFormat::toBytes({QString::fromUtf8(title), {"一曲目", "二曲目"}}); };
    const QList<std::pair<const char *, QByteArray>> files = {
        {"music/Best of 2024 Vol.2.jpg", jpeg + "1"}, {"music/Best of 2024 Vol.2.png", png}, {"music/Op.27.jpg", jpeg + "2"},
        {"music/Tour 2024.08.jpg", jpeg + "3"},       {"music/Tour 2024.08", document("ツアー")},  {"music/cover.jpg", jpeg + "4"},
        {"music/album.plr", document("アルバム")},    {"music/album.plr.JPG", jpeg + "5"},       {"music/linked.plr", document("リンク")},
        {"music/folder.plr", document("フォルダ")},   {"music/folder.plr.png/keep.txt", "mine"}, {"music/readonly.jpg", jpeg + "6"},
        {"music/曲目 2.plr", document("曲目")},       {"music/docs/real.plr", document("本物")}, {"outside/photo.jpg", jpeg + "7"},
        {"state/pelora/recovery/notes/a.txt", "mine"}};
    for (const auto &[path, bytes] : files)
        TestSupport::writeFile(root.filePath(QLatin1String(path)), bytes);
    QVERIFY(QFile::setPermissions(root.filePath(QStringLiteral("music/readonly.jpg")), QFileDevice::ReadOwner | QFileDevice::ReadOther));
    const QList<std::pair<const char *, const char *>> links = {{"music/linked.plr.jpg", "outside/photo.jpg"},
                                                                 {"music/Op.27.plr.png", "outside/stray.png"},
                                                                 {"music/doclink.plr", "music/docs/real.plr"},
                                                                 {"state/pelora/recovery/evil", "outside"}};
    for (const auto &[path, target] : links)
        QVERIFY(QFile::link(root.filePath(QLatin1String(target)), root.filePath(QLatin1String(path))));
}

QString FileSafetyTest::run(const QList<Step> &steps)
{
    m_root = std::make_unique<QTemporaryDir>();
    makeUsersFiles();
    qputenv("PELORA_CONFIG_DIR", QFile::encodeName(m_root->filePath(QStringLiteral("config"))));
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_root->filePath(QStringLiteral("state"))));
    m_users = TestSupport::treeState(m_root->path());
    // The settings folder and the recovery folder are Pelora's; what the
    // user put into the latter is not.
    m_users.removeIf([](const auto &entry) { return entry.key().startsWith(QLatin1String("config")) || entry.key() == QLatin1String("state/pelora/recovery"); });
    m_saved.clear();
    m_named.clear();
    m_form = std::make_unique<TForm1>();
    m_form->show();
    QCoreApplication::processEvents();
    QString failure;
    for (qsizetype i = 0; i < steps.size() && failure.isEmpty(); ++i) {
        failure = doStep(steps[i]);
        if (!failure.isEmpty())
            failure = QStringLiteral("step %1 (%2): %3").arg(i + 1).arg(steps[i].toString(), failure);
    }
    m_form.reset();
    m_root.reset();
    return failure;
}

QString FileSafetyTest::doStep(const Step &step)
{
    MessageRecorder messages;
    DialogAnswers dialogs;
    const Jacket before = m_form->ShownJacket();
    // Where a save in this step may write: the document's own name, or the
    // typed one as the save dialog ends it.
    const auto typed = [](const QString &name) { return name.endsWith(QLatin1String(".plr"), Qt::CaseInsensitive) ? name : name + ".plr"; };
    QString target;
    const QMap<QString, QString> previous = TestSupport::treeState(m_root->path());
    messages.chooseNext(step.answer);
    switch (step.kind) {
    case Step::New:
    case Step::Open:
        if (step.kind == Step::Open)
            dialogs.answers << music(step.name);
        // They ask about changes only when there are some.
        if (step.answer == 0 && m_form->JacketChanged())
            target = HasFileName ? CurrentFileName : step.saveAs.isEmpty() ? QString() : music(typed(step.saveAs));
        if (step.answer == 0 && !HasFileName)
            dialogs.answers << (step.saveAs.isEmpty() ? QString() : music(step.saveAs));
        (step.kind == Step::New ? m_form->New1 : m_form->Open1)->trigger();
        break;
    case Step::Edit:
        m_form->EditTi->setText(step.name);
        m_form->History->record(QStringLiteral("edit"), [&] { m_form->ListBox1->setItems(m_form->ListBox1->items() << step.name); });
        break;
    case Step::ChooseCover:
        dialogs.answers << music(step.name);
        m_form->ChooseCoverMe->trigger();
        break;
    case Step::RemoveCover:
        m_form->RemoveCoverMe->trigger();
        break;
    case Step::Save:
    case Step::SaveAs:
        target = HasFileName ? CurrentFileName : QString();
        if (step.kind == Step::SaveAs || !HasFileName) {
            dialogs.answers << (step.name.isEmpty() ? QString() : music(step.name));
            target = step.name.isEmpty() ? QString() : music(typed(step.name));
        }
        (step.kind == Step::Save ? m_form->Save1 : m_form->SaveAs1)->trigger();
        break;
    case Step::KeepCopy:
        if (m_form->Recovery)
            m_form->Recovery->keepNow();
        break;
    case Step::Restart:
        // As a run that ends without closing: its copy stays for the next.
        m_form.reset();
        m_form = std::make_unique<TForm1>();
        m_form->show();
        QCoreApplication::processEvents();
        break;
    }
    bool saveFailed = false;
    for (const Messages::Request &shown : messages.shown())
        saveFailed |= shown.kind == Messages::Kind::Error && (shown.text.contains(QStringLiteral("作成できません")) || shown.text.contains(QStringLiteral("保存できない")));
    return checkAfter(target, before, saveFailed, previous);
}

QString FileSafetyTest::checkAfter(const QString &target, const Jacket &before, bool saveFailed, const QMap<QString, QString> &previous)
{
    const QMap<QString, QString> now = TestSupport::treeState(m_root->path());
    const QDir root(m_root->path());
    if (!target.isEmpty() && saveFailed) {
        // Whole or nothing: the document and its covers as they were.
        for (const QString &suffix : QStringList{QString()} + CoverPicture::suffixes()) {
            const QString name = root.relativeFilePath(suffix.isEmpty() ? target : JacketFiles::coverPath(target, suffix));
            if (now.value(name) != previous.value(name))
                return QStringLiteral("a save that failed changed %1").arg(name);
        }
    } else if (!target.isEmpty()) {
        // The document a save names is the user's to replace (through its
        // link); its covers are Pelora's.
        for (const QString &name : {root.relativeFilePath(target), root.relativeFilePath(QFileInfo(target).canonicalFilePath())}) {
            m_users.remove(name);
            m_named.insert(name);
        }
        m_saved[target] = before;
    }
    for (auto it = m_users.cbegin(); it != m_users.cend(); ++it) {
        if (now.value(it.key()) != it.value())
            return QStringLiteral("the user's %1 changed: %2 → %3").arg(it.key(), it.value(), now.value(it.key(), "gone"));
    }
    static const QRegularExpression peloras(
        QStringLiteral("^(music/[^/]+\\.[pP][lL][rR](\\.(jpg|png|webp|bmp|gif))?|state/pelora/recovery(/.*)?|config(/.*)?)$"));
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (!m_users.contains(it.key()) && !m_named.contains(it.key()) && !peloras.match(it.key()).hasMatch())
            return QStringLiteral("%1 appeared").arg(it.key());
    }
    for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
        const std::optional<Jacket> document = JacketFormat::fromBytes(TestSupport::readFile(it.key()));
        if (!document || document->title != it->title || document->items != it->items)
            return QStringLiteral("%1 does not reopen with its lines").arg(it.key());
        const bool keepsCover = JacketFiles::keepsCover(it.key());
        const QByteArray cover = JacketFiles::findCover(it.key()).picture.value_or(CoverPicture()).bytes();
        if (keepsCover && cover != it->cover.bytes())
            return QStringLiteral("%1 does not reopen with its cover").arg(it.key());
        if (!keepsCover && !cover.isEmpty())
            return QStringLiteral("%1 has a cover file, but its name does not end in .plr").arg(it.key());
    }
    return checkRecoveryIsPrivate();
}

QString FileSafetyTest::checkRecoveryIsPrivate() const
{
    const QString recovery = m_root->filePath(QStringLiteral("state/pelora/recovery"));
    const QMap<QString, QString> state = TestSupport::treeState(recovery);
    for (auto it = state.cbegin(); it != state.cend(); ++it) {
        if (m_users.contains(QStringLiteral("state/pelora/recovery/") + it.key()))
            continue;
        const QString mode = it.value().section(u' ', 1, 1);
        if (mode != QLatin1String("40700") && mode != QLatin1String("100600"))
            return QStringLiteral("the recovery copy's %1 has mode %2").arg(it.key(), mode);
    }
    return QString();
}

void FileSafetyTest::userFilesSurviveEverySequence()
{
    TForm1::RestoreInNewWindow = [](const QString &) {};
    const int runs = qEnvironmentVariableIsSet("PELORA_FILE_SAFETY_RUNS") ? qEnvironmentVariableIntValue("PELORA_FILE_SAFETY_RUNS") : 150;
    const quint32 seed = qEnvironmentVariableIsSet("PELORA_FILE_SAFETY_SEED") ? quint32(qEnvironmentVariableIntValue("PELORA_FILE_SAFETY_SEED")) : 20261208;
    QRandomGenerator random(seed);
    const mode_t umask = ::umask(0);
    for (int i = 0; i < runs; ++i) {
        QList<Step> steps = randomSequence(random);
        QString failure = run(steps);
        if (failure.isEmpty())
            continue;
        // The shortest sequence that still fails: steps left out one by one.
        for (qsizetype at = steps.size() - 1; at >= 0; --at) {
            QList<Step> shorter = steps;
            shorter.removeAt(at);
            if (const QString still = run(shorter); !still.isEmpty()) {
                steps = shorter;
                failure = still;
            }
        }
        QStringList lines;
        for (const Step &step : std::as_const(steps))
            lines << step.toString();
        ::umask(umask);
        QFAIL(qPrintable(QStringLiteral("sequence %1 of seed %2: %3\nshortest sequence:\n  %4").arg(i).arg(seed).arg(failure, lines.join("\n  "))));
    }
    ::umask(umask);
}

PELORA_TEST_MAIN(FileSafetyTest)
#include "tst_filesafety.moc"
