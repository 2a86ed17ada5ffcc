// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class TForm1;

// The product chosen for the current destination in 用紙の選択 may be gone
// from the label database since (removed, renamed, the database not
// installed). Nothing is then printed on plain paper in its stead: the
// user chooses again.
namespace StoredPaper {

// The stored product's name when the database does not have it; empty
// for plain paper, a product it has, a product named for this run, or no
// printer at all.
QString Missing(TForm1 &form);

// Whether the chosen paper is there to print on; says what to do when not.
bool Found(TForm1 &form);

}  // namespace StoredPaper
