// SPDX-License-Identifier: GPL-3.0-or-later
// A destination's PPD as the print server hands it over, read for its disc
// tray, and a label of each usual ring placed in that tray. Whatever the
// driver's description says, the page chosen is a real page and the job's
// options name something.
#include "core/cups/DiscTrays.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<DiscTrays::Tray> tray = DiscTrays::ReadPpd(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!tray)
        return 0;
    check(!tray->pages.isEmpty());
    for (const auto &[outer, inner] : {std::pair(117.0, 41.0), std::pair(120.0, 22.0), std::pair(130.0, 15.0)}) {
        const DiscTrays::Choice choice = DiscTrays::Choose(*tray, outer, inner);
        check(choice.page.isValid());
        check(std::isfinite(choice.largestRingMm) && choice.largestRingMm >= 0);
        check(choice.holdsRing || !DiscTrays::RingTooWideNotice(choice, outer).isEmpty());
        for (const auto &option : choice.options)
            check(!option.first.isEmpty() && !option.second.isEmpty());
    }
    return 0;
}
