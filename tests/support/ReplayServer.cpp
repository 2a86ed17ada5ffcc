// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ReplayServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

namespace {

QByteArray statusText(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

QByteArray response(const ReplayServer::Answer &answer)
{
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + statusText(answer.status) + "\r\n";
    bytes += "Content-Type: " + answer.contentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    if (!answer.location.isEmpty())
        bytes += "Location: " + answer.location + "\r\n";
    bytes += "Connection: close\r\n\r\n";
    return bytes + answer.body;
}

}  // namespace

ReplayServer::ReplayServer()
{
    m_clock.start();
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        QTest::qFail("the test server cannot listen on 127.0.0.1", __FILE__, __LINE__);
}

QUrl ReplayServer::url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }

void ReplayServer::readFrom(QTcpSocket *socket)
{
    QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", received);
    const qsizetype end = received.indexOf("\r\n\r\n");
    if (end < 0 || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> lines = received.left(end).split('\n');
    const QList<QByteArray> words = lines.value(0).trimmed().split(' ');
    Request request;
    request.method = words.value(0);
    const QByteArray target = words.value(1);
    const qsizetype question = target.indexOf('?');
    request.path = question < 0 ? target : target.left(question);
    request.query = question < 0 ? QByteArray() : target.mid(question + 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    request.receivedMs = m_clock.elapsed();
    m_requests << request;
    const Answer answer = m_answers.value(request.path, Answer{404, QByteArray()});
    // The socket is the timer's context: a client that gave up takes the answer with it.
    QTimer::singleShot(answer.delay, socket, [socket, answer] {
        socket->write(response(answer));
        socket->disconnectFromHost();
    });
    emit requestReceived();
}
