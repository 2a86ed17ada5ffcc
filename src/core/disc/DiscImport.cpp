// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscImport.h"

#include "core/text/TextLines.h"

#include <QCoreApplication>

namespace {

QString either(const QString &first, const QString &second) { return first.isEmpty() ? second : first; }

}  // namespace

ImportedDisc ImportedDiscOf(const DiscContents &contents, QLocale::Language preferred)
{
    const CdTextBlock none;
    const CdTextBlock &block = contents.cdText ? contents.cdText->blockFor(preferred) : none;
    const CdTextBlock &sheet = contents.sheetText;
    ImportedDisc disc;
    disc.title = either(block.album.title, sheet.album.title);
    disc.performer = either(block.album.performer, sheet.album.performer);
    for (const DiscAudioTrack &audio : DiscAudioTracks(contents.toc)) {
        const CdTextEntry text = block.track(audio.number);
        const CdTextEntry sheetEntry = sheet.track(audio.number);
        disc.tracks.push_back({audio.number, either(text.title, sheetEntry.title),
                               either(text.performer, sheetEntry.performer), audio.seconds()});
    }
    return disc;
}

DiscJacketText DiscJacketLines(const ImportedDisc &disc, const DropLineOptions &options)
{
    // The artist part only where there is an artist to tell, so that no
    // line ends in a bare prefix.
    const auto withArtist = [&](const QString &performer) {
        DropLineOptions shaped = options;
        shaped.addArtist = options.addArtist && !performer.isEmpty();
        return shaped;
    };
    DiscJacketText text;
    text.title = disc.title.isEmpty()
        ? TextLines::withoutControls(disc.performer)
        : TrackLine(disc.title, std::nullopt, disc.performer, withArtist(disc.performer));
    for (const ImportedTrack &track : disc.tracks) {
        const QString title = track.title.isEmpty()
            ? QCoreApplication::translate("DiscImport", "トラック %1").arg(track.number)
            : track.title;
        const QString performer = track.performer == disc.performer ? QString() : track.performer;
        text.lines << TrackLine(title, track.seconds, performer, withArtist(performer));
    }
    return text;
}
