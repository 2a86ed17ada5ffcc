// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class RateGate;

// How a lookup ended. Whatever the ending, a lookup changes nothing but
// what it reports.
enum class LookupOutcome {
    Found,        // releases; a picture
    NoneFound,    // no release holds the disc; the release has no front cover
    Unreachable,  // offline, host not found, connection refused, a TLS failure
    Refused,      // an HTTP error status (a 503 when the service is busy or the rate is exceeded)
    TimedOut,
    Cancelled,
    Unreadable,   // an answer that is not what was asked for, or too large
};

// One GET at a time to a web service: it waits for its host's turn at the
// rate gate, names Pelora in its User-Agent, follows redirects that are no
// less safe (https to http is refused; a service given over http, as the
// tests' loopback servers are, may redirect over http), and gives up after
// the timeout. The subclasses make the request and read the answer.
class WebLookup : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTimeout{10'000};

    ~WebLookup() override;

    // "Pelora/1.25 ( https://… )": MusicBrainz asks every client to name
    // itself and a way to reach its makers.
    static QByteArray userAgent();

    // The service's address: scheme, host, port and a path to put the
    // service's own paths under.
    const QUrl &baseUrl() const { return m_base; }
    void setBaseUrl(const QUrl &base) { m_base = base; }
    // From the request's sending to its last byte.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Not owned; nullptr for the shared gate.
    void setRateGate(RateGate *gate) { m_gate = gate; }

    bool isRunning() const { return m_running; }
    // Ends a running lookup at once: it reports Cancelled before this returns,
    // and nothing more.
    void abort();

protected:
    WebLookup(const QUrl &base, QObject *parent);

    enum class Ending { Answered, Unreachable, TimedOut, Cancelled, TooLarge };
    struct Reply
    {
        Ending ending = Ending::Cancelled;
        int httpStatus = 0;  // Answered: the status of the last answer, after redirects
        QByteArray body;     // Answered
        QString error;       // Unreachable: what the network said
    };

    // Starts the lookup: replied() gets exactly one reply, later (never
    // from within this call).
    void get(const QUrl &url, const QByteArray &accept, qint64 mostBytes);
    // Ends a lookup that need not be sent, at the next turn of the event loop.
    void endWithoutSending(const Reply &reply);
    virtual void replied(const Reply &reply) = 0;

    // The reply's outcome and reason, for endings and statuses every
    // service reads alike: all but an answer with status 200 or 404.
    static std::optional<std::pair<LookupOutcome, QString>> commonOutcome(const Reply &reply, const QString &service,
                                                                           std::chrono::milliseconds timeout);
    std::chrono::milliseconds timeout() const { return m_timeout; }

private:
    void send();
    void replyFinished();
    void stopWith(Ending ending);
    void finish(const Reply &reply);

    QUrl m_base;
    std::chrono::milliseconds m_timeout = kTimeout;
    RateGate *m_gate = nullptr;
    QNetworkAccessManager *m_network = nullptr;
    QNetworkRequest m_request;
    qint64 m_mostBytes = 0;
    QPointer<QNetworkReply> m_reply;
    std::optional<Ending> m_stoppedWith;
    std::optional<Reply> m_unsent;
    QTimer m_turn;
    QTimer m_deadline;
    bool m_running = false;
};

// The reason a lookup gives when cancelled, the same for every service.
QString CancelledReason();

// A service's path under a base address: "http://h:1/x" and "ws/2" give
// "http://h:1/x/ws/2".
QUrl UrlUnder(const QUrl &base, const QString &path);
