#pragma once
// A minimal HTTP/1.1 server on 127.0.0.1 for the download tests: one request per connection,
// answers from a table of request targets (404 for any other).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <utility>
#include <vector>

namespace vaultwing::test {

struct Response {
    int status = 200;
    QByteArray body;
    QByteArray location; // for redirects
    bool stall = false;  // send the headers and a little of the body, then nothing more
};

class TinyHttpServer : public QObject {
public:
    TinyHttpServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            }
        });
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
    }

    [[nodiscard]] bool Listening() const { return listening_; }
    [[nodiscard]] std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(server_.serverPort()); }
    [[nodiscard]] QString Url(const char* target) const {
        return QString::fromStdString("http://" + HostAndPort() + target);
    }
    void Serve(const QByteArray& target, Response response) { routes_[target] = std::move(response); }
    // Serves `response` at the path of a full address on this server.
    void ServeAddress(const std::string& address, Response response) {
        const QByteArray url = QByteArray::fromStdString(address);
        Serve(url.mid(url.indexOf('/', 7)), std::move(response)); // after "http://host:port"
    }

    // Every request seen: its target and its header block.
    std::vector<std::pair<QByteArray, QByteArray>> requests;

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        const auto end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QByteArray head = buffer.left(end);
        pending_.remove(socket);
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        const QByteArray target = requestLine.size() > 1 ? requestLine[1] : QByteArray();
        requests.emplace_back(target, head);

        const auto route = routes_.find(target);
        const Response r = route != routes_.end() ? *route : Response{404, "<html>Not Found</html>", {}, false};
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\n";
        if (!r.location.isEmpty()) reply += "Location: " + r.location + "\r\n";
        reply += "Content-Length: " + QByteArray::number(r.stall ? r.body.size() * 100 : r.body.size());
        reply += "\r\nConnection: close\r\n\r\n" + r.body;
        socket->write(reply);
        if (r.stall) return;
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
            if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    bool listening_ = false;
    QHash<QByteArray, Response> routes_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// Lets events run until `done` holds; false after ten seconds (a hang, not a speed test).
inline bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets events run for a while, so that a signal that should not come would.
inline void RunEvents(int ms = 150) {
    (void)WaitUntil([] { return false; }, ms);
}

} // namespace vaultwing::test
