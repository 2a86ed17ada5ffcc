// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class TQdCupsConnection;

// A snapshot of the CUPS destinations as the print dialog lists them:
// queues, classes and lpoptions instances ("queue/instance"), in name order.
// One that does not accept jobs, or is only seen on the network without a
// queue, is hidden (kHidden) and not visible to the program.
class TQdAllPrintersInfo
{
public:
    static constexpr quint32 kDefault = 0x4, kClass = 0x8, kHidden = 0x20;
    using Options = QList<QPair<QByteArray, QByteArray>>;
    struct Entry
    {
        QString Name;
        quint32 Attributes = 0;
        Options JobOptions;  // the defaults a job to it carries (lpoptions)
    };

    // Takes the snapshot now; a spooler that does not answer gives an empty
    // one that is not Reachable(). Nothing is thrown.
    // `previous` lends its list when nothing it came from has changed.
    TQdAllPrintersInfo();
    explicit TQdAllPrintersInfo(TQdCupsConnection &connection, const TQdAllPrintersInfo *previous = nullptr);
    explicit TQdAllPrintersInfo(QList<Entry> entries);  // a given set, reachable

    int Count() const { return int(m_entries.size()); }
    const QString &Name(int index) const { return m_entries.at(index).Name; }
    quint32 Attributes(int index) const { return m_entries.at(index).Attributes; }
    const Options &JobOptions(int index) const { return m_entries.at(index).JobOptions; }
    bool IsVisible(int index) const { return !(Attributes(index) & kHidden); }
    bool IsVisible(const QString &name) const { return IndexOf(name) >= 0 && IsVisible(IndexOf(name)); }
    int IndexOf(const QString &name) const;
    // The user's default destination (LPDEST, PRINTER, lpoptions, else the
    // server's); it may be missing from the list. Empty: there is none.
    const QString &DefaultName() const { return m_defaultName; }
    bool Reachable() const { return m_reachable; }
    const QString &Failure() const { return m_failure; }
    // Same reachability and default, and entry by entry the same name and
    // attributes.
    bool Equals(const TQdAllPrintersInfo &other) const;

private:
    QList<Entry> m_entries;
    QString m_defaultName;
    bool m_reachable = true;
    QString m_failure;
    QByteArray m_source;
};
