// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTcpServer>

// A web server on 127.0.0.1 that a test scripts path by path, including the hostile ones: a
// server that never answers, one that trickles a byte at a time, redirects. It runs on the
// test's own event loop.
class LoopbackHttpServer : public QObject {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray location;   // sent as Location: for a redirect
        bool silent = false;   // accepts the connection and never answers
        int trickleMs = 0;     // when set, one byte of the body every trickleMs
        bool undeclared = false;  // no Content-Length: the body ends when the connection does
        QByteArray raw;           // when set, the whole answer as sent, head and body, then the end

        static Reply File(const QByteArray& body, int status = 200) { return {status, body, {}, false, 0, false, {}}; }
        static Reply Undeclared(const QByteArray& body) { return {200, body, {}, false, 0, true, {}}; }
        static Reply Redirect(const QByteArray& location) { return {302, {}, location, false, 0, false, {}}; }
        static Reply Silent() { return {200, {}, {}, true, 0, false, {}}; }
        static Reply Raw(const QByteArray& answer) { return {200, {}, {}, false, 0, false, answer}; }
        static Reply Trickle(const QByteArray& body, int everyMs) { return {200, body, {}, false, everyMs, false, {}}; }
    };

    LoopbackHttpServer();

    void Serve(const QString& path, const Reply& reply) { replies_.insert(path, reply); }
    QString Url(const QString& path) const;
    int Requests(const QString& path) const { return requests_.value(path); }

    // An address on which nothing listens: connecting is refused.
    static QString RefusedUrl(const QString& path);

private:
    void Answer(QTcpSocket* socket);

    QTcpServer server_;
    QHash<QString, Reply> replies_;
    QHash<QString, int> requests_;
};
