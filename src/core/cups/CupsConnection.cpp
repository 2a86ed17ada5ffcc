// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cups/CupsConnection.h"

#include <cerrno>
#include <cstring>

namespace {

// A local spooler answers within milliseconds. One operation, connecting
// included, gets this long; after one ran out, the spooler is not waited for
// again for a moment, so that a user action never waits twice.
constexpr int kRequestBudgetMs = 1500;
constexpr double kWaitSliceSeconds = 0.2;
constexpr qint64 kStuckPauseMs = 2500;
// A kept connection this old is opened anew with our limits, rather than
// reconnected by libcups with its own half-minute one.
constexpr qint64 kConnectionReuseMs = 10000;

}  // namespace

TQdCupsConnection::TQdCupsConnection(QByteArray server, int port)
    : m_givenServer(std::move(server)), m_givenPort(port)
{
}

TQdCupsConnection::~TQdCupsConnection() { close(); }

http_t *TQdCupsConnection::begin(QString *failure)
{
    if (m_http && (server() != m_server || port() != m_port || m_reuse.hasExpired()))
        close();
    if (server() != m_server || port() != m_port)
        m_pause = QDeadlineTimer(0);
    m_server = server();
    m_port = port();
    if (!m_pause.hasExpired()) {
        *failure = QStringLiteral("%1: no answer in time").arg(QString::fromLocal8Bit(m_server));
        return nullptr;
    }
    m_deadline.setRemainingTime(kRequestBudgetMs);
    m_reuse.setRemainingTime(kConnectionReuseMs);
    if (!m_http) {
        errno = 0;
        m_http = httpConnect2(m_server.constData(), m_port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              kRequestBudgetMs, nullptr);
        if (!m_http) {
            *failure = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(m_server),
                                                    QString::fromLocal8Bit(std::strerror(errno ? errno : EIO)));
            if (m_deadline.hasExpired())
                m_pause.setRemainingTime(kStuckPauseMs);
            return nullptr;
        }
        httpSetTimeout(m_http, kWaitSliceSeconds, &TQdCupsConnection::keepWaiting, &m_deadline);
    }
    return m_http;
}

QString TQdCupsConnection::failed()
{
    QString reason = lastCupsError();
    if (m_deadline.hasExpired()) {
        m_pause.setRemainingTime(kStuckPauseMs);
        reason = QStringLiteral("%1: no answer in time").arg(QString::fromLocal8Bit(m_server));
    }
    close();
    return reason;
}

std::optional<QByteArray> TQdCupsConnection::getFile(const QByteArray &resource, QString *failure)
{
    http_t *http = begin(failure);
    if (!http)
        return std::nullopt;
    httpClearFields(http);
    // A kept connection the server has closed meanwhile is opened again, once.
    if (httpGet(http, resource.constData()) && (httpReconnect2(http, kRequestBudgetMs, nullptr) || httpGet(http, resource.constData()))) {
        *failure = failed();
        return std::nullopt;
    }
    http_status_t status;
    while ((status = httpUpdate(http)) == HTTP_STATUS_CONTINUE) {
    }
    if (status == HTTP_STATUS_ERROR) {
        *failure = failed();
        return std::nullopt;
    }
    if (status != HTTP_STATUS_OK) {
        httpFlush(http);
        return QByteArray();
    }
    QByteArray file;
    char buffer[32768];
    ssize_t read = 0;
    while ((read = httpRead2(http, buffer, sizeof buffer)) > 0)
        file.append(buffer, read);
    if (read < 0) {
        *failure = failed();
        return std::nullopt;
    }
    return file;
}

int TQdCupsConnection::keepWaiting(http_t *, void *deadline) { return !static_cast<QDeadlineTimer *>(deadline)->hasExpired(); }

void TQdCupsConnection::close()
{
    if (m_http)
        httpClose(m_http);
    m_http = nullptr;
}

QString lastCupsError()
{
    const char *text = cupsLastErrorString();
    return text && *text ? QString::fromUtf8(text) : QString::fromUtf8(ippErrorString(cupsLastError()));
}

QString queueOf(const QString &destination) { return destination.section(QLatin1Char('/'), 0, 0); }

ipp_t *queueRequest(ipp_op_t operation, const QString &queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.toUtf8().constData());
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}
