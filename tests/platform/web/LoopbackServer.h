#pragma once
// A web server on the loopback interface for tests: answers every request
// with one page, keeps silent so that the fetch times out, trickles the
// page a byte at a time so that it never stops arriving, or redirects.

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

class LoopbackServer : public QTcpServer {
public:
    LoopbackServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            }
        });
    }

    // The answer to every request; `silent` keeps the connection open unanswered.
    QByteArray body;
    QByteArray contentType = "text/html";
    bool silent = false;
    int trickleMs = 0; // a byte every this many ms after the headers
    QStringList paths; // request targets in the order they came
    QUrl redirectTo;   // when set, every other path is redirected there

    QUrl url(const QString &pathAndQuery) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(pathAndQuery));
    }

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        const QList<QByteArray> words = request.left(request.indexOf('\r')).split(' ');
        if (words.size() > 1)
            paths << QString::fromLatin1(words[1]);
        if (silent)
            return;
        if (!redirectTo.isEmpty() && words.size() > 1 && words[1] != redirectTo.path().toLatin1()) {
            socket->write("HTTP/1.1 302 Found\r\nLocation: " + redirectTo.toEncoded() +
                          "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + contentType +
                      "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
        if (trickleMs > 0) {
            auto *timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket, byte = body.left(1)] { socket->write(byte); });
            timer->start(trickleMs);
            return;
        }
        socket->write(body);
        socket->disconnectFromHost();
    }
};
