// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Whether a picture file holds all the picture its header promises. Qt's
// readers fill in what a cut-off JPEG, BMP or GIF lacks (grey, black, the
// last row) instead of failing; a cover made of that would print with a
// band or as a grey square. PNG and WebP readers fail on their own.
namespace WholePicture {

// `format` is the name Qt's image readers give ("jpeg", "bmp", "gif", …);
// formats not listed above count as whole here. A JPEG is decoded at an
// eighth of its size within `mostBytes` of decoder memory.
bool isWhole(const QByteArray &bytes, QByteArrayView format, qint64 mostBytes);

}  // namespace WholePicture
