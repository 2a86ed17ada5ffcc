// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <chrono>

// A web server on 127.0.0.1 for the lookup tests: it answers each path
// with a recorded answer and keeps the requests it was sent. It listens on
// a free port from its construction and stops with its destruction; each
// answer closes its connection.
class ReplayServer : public QObject
{
    Q_OBJECT
public:
    struct Answer
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/json";
        QByteArray location;  // for a redirect
        std::chrono::milliseconds delay{0};  // before the answer
    };
    struct Request
    {
        QByteArray method;
        QByteArray path;   // without the query
        QByteArray query;  // as sent, without "?"
        QHash<QByteArray, QByteArray> headers;  // names in lower case
        qint64 receivedMs = 0;  // since the server started
    };

    ReplayServer();

    QUrl url() const;
    // Paths without an answer get a 404 with an empty body.
    void answer(const QByteArray &path, const Answer &answer) { m_answers.insert(path, answer); }
    const QList<Request> &requests() const { return m_requests; }

signals:
    void requestReceived();

private:
    void readFrom(QTcpSocket *socket);

    QTcpServer m_server;
    QElapsedTimer m_clock;
    QHash<QByteArray, Answer> m_answers;
    QList<Request> m_requests;
};
