// SPDX-License-Identifier: GPL-3.0-or-later
// ファイル → CDから曲目を読み込む: a drive's or an image's track list, from its
// CD-TEXT or, with the user's consent, from MusicBrainz, with the release's
// front cover from the Cover Art Archive.
#include "core/common/Messages.h"
#include "core/disc/DiscImport.h"
#include "core/disc/DiscSource.h"
#include "core/intake/DropLines.h"
#include "core/lookup/CoverArt.h"
#include "core/lookup/LookupSettings.h"
#include "core/lookup/MusicBrainz.h"
#include "core/lookup/ReleaseLines.h"
#include "core/text/Translation.h"
#include "gui/dialogs/DiscImportDialog.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/ItemListBox.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QInputDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// Runs `start` and waits, the window still painting, until `finished` is
// signalled or the user cancels (then `cancel` runs). A progress box shows
// after a moment only, so that an image read in a few milliseconds
// flashes nothing.
template <typename Start, typename Cancel>
bool waitWithProgress(QWidget *parent, const QString &label, const Start &start, Cancel cancel)
{
    QEventLoop loop;
    QProgressDialog progress(label, QCoreApplication::translate("TForm1", "キャンセル"), 0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    bool cancelled = false;
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        cancel();
        loop.quit();
    });
    start(loop);
    loop.exec();
    return !cancelled;
}

QString releaseLine(const Release &release)
{
    QStringList details;
    for (const QString &detail : {release.country, release.date})
        if (!detail.isEmpty())
            details << detail;
    details << QCoreApplication::translate("TForm1", "%n 曲", nullptr, int(release.tracks.size()));
    return QCoreApplication::translate("TForm1", "%1 — %2（%3）")
        .arg(release.title, release.artist, details.join(QCoreApplication::translate("TForm1", "、")));
}

}  // namespace

void TForm1::ImportCdClick()
{
    TDiscImportForm form(OpticalDrives(), this);
    if (form.exec() != QDialog::Accepted || form.choice().source.isEmpty())
        return;
    const TDiscImportForm::Choice choice = form.choice();

    // A drive may take seconds to spin up: read it off the window's thread.
    QFutureWatcher<std::pair<std::optional<DiscContents>, DiscUnreadable>> reading;
    const QString source = choice.source;
    const bool read = waitWithProgress(
        this, tr("ディスクを読んでいます…"),
        [&](QEventLoop &loop) {
            QObject::connect(&reading, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
            reading.setFuture(QtConcurrent::run([source] {
                DiscUnreadable why{};
                std::optional<DiscContents> contents = ReadDiscSource(source, &why);
                return std::pair(std::move(contents), why);
            }));
        },
        [] {});
    if (!read)
        return;
    const auto [contents, why] = reading.result();
    if (!contents) {
        Messages::ShowError(tr("%1 から曲目を読み込めません（%2）。").arg(source, DiscReason(why)));
        return;
    }
    const ImportedDisc disc = ImportedDiscOf(*contents, CdTextLanguageFor(Translation::ofThisRun()));
    const DropLineOptions options{AcqTag->isChecked(), n1->isChecked(), TagPlus.AddTime, TagPlus.AddArtist, TagPlus.ArtistPrefix};
    DiscJacketText text = DiscJacketLines(disc, options);
    std::optional<CoverPicture> cover;

    const bool hasText = !disc.title.isEmpty()
                      || std::any_of(disc.tracks.cbegin(), disc.tracks.cend(), [](const ImportedTrack &track) { return !track.title.isEmpty(); });
    // A disc without CD-TEXT is looked up as a matter of course, one with it
    // when the user asks; either way only with the user's consent.
    if ((choice.lookup || !hasText) && LookupAllowed()) {
        DiscQuery query{MusicBrainzDiscId(contents->toc), MusicBrainzToc(contents->toc), {}};
        for (const ImportedTrack &track : disc.tracks)
            query.trackSeconds << track.seconds;
        MusicBrainzLookup lookup;
        MusicBrainzAnswer answer;
        if (!waitWithProgress(
                this, tr("MusicBrainz で調べています…"),
                [&](QEventLoop &loop) {
                    QObject::connect(&lookup, &MusicBrainzLookup::finished, &loop, [&](const MusicBrainzAnswer &a) {
                        answer = a;
                        loop.quit();
                    });
                    lookup.start(query);
                },
                [&] { lookup.abort(); }))
            return;
        if (answer.outcome != LookupOutcome::Found) {
            // Nothing changes: the user may try again once online.
            Messages::ShowMessage(answer.reason);
            return;
        }
        int chosen = 0;
        if (answer.releases.size() > 1) {
            QStringList lines;
            for (const Release &release : std::as_const(answer.releases))
                lines << releaseLine(release);
            bool ok = false;
            const QString line = QInputDialog::getItem(this, tr("リリースの選択"), tr("このディスクのリリース:"), lines, 0, false, &ok);
            if (!ok)
                return;
            chosen = int(lines.indexOf(line));
        }
        const Release &release = answer.releases[chosen];
        const ReleaseText found = releaseText(release, query.trackSeconds,
                                              [options](const QString &title, std::optional<int32_t> seconds, const QString &artist) {
                                                  // No artist part for the release's own artist.
                                                  DropLineOptions line = options;
                                                  line.addArtist = line.addArtist && !artist.isEmpty();
                                                  return TrackLine(title, seconds, artist, line);
                                              });
        text = {found.title, found.lines};
        // The front cover, where the jacket has none or the user wants it replaced.
        const bool wanted = release.frontCover.value_or(true)
                         && (!choice.append || JacketCover.isNull()
                             || Messages::Confirm(tr("表紙の画像を Cover Art Archive の画像に替えますか？")));
        if (wanted) {
            CoverArtFetch fetch;
            CoverArtAnswer picture;
            if (!waitWithProgress(
                    this, tr("表紙の画像を読み込んでいます…"),
                    [&](QEventLoop &loop) {
                        QObject::connect(&fetch, &CoverArtFetch::finished, &loop, [&](const CoverArtAnswer &a) {
                            picture = a;
                            loop.quit();
                        });
                        fetch.start(release.id);
                    },
                    [&] { fetch.abort(); }))
                return;
            QString unusable;
            cover = CoverPictureOf(picture, &unusable);
            if (!cover && picture.outcome != LookupOutcome::NoneFound)
                Messages::ShowMessage(tr("表紙の画像は読み込めませんでした（%1）。").arg(unusable));
        }
    }

    if (!choice.append && !MaySetJacketAside())
        return;
    // Replaced or added to, the jacket changes in one step.
    History->record(tr("CDから読み込む"), [&] {
        if (EditorMode)
            CopyEditorToList();
        if (!choice.append) {
            ClearDocument();
            SetCover(CoverPicture());
            CurrentFileName = tr("無題.plr");
            HasFileName = false;
        }
        if (EditTi->text().isEmpty())
            EditTi->setText(text.title);
        ListBox1->addItems(text.lines);
        if (cover)
            SetCover(*cover);
        RefreshView();
        if (EditorMode) {
            CopyListToEditor();
            RefreshView();
        }
    });
}

void TForm1::SetUpLookupConsent()
{
    LookupMe->setChecked(LookupSettings::consent() == LookupConsent::Allowed);
    connect(LookupMe, &QAction::triggered, this, [this](bool allowed) {
        if (QString why; !LookupSettings::saveConsent(allowed ? LookupConsent::Allowed : LookupConsent::Refused, &why))
            Messages::ShowWarning(tr("設定ファイル Pelora.ini に書き込めませんでした（%1）。").arg(why));
    });
}

bool TForm1::LookupAllowed()
{
    LookupConsent consent = LookupSettings::consent();
    if (consent == LookupConsent::Unasked) {
        const QString server = LookupSettings::musicBrainzBase().host();
        const int answer = Messages::Choose(
            tr("曲名を調べるため、ディスクの識別子と曲の長さを MusicBrainz（%1）に送ります。よろしいですか？").arg(server) + u'\r'
                + tr("この答えは覚えておき、「クイックオプション」の「MusicBrainz で曲名を調べる」で変えられます。"),
            {tr("送る(&S)"), tr("送らない(&N)")}, 0, 1);
        consent = answer == 0 ? LookupConsent::Allowed : LookupConsent::Refused;
        if (QString why; !LookupSettings::saveConsent(consent, &why))
            Messages::ShowWarning(tr("設定ファイル Pelora.ini に書き込めませんでした（%1）。").arg(why));
        LookupMe->setChecked(consent == LookupConsent::Allowed);
    }
    return consent == LookupConsent::Allowed;
}
