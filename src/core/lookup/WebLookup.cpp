// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/WebLookup.h"

#include "core/lookup/RateGate.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>

WebLookup::WebLookup(const QUrl &base, QObject *parent)
    : QObject(parent)
    , m_base(base)
{
    m_turn.setSingleShot(true);
    // A coarse timer may fire early, which would break the gate's spacing.
    m_turn.setTimerType(Qt::PreciseTimer);
    connect(&m_turn, &QTimer::timeout, this, [this] {
        if (m_unsent)
            finish(*std::exchange(m_unsent, std::nullopt));
        else
            send();
    });
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { stopWith(Ending::TimedOut); });
}

WebLookup::~WebLookup()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QByteArray WebLookup::userAgent() { return QByteArrayLiteral("Pelora/" PELORA_VERSION " ( " PELORA_HOMEPAGE " )"); }

void WebLookup::get(const QUrl &url, const QByteArray &accept, qint64 mostBytes)
{
    if (m_running)
        abort();
    m_running = true;
    m_stoppedWith.reset();
    m_unsent.reset();
    m_request = QNetworkRequest(url);
    m_request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    if (!accept.isEmpty())
        m_request.setRawHeader("Accept", accept);
    m_request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_request.setMaximumRedirectsAllowed(5);
    m_mostBytes = mostBytes;
    RateGate &gate = m_gate ? *m_gate : RateGate::shared();
    m_turn.start(gate.book(url.host()));
}

void WebLookup::endWithoutSending(const Reply &reply)
{
    if (m_running)
        abort();
    m_running = true;
    m_unsent = reply;
    m_turn.start(0);
}

void WebLookup::send()
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_reply = m_network->get(m_request);
    connect(m_reply, &QNetworkReply::finished, this, &WebLookup::replyFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (received > m_mostBytes || total > m_mostBytes)
            stopWith(Ending::TooLarge);
    });
    m_deadline.start(m_timeout);
}

void WebLookup::stopWith(Ending ending)
{
    if (!m_reply || m_stoppedWith)
        return;
    m_stoppedWith = ending;
    m_reply->abort();
}

void WebLookup::replyFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    Reply result;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Errors from 201 up stand for an HTTP status; those below are the network's.
    if (m_stoppedWith) {
        result.ending = *m_stoppedWith;
    } else if (status.isValid() && (reply->error() == QNetworkReply::NoError || reply->error() > QNetworkReply::UnknownProxyError)) {
        result.ending = Ending::Answered;
        result.httpStatus = status.toInt();
        result.body = reply->readAll();
        if (result.body.size() > m_mostBytes)
            result = Reply{Ending::TooLarge};
    } else {
        result.ending = Ending::Unreachable;
        result.error = reply->errorString();
    }
    finish(result);
}

void WebLookup::finish(const Reply &reply)
{
    m_deadline.stop();
    m_turn.stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    m_running = false;
    m_unsent.reset();
    // Last: a receiver may start the next lookup.
    replied(reply);
}

void WebLookup::abort()
{
    if (!m_running)
        return;
    if (m_reply) {
        stopWith(Ending::Cancelled);
        // Qt reports an aborted reply's end from within abort(); should it not, end here.
        if (!m_running)
            return;
    }
    finish(Reply{Ending::Cancelled});
}

QString CancelledReason() { return QCoreApplication::translate("Lookup", "問い合わせを取り消しました。"); }

std::optional<std::pair<LookupOutcome, QString>> WebLookup::commonOutcome(const Reply &reply, const QString &service,
                                                                          std::chrono::milliseconds timeout)
{
    switch (reply.ending) {
    case Ending::Cancelled:
        return std::pair(LookupOutcome::Cancelled, CancelledReason());
    case Ending::TimedOut:
        return std::pair(LookupOutcome::TimedOut, QCoreApplication::translate("Lookup", "%1 から %2 秒待っても答えがありません。")
                                                      .arg(service, QString::number(timeout.count() / 1000.0)));
    case Ending::Unreachable:
        return std::pair(LookupOutcome::Unreachable,
                         QCoreApplication::translate("Lookup", "%1 に接続できません（%2）。").arg(service, reply.error));
    case Ending::TooLarge:
        return std::pair(LookupOutcome::Unreadable, QCoreApplication::translate("Lookup", "%1 の答えを読めません（%2）。")
                                                        .arg(service, QCoreApplication::translate("Lookup", "大きすぎます")));
    case Ending::Answered:
        break;
    }
    if (reply.httpStatus == 200 || reply.httpStatus == 404)
        return std::nullopt;
    // Busy, or asked too often: a later try may well get through.
    if (reply.httpStatus == 503 || reply.httpStatus == 429)
        return std::pair(LookupOutcome::Refused, QCoreApplication::translate("Lookup", "%1 が問い合わせを断りました（HTTP %2）。"
                                                                                       "しばらく待ってからもう一度試してください。")
                                                     .arg(service)
                                                     .arg(reply.httpStatus));
    if (reply.httpStatus >= 400)
        return std::pair(LookupOutcome::Refused,
                         QCoreApplication::translate("Lookup", "%1 が問い合わせを断りました（HTTP %2）。").arg(service).arg(reply.httpStatus));
    return std::pair(LookupOutcome::Unreadable, QCoreApplication::translate("Lookup", "%1 の答えを読めません（%2）。")
                                                    .arg(service, QStringLiteral("HTTP %1").arg(reply.httpStatus)));
}

QUrl UrlUnder(const QUrl &base, const QString &path)
{
    QUrl url = base;
    QString basePath = base.path(QUrl::FullyEncoded);
    if (!basePath.endsWith(u'/'))
        basePath += u'/';
    url.setPath(basePath + path, QUrl::StrictMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}
