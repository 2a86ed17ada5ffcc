// SPDX-License-Identifier: GPL-3.0-or-later
// The moves and drops on plain rows, and a randomized check of them (and of
// the list widget path) against a simple model of what they must do.
#include "gui/widgets/DragItems.h"
#include "gui/widgets/ListRows.h"
#include "support/TestSupport.h"

#include <QListWidget>
#include <QRandomGenerator>

namespace {

RowState rowsOf(const QString &letters, const QString &selectedLetters)
{
    RowState rows;
    for (QChar c : letters) {
        rows.texts << QString(c);
        rows.selected.push_back(selectedLetters.contains(c));
    }
    return rows;
}

QString joined(const RowState &rows) { return rows.texts.join(QString()); }

QString selectedOf(const RowState &rows)
{
    QString out;
    for (int i = 0; i < rows.texts.size(); ++i) {
        if (rows.selected[i])
            out += rows.texts[i];
    }
    return out;
}

// The model: what a move or a drop does, stated without snapshots.
struct Model
{
    // Every run of selected rows below the top block moves up by one; the
    // unselected row above the run goes below it.
    static void moveUp(RowState &rows)
    {
        const int n = int(rows.texts.size());
        int i = 0;
        while (i < n && rows.selected[i])
            ++i;
        while (i < n) {
            if (!rows.selected[i]) {
                ++i;
                continue;
            }
            int end = i;
            while (end + 1 < n && rows.selected[end + 1])
                ++end;
            rows.texts.move(i - 1, end);
            rows.selected[i - 1] = true;
            rows.selected[end] = false;
            i = end + 1;
        }
    }
    static void moveDown(RowState &rows)
    {
        std::reverse(rows.texts.begin(), rows.texts.end());
        std::reverse(rows.selected.begin(), rows.selected.end());
        moveUp(rows);
        std::reverse(rows.texts.begin(), rows.texts.end());
        std::reverse(rows.selected.begin(), rows.selected.end());
    }
    // The selected rows, in order, in front of the first unselected row at
    // or after the target (or at the end); only they are selected.
    static void drop(RowState &rows, int target)
    {
        QStringList staying, moving;
        int above = 0;
        for (int i = 0; i < rows.texts.size(); ++i) {
            if (rows.selected[i]) {
                moving << rows.texts[i];
            } else {
                staying << rows.texts[i];
                if (i < target)
                    ++above;
            }
        }
        rows.texts = staying.mid(0, above) + moving + staying.mid(above);
        rows.selected.assign(rows.texts.size(), false);
        std::fill(rows.selected.begin() + above, rows.selected.begin() + above + moving.size(), true);
    }
};

bool anySelected(const RowState &rows) { return std::find(rows.selected.begin(), rows.selected.end(), true) != rows.selected.end(); }

}  // namespace

class RowMovesTest : public QObject
{
    Q_OBJECT
private slots:
    void moves_data();
    void moves();
    void drops_data();
    void drops();
    void snapshotHoldsEverySelectedRow();
    void randomSequencesMatchTheModel();
    void listWidgetPathMatchesTheModel();
};

void RowMovesTest::moves_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("selectedAfter");
    QTest::newRow("up B D") << "BD" << true << "BADCE" << "BD";
    QTest::newRow("up with top block") << "ABD" << true << "ABDCE" << "ABD";
    QTest::newRow("up first row only") << "A" << true << "ABCDE" << "A";
    QTest::newRow("down A C") << "AC" << false << "BADCE" << "AC";
    QTest::newRow("down last row only") << "E" << false << "ABCDE" << "E";
    QTest::newRow("down with bottom block") << "BDE" << false << "ACBDE" << "BDE";
}

void RowMovesTest::moves()
{
    QFETCH(QString, selected);
    QFETCH(bool, up);
    QFETCH(QString, rows);
    QFETCH(QString, selectedAfter);
    RowState state = rowsOf(QStringLiteral("ABCDE"), selected);
    TDragItems snapshot;
    snapshot.TakeSelection(state);
    if (up)
        RowMoves::moveUp(state, snapshot);
    else
        RowMoves::moveDown(state, snapshot);
    QCOMPARE(joined(state), rows);
    QCOMPARE(selectedOf(state), selectedAfter);
}

void RowMovesTest::drops_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("target");  // -1: below the last row
    QTest::addColumn<QString>("rows");
    QTest::newRow("on A") << "BD" << 0 << "BDACE";
    QTest::newRow("on E") << "BD" << 4 << "ACBDE";
    QTest::newRow("on D") << "BD" << 3 << "ACBDE";
    QTest::newRow("on B") << "BD" << 1 << "ABDCE";
    QTest::newRow("below E") << "BD" << -1 << "ACEBD";
    QTest::newRow("B on C") << "B" << 2 << "ABCDE";
}

void RowMovesTest::drops()
{
    QFETCH(QString, selected);
    QFETCH(int, target);
    QFETCH(QString, rows);
    RowState state = rowsOf(QStringLiteral("ABCDE"), selected);
    TDragItems snapshot;
    snapshot.TakeSelection(state);
    if (target < 0)
        RowMoves::dropBelowLast(state, snapshot);
    else
        RowMoves::dropOnRow(state, snapshot, target);
    QCOMPARE(joined(state), rows);
    QCOMPARE(selectedOf(state), selected);
}

void RowMovesTest::snapshotHoldsEverySelectedRow()
{
    RowState state;
    for (int i = 0; i < 1000; ++i) {
        state.texts << QString::number(i);
        state.selected.push_back(i % 3 != 1);
    }
    TDragItems snapshot;
    snapshot.TakeSelection(state);
    QCOMPARE(snapshot.EntryCount, 667);
    QCOMPARE(snapshot.Entries.back().Index, 999);
    QCOMPARE(snapshot.Entries[300].Text, QStringLiteral("450"));
}

void RowMovesTest::randomSequencesMatchTheModel()
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 300; ++round) {
        const int n = int(random.bounded(1, round < 250 ? 60 : 2000));
        RowState state;
        for (int i = 0; i < n; ++i) {
            state.texts << QStringLiteral("r%1").arg(i);
            state.selected.push_back(random.bounded(4) == 0);
        }
        RowState model = state;
        for (int step = 0; step < 6; ++step) {
            TDragItems snapshot;
            snapshot.TakeSelection(state);
            const int op = int(random.bounded(4));
            if (op == 0) {
                RowMoves::moveUp(state, snapshot);
                Model::moveUp(model);
            } else if (op == 1) {
                RowMoves::moveDown(state, snapshot);
                Model::moveDown(model);
            } else if (op == 2) {
                const int target = int(random.bounded(n));
                RowMoves::dropOnRow(state, snapshot, target);
                Model::drop(model, target);
            } else {
                RowMoves::dropBelowLast(state, snapshot);
                Model::drop(model, n);
            }
            QCOMPARE(state.texts, model.texts);
            QCOMPARE(state.selected, model.selected);
        }
    }
}

void RowMovesTest::listWidgetPathMatchesTheModel()
{
    QRandomGenerator random(7);
    QListWidget list;
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int round = 0; round < 20; ++round) {
        const int n = int(random.bounded(257, 1200));
        RowState model;
        for (int i = 0; i < n; ++i) {
            model.texts << QStringLiteral("r%1").arg(i);
            model.selected.push_back(random.bounded(3) == 0);
        }
        list.clear();
        list.addItems(model.texts);
        ListRows::select(&list, model.selected);
        if (!anySelected(model))
            continue;
        list.setCurrentRow(5, QItemSelectionModel::NoUpdate);
        const RowState before = ListRows::read(&list);
        QCOMPARE(before.texts, model.texts);
        QCOMPARE(before.selected, model.selected);

        TDragItems snapshot;
        snapshot.TakeSelection(&list);
        RowState after = before;
        RowMoves::moveUp(after, snapshot);
        ListRows::apply(&list, before, after);
        Model::moveUp(model);
        const RowState seen = ListRows::read(&list);
        QCOMPARE(seen.texts, model.texts);
        QCOMPARE(seen.selected, model.selected);
        QCOMPARE(list.currentRow(), 5);
    }
}

PELORA_TEST_MAIN(RowMovesTest)
#include "tst_rowmoves.moc"
