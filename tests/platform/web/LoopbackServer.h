#pragma once
// A web server on the loopback interface for tests: answers every request
// with one page, or keeps silent so that the fetch times out.

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
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
    QStringList paths; // request targets in the order they came

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
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + contentType +
                      "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
                      body);
        socket->disconnectFromHost();
    }
};
