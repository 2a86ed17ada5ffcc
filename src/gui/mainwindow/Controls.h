// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPushButton>

// Controls placed at fixed positions in pixels, as every window of the
// program lays them out.
namespace Controls {

// A label sized to its text, with its top-left corner at (left, top).
inline QLabel *label(const QString &text, QWidget *parent, int left, int top)
{
    auto *made = new QLabel(text, parent);
    made->adjustSize();
    made->move(left, top);
    return made;
}

// Any control with a caption, at the given place and size.
template<typename Control>
Control *placed(const QString &text, QWidget *parent, int left, int top, int width, int height)
{
    auto *made = new Control(text, parent);
    made->setGeometry(left, top, width, height);
    return made;
}

inline QPushButton *button(const QString &text, QWidget *parent, int left, int top, int width, int height)
{
    return placed<QPushButton>(text, parent, left, top, width, height);
}

}  // namespace Controls
