// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MainWindowFixture.h"

#include "gui/widgets/ListRows.h"
#include "gui/widgets/ItemListBox.h"

bool MainWindowFixture::start(bool shown)
{
    m_config = std::make_unique<ScopedConfigDir>();
    form = std::make_unique<TForm1>();
    if (!shown)
        return true;
    form->show();
    return QTest::qWaitForWindowActive(form.get());
}

void MainWindowFixture::stop()
{
    form.reset();
    m_config.reset();
}

void fillRows(TForm1 &form, const QString &letters, const QString &selected)
{
    QStringList rows;
    std::vector<bool> marks;
    for (QChar c : letters) {
        rows << QString(c);
        marks.push_back(selected.contains(c));
    }
    form.ListBox1->setItems(rows);
    form.ListBox1->doItemsLayout();
    ListRows::select(form.ListBox1, marks);
}

QString rowLetters(const TForm1 &form) { return form.ListBox1->items().join(QString()); }

QString selectedLetters(const TForm1 &form)
{
    QString out;
    for (int row : ListRows::selectedRows(form.ListBox1))
        out += form.ListBox1->item(row)->text();
    return out;
}
