// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

// A plain container with an optional raised bevel and no caption.
class TNCPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TNCPanel(QWidget *parent = nullptr, bool bevelled = true);
};
