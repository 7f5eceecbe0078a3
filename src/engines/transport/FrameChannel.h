// One end of a framed connection on a QTcpSocket, used by the client and by the backup
// server: frames out of the received bytes, and a send buffer that never blocks.
//
// Sending: a frame is appended to the send buffer and a send is tried at once. The socket
// is handed at most kSocketWindow unsent bytes at a time; what it cannot take yet waits
// in the buffer and is tried again every 10 ms until the buffer is empty. When everything
// has gone the buffer is emptied; when more than 16384 bytes sit in it, the unsent part is
// moved to the front so that the buffer does not grow with the whole transfer.
//
// Receiving: the bytes available are appended to the unparsed ones and complete frames
// are handed out in order through frameReceived. A frame handler may run a local event
// loop; bytes that arrive meanwhile are queued behind the unparsed ones and handled, in
// order, by the outer loop.
#pragma once

#include "engines/transport/Frame.h"

#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace focaris::transport {

class FrameChannel : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kSocketWindow = 256 * 1024;
    static constexpr qsizetype kCompactAbove = 16384;
    static constexpr int kRetryMs = 10;

    // Takes the socket over (it becomes a child of the channel).
    explicit FrameChannel(QTcpSocket *socket, QObject *parent = nullptr);
    ~FrameChannel() override;

    QTcpSocket *socket() const { return socket_; }
    void sendFrame(std::int32_t code, const QByteArray &payload = {});
    // Unsent bytes still in the send buffer.
    qsizetype unsent() const { return sendBuffer_.size() - sendPos_; }
    // Forgets both buffers (after a disconnect).
    void clearBuffers();
    // Stops the retries and resets the connection (no graceful close).
    void abort();

signals:
    void frameReceived(const focaris::transport::Frame &frame);
    // The peer closed the connection.
    void closed();
    // A socket error (WinSock code) or a malformed frame (10022 below 8 bytes, 10040 too
    // long). The channel has not been aborted yet.
    void failed(int code);
    // Bytes the socket has handed to the system (sent) or read from it (received): the
    // signs of life of a connection, whatever frames they belong to.
    void bytesMoved(qint64 sent, qint64 received);

private:
    void trySend();
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);

    QPointer<QTcpSocket> socket_;
    QByteArray sendBuffer_;
    qsizetype sendPos_ = 0;
    QTimer retry_;
    FrameParser parser_;
    bool dispatching_ = false;
};

} // namespace focaris::transport
