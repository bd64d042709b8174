// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LoopbackHttpServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>

LoopbackHttpServer::LoopbackHttpServer()
{
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
        }
    });
}

QString LoopbackHttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

QString LoopbackHttpServer::RefusedUrl(const QString& path)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}

void LoopbackHttpServer::Answer(QTcpSocket* socket)
{
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    ++requests_[path];
    const auto found = replies_.constFind(path);
    const Reply reply = found == replies_.cend() ? Reply::File("not here", 404) : *found;
    if (reply.silent)
        return;
    if (!reply.raw.isEmpty()) {
        socket->write(reply.raw);
        socket->disconnectFromHost();
        return;
    }

    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n";
    if (!reply.undeclared)
        head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    if (!reply.location.isEmpty())
        head += "Location: " + reply.location + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    if (reply.trickleMs == 0) {
        socket->write(reply.body);
        socket->disconnectFromHost();
        return;
    }
    auto* trickle = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(trickle, &QTimer::timeout, socket, [socket, trickle, sent, body = reply.body] {
        if (*sent == body.size()) {
            trickle->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
    });
    trickle->start(reply.trickleMs);
}
