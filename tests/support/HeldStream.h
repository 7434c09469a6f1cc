#pragma once

#include <QString>
#include <QTcpServer>

#include <cstdint>
#include <vector>

class QTcpSocket;

// An http server on 127.0.0.1 that sends the first half of a song and holds the connection until
// told to send the rest: the Player plays the half and then waits, playing, for more.
class HeldStream {
public:
    explicit HeldStream(std::vector<std::uint8_t> body);

    // The stream's address; name is only the path part the Player shows.
    QString url(const QString& name = QStringLiteral("held.mp3")) const;
    // Sends the rest of the song and closes the connection.
    void finish();

private:
    std::vector<std::uint8_t> body_;
    QTcpServer server_;
    QTcpSocket* client_ = nullptr;
};
