// A small HTTP/1.1 responder on 127.0.0.1 standing in for the translation
// service: records every request and answers through a handler, optionally
// after a delay, never, with a redirect, or with a body that never ends.
// Header-only so the benchmarks can use it too.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <functional>

struct FakeRequest
{
    QByteArray method;
    QByteArray target; // path and query exactly as sent
    QMap<QByteArray, QByteArray> headers; // names lower-cased
    QByteArray body;

    QByteArray path() const { return target.left(target.indexOf('?')); }
    QByteArray query() const
    {
        const int q = target.indexOf('?');
        return q < 0 ? QByteArray() : target.mid(q + 1);
    }
};

// Every member has an initializer, so a handler may name only those it needs.
struct FakeResponse
{
    int status = 200;
    QByteArray body{};
    int delayMs = 0;
    bool answer = true; // false: keep the connection open and say nothing
    QByteArray location{}; // sent as a Location header when set (for redirects)
    // Above 0: no Content-Length; after the body, this many more bytes every
    // streamEveryMs, until the client goes away.
    int streamBytes = 0;
    int streamEveryMs = 10;
};

class FakeHttpServer
{
public:
    using Handler = std::function<FakeResponse(const FakeRequest &)>;

    FakeHttpServer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
    }
    const QList<FakeRequest> &requests() const { return m_requests; }
    int connections() const { return m_connections; }

    // The usual answer of the service for one translation.
    static QByteArray translation(const QString &text, const QString &source = QStringLiteral("en"))
    {
        QByteArray escaped = text.toUtf8();
        escaped.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
        return "{\"data\":{\"translations\":[{\"translatedText\":\"" + escaped +
               "\",\"detectedSourceLanguage\":\"" + source.toUtf8() + "\"}]}}";
    }

private:
    void serve(QTcpSocket *socket)
    {
        ++m_connections;
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            buffer->append(socket->readAll());
            while (takeRequest(socket, *buffer)) {
            }
        });
    }

    bool takeRequest(QTcpSocket *socket, QByteArray &buffer)
    {
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        FakeRequest request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
        }
        const int length = request.headers.value("content-length", "0").toInt();
        if (buffer.size() < end + 4 + length)
            return false;
        request.body = buffer.mid(end + 4, length);
        buffer.remove(0, end + 4 + length);
        m_requests.append(request);

        const FakeResponse response = m_handler ? m_handler(request) : FakeResponse{};
        if (!response.answer)
            return true;
        QByteArray bytes = "HTTP/1.1 " + QByteArray::number(response.status) +
                           " Status\r\nContent-Type: application/json; charset=utf-8\r\n";
        if (!response.location.isEmpty())
            bytes += "Location: " + response.location + "\r\n";
        // Without a length the body lasts until the connection closes.
        if (response.streamBytes > 0)
            bytes += "Connection: close\r\n";
        else
            bytes += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        bytes += "\r\n" + response.body;
        if (response.delayMs <= 0)
            socket->write(bytes);
        else
            QTimer::singleShot(response.delayMs, socket, [socket, bytes] { socket->write(bytes); });
        if (response.streamBytes > 0) {
            auto *more = new QTimer(socket);
            const QByteArray chunk(response.streamBytes, ' ');
            QObject::connect(more, &QTimer::timeout, socket,
                             [socket, chunk] { socket->write(chunk); });
            more->start(response.streamEveryMs);
        }
        return true;
    }

    QTcpServer m_server;
    Handler m_handler;
    QList<FakeRequest> m_requests;
    int m_connections = 0;
};
