// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <cups/cups.h>

#include <memory>
#include <optional>

// One connection to a CUPS server (the current one, cupsServer(), unless
// one is given), kept between operations. Each operation gets a time budget:
// libcups waits in short slices, asks on, and gives up when it is spent.
class TQdCupsConnection
{
public:
    explicit TQdCupsConnection(QByteArray server = {}, int port = 0);
    ~TQdCupsConnection();
    TQdCupsConnection(const TQdCupsConnection &) = delete;
    TQdCupsConnection &operator=(const TQdCupsConnection &) = delete;

    QByteArray server() const { return m_givenServer.isEmpty() ? QByteArray(cupsServer()) : m_givenServer; }
    int port() const { return m_givenPort ? m_givenPort : ippPort(); }

    // The connection for one operation; null, with the reason, when the
    // server cannot be reached.
    http_t *begin(QString *failure);
    // After an operation got no answer: drops the connection and says why.
    QString failed();
    // The file at `resource` on the server (a queue's PPD), as one
    // operation; empty when the server has none there. Nothing, with the
    // reason, when the server does not answer.
    std::optional<QByteArray> getFile(const QByteArray &resource, QString *failure);

private:
    static int keepWaiting(http_t *, void *deadline);
    void close();

    QByteArray m_givenServer;
    int m_givenPort;
    http_t *m_http = nullptr;
    QByteArray m_server;
    int m_port = 0;
    QDeadlineTimer m_deadline;
    QDeadlineTimer m_reuse;
    QDeadlineTimer m_pause{0};
};

struct IppDeleter
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

// What libcups said of the last request that failed.
QString lastCupsError();

// The queue of a destination name ("queue/instance" for an instance).
QString queueOf(const QString &destination);

// A request about one queue of the current server, as the current user.
ipp_t *queueRequest(ipp_op_t operation, const QString &queue);
