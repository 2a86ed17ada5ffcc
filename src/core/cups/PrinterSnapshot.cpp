// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cups/PrinterSnapshot.h"

#include "core/cups/CupsConnection.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <span>

TQdAllPrintersInfo::TQdAllPrintersInfo()
{
    TQdCupsConnection connection;
    *this = TQdAllPrintersInfo(connection);
}

TQdAllPrintersInfo::TQdAllPrintersInfo(QList<Entry> entries)
    : m_entries(std::move(entries))
{
    for (const Entry &entry : std::as_const(m_entries)) {
        if (entry.Attributes & kDefault)
            m_defaultName = entry.Name;
    }
}

TQdAllPrintersInfo::TQdAllPrintersInfo(TQdCupsConnection &connection, const TQdAllPrintersInfo *previous)
{
    // The queues' names and states in one small request, which is also the
    // probe: libcups waits a second for each request's go-ahead, so a
    // spooler that does not answer costs one request's wait here. With the
    // lpoptions files and the variables that name a default, they make the
    // source of the list; an unchanged source gives the list as before.
    static const char *const wanted[] = {"printer-name", "printer-type", "printer-is-accepting-jobs"};
    http_t *http = connection.begin(&m_failure);
    IppPtr queues;
    if (http) {
        ipp_t *request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                      nullptr, wanted);
        queues.reset(cupsDoRequest(http, request, "/"));
        if (!queues)
            m_failure = connection.failed();
    }
    for (ipp_attribute_t *attr = ippFirstAttribute(queues.get()); attr; attr = ippNextAttribute(queues.get())) {
        char value[1024];
        ippAttributeString(attr, value, sizeof value);
        m_source += QByteArray(ippGetName(attr) ? ippGetName(attr) : "") + '=' + value + '\n';
    }
    const QByteArray home = qgetenv("HOME");
    for (const QByteArray &path : {qEnvironmentVariable("CUPS_SERVERROOT", QStringLiteral("/etc/cups")).toLocal8Bit() + "/lpoptions",
                                   home + "/.cups/lpoptions"}) {
        const QFileInfo file(QFile::decodeName(path));
        m_source += path + ' ' + QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + ' '
                    + QByteArray::number(file.size()) + '\n';
    }
    m_source += qgetenv("LPDEST") + '\n' + qgetenv("PRINTER");
    if (m_failure.isEmpty() && previous && previous->m_reachable && previous->m_source == m_source) {
        m_entries = previous->m_entries;
        m_defaultName = previous->m_defaultName;
        return;
    }
    // The list the print dialog shows, with the instances and the user's
    // default.
    cups_dest_t *dests = nullptr;
    const int count = m_failure.isEmpty() ? cupsGetDests2(http, &dests) : 0;
    const ipp_status_t status = cupsLastError();
    if (count == 0 && m_failure.isEmpty() && status > IPP_STATUS_OK_EVENTS_COMPLETE && status != IPP_STATUS_ERROR_NOT_FOUND)
        m_failure = connection.failed();
    m_reachable = m_failure.isEmpty();
    for (const cups_dest_t &dest : std::span(dests, count)) {
        Entry entry{QString::fromUtf8(dest.name), 0, {}};
        if (dest.instance)
            entry.Name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
        const char *accepting = cupsGetOption("printer-is-accepting-jobs", dest.num_options, dest.options);
        const char *type = cupsGetOption("printer-type", dest.num_options, dest.options);
        const int typeBits = type ? QByteArray(type).toInt() : 0;
        // Printers only seen on the network have no queue to take a job.
        if (!accepting || std::strcmp(accepting, "true") != 0 || (typeBits & CUPS_PRINTER_DISCOVERED))
            entry.Attributes |= kHidden;
        entry.Attributes |= (typeBits & CUPS_PRINTER_CLASS ? kClass : 0) | (dest.is_default ? kDefault : 0);
        if (dest.is_default)
            m_defaultName = entry.Name;
        for (const cups_option_t &o : std::span(dest.options, dest.num_options)) {
            const QByteArray name(o.name);
            if (!name.startsWith("printer-") && !name.startsWith("marker-") && name != "device-uri")
                entry.JobOptions.append({name, QByteArray(o.value)});
        }
        m_entries.append(entry);
    }
    cupsFreeDests(count, dests);
    // libcups marks no default when the default queue has an instance, nor
    // when the user's default is gone: asked by name, it tells either.
    if (m_reachable && m_defaultName.isEmpty()) {
        const char *name = cupsGetDefault2(http);
        if (!name && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
            m_failure = connection.failed();
            m_reachable = false;
            m_entries.clear();
        }
        m_defaultName = QString::fromUtf8(name);
        if (const int index = IndexOf(m_defaultName); index >= 0)
            m_entries[index].Attributes |= kDefault;
    }
}

int TQdAllPrintersInfo::IndexOf(const QString &name) const
{
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(), [&name](const Entry &e) { return e.Name == name; });
    return it == m_entries.cend() ? -1 : int(it - m_entries.cbegin());
}

bool TQdAllPrintersInfo::Equals(const TQdAllPrintersInfo &other) const
{
    return m_reachable == other.m_reachable && m_defaultName == other.m_defaultName
           && std::equal(m_entries.cbegin(), m_entries.cend(), other.m_entries.cbegin(), other.m_entries.cend(),
                         [](const Entry &a, const Entry &b) { return a.Name == b.Name && a.Attributes == b.Attributes; });
}
