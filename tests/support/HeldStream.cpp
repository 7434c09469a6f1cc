#include "support/HeldStream.h"

#include <QTcpSocket>

HeldStream::HeldStream(std::vector<std::uint8_t> body) : body_(std::move(body)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
        client_ = server_.nextPendingConnection();
        QObject::connect(client_, &QTcpSocket::readyRead, [this] {
            client_->readAll();
            client_->write("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n");
            client_->write(reinterpret_cast<const char*>(body_.data()), static_cast<qint64>(body_.size() / 2));
        });
    });
}

QString HeldStream::url(const QString& name) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(name);
}

void HeldStream::finish() {
    if (!client_) return;
    client_->write(reinterpret_cast<const char*>(body_.data() + body_.size() / 2),
                   static_cast<qint64>(body_.size() - body_.size() / 2));
    client_->disconnectFromHost();
}
