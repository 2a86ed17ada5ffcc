// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>

#include <optional>

class TForm1;
enum class PageFaces;

// While it lives, a disc label is laid out and printed on the destination's
// disc tray page, when the destination has one and no disc-label product is
// chosen for it; the destination gets its own paper back afterwards.
class DiscTrayPaper
{
public:
    DiscTrayPaper(TForm1 &form, PageFaces faces);
    ~DiscTrayPaper();
    DiscTrayPaper(const DiscTrayPaper &) = delete;
    DiscTrayPaper &operator=(const DiscTrayPaper &) = delete;

private:
    std::optional<QPageLayout> m_paper;  // the destination's own, while the tray's is in
};
