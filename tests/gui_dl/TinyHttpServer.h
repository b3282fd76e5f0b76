#pragma once
// A minimal HTTP/1.1 server on 127.0.0.1 for the download tests: one request per connection,
// answers from a table of request targets (404 for any other).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <string>
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
        (void)server_.listen(QHostAddress::LocalHost, 0);
    }

    [[nodiscard]] bool Listening() const { return server_.isListening(); }
    [[nodiscard]] std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(server_.serverPort()); }
    [[nodiscard]] QString Url(const std::string& path) const {
        return QString::fromStdString("http://" + HostAndPort() + path);
    }
    // Serves `response` at `target`; a whole address on this server is cut to its path.
    void Serve(std::string target, const Response& response) {
        if (target.starts_with("http://")) target = target.substr(target.find('/', 7));
        routes_[QByteArray::fromStdString(target)] = response;
    }

    std::vector<QByteArray> requests; // the header block of every request seen

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) return;
        requests.push_back(buffer);
        const Response r = routes_.value(buffer.split(' ').value(1), Response{404, "Not Found", {}, false});
        pending_.remove(socket);
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\n";
        if (!r.location.isEmpty()) reply += "Location: " + r.location + "\r\n";
        reply += "Content-Length: " + QByteArray::number(r.stall ? r.body.size() * 100 : r.body.size());
        socket->write(reply + "\r\nConnection: close\r\n\r\n" + r.body);
        if (r.stall) return;
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
            if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    QHash<QByteArray, Response> routes_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// Lets events run until `done` holds; false after `ms` milliseconds (a hang, not a speed test).
// A generous bound: a loaded machine is slow, not broken.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 60000) {
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
