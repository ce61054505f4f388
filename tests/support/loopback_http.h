#pragma once
// A small HTTP server on the loopback for tests of the history download: it
// answers every request with one prepared reply and can cut the body short,
// leave the length unannounced, or stall mid-transfer. Runs on the test's own
// thread, driven by whatever event loop is waiting for the download.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace mirkano::test {

class LoopbackHttp : public QObject {
public:
    struct Reply {
        int status = 200;
        QByteArray body = {};
        QByteArray contentType = "application/octet-stream";
        bool announceLength = true;  // send Content-Length (else the closing connection ends the body)
        qint64 sendBytes = -1;       // send only this much of the body (-1: all of it)
        bool stall = false;          // after sending, keep the connection open and send nothing more
        QByteArray location = {};    // a Location header (a redirect, with status 301, 302, …)
        QByteArray headers = {};     // further header lines, each ending in CR LF
    };

    LoopbackHttp()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onRequest(socket); });
            }
        });
    }

    void serve(Reply reply) { m_reply = std::move(reply); }
    // A reply of its own for requests of one path; every other path gets serve()'s.
    void serveAt(const QString& path, Reply reply) { m_byPath.insert(path, std::move(reply)); }
    // The server as the user would set it: scheme, host and port.
    QString server() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    const QStringList& paths() const { return m_paths; }

private:
    void onRequest(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QString path = QString::fromLatin1(buffer.split(' ').value(1));
        m_paths << path;
        buffer.clear();

        const Reply& r = m_byPath.contains(path) ? m_byPath[path] : m_reply;
        const QByteArray reason = r.status == 200 ? "OK" : r.status == 404 ? "Not Found" : r.location.isEmpty() ? "Error" : "Moved";
        QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + " " + reason + "\r\n";
        head += "Content-Type: " + r.contentType + "\r\n";
        if (!r.location.isEmpty())
            head += "Location: " + r.location + "\r\n";
        head += r.headers;
        if (r.announceLength)
            head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head);
        socket->write(r.sendBytes < 0 ? r.body : r.body.left(r.sendBytes));
        if (!r.stall)
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    Reply m_reply;
    QHash<QString, Reply> m_byPath;
    QStringList m_paths;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

}  // namespace mirkano::test
