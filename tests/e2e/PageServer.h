#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// An HTTP server on the loopback interface that answers every request with one page (whose
// empty icon keeps a browser from asking for /favicon.ico) and keeps each request's path, in
// the order they came, for the tests that must know what a preview fetched.
class PageServer : public QTcpServer
{
public:
    static constexpr QLatin1StringView title{"Loopback test page"};

    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, &PageServer::answer);
        if (!listen(QHostAddress::LocalHost))
            qFatal("cannot listen on the loopback interface");
    }

    QUrl address(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(path));
    }

    QStringList paths;

private:
    void answer()
    {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { reply(socket); });
        }
    }

    void reply(QTcpSocket* socket)
    {
        QByteArray& request = m_received[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        paths << QString::fromLatin1(request.split(' ').value(1));
        const QByteArray body = "<html><head><title>" + QByteArray(title.data(), title.size()) +
                                "</title><link rel=\"icon\" href=\"data:,\"></head>"
                                "<body><p>Served over loopback</p></body></html>";
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                      "Content-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QHash<QTcpSocket*, QByteArray> m_received;
};
