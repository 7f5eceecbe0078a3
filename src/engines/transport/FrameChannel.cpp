// A framed connection on a QTcpSocket.
#include "engines/transport/FrameChannel.h"
#include "engines/transport/SocketErrors.h"

namespace focaris::transport {

FrameChannel::FrameChannel(QTcpSocket *socket, QObject *parent) : QObject(parent), socket_(socket)
{
    socket_->setParent(this);
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &FrameChannel::trySend);
    connect(socket_, &QTcpSocket::readyRead, this, &FrameChannel::onReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, &FrameChannel::closed);
    connect(socket_, &QTcpSocket::errorOccurred, this, &FrameChannel::onSocketError);
    connect(socket_, &QTcpSocket::bytesWritten, this, [this](qint64 n) { emit bytesMoved(n, 0); });
}

FrameChannel::~FrameChannel()
{
    if (socket_)
        socket_->disconnect(this);
}

void FrameChannel::sendFrame(std::int32_t code, const QByteArray &payload)
{
    sendBuffer_.append(encodeFrame(code, payload));
    trySend();
}

void FrameChannel::trySend()
{
    if (!socket_)
        return;
    if (socket_->state() == QAbstractSocket::ConnectedState) {
        while (sendPos_ < sendBuffer_.size() && socket_->bytesToWrite() < kSocketWindow) {
            const qint64 room = kSocketWindow - socket_->bytesToWrite();
            const qint64 chunk = std::min<qint64>(room, sendBuffer_.size() - sendPos_);
            const qint64 written = socket_->write(sendBuffer_.constData() + sendPos_, chunk);
            if (written < 0) {
                emit failed(socketErrorCode(socket_->error()));
                return;
            }
            if (written == 0)
                break;
            sendPos_ += written;
        }
    }
    if (sendPos_ >= sendBuffer_.size()) {
        sendBuffer_.clear();
        sendPos_ = 0;
        return;
    }
    if (sendBuffer_.size() > kCompactAbove) {
        sendBuffer_.remove(0, sendPos_);
        sendPos_ = 0;
    }
    if (!retry_.isActive())
        retry_.start();
}

void FrameChannel::onReadyRead()
{
    if (!socket_)
        return;
    const QByteArray bytes = socket_->readAll();
    if (!bytes.isEmpty())
        emit bytesMoved(0, bytes.size());
    parser_.feed(bytes);
    if (dispatching_)
        return; // the outer loop below picks these bytes up in order
    dispatching_ = true;
    QPointer<FrameChannel> self(this);
    while (auto frame = parser_.next()) {
        emit frameReceived(*frame);
        if (!self)
            return;
    }
    dispatching_ = false;
    if (parser_.failed())
        emit failed(parser_.badLength() < 8 ? 10022 : 10040);
}

void FrameChannel::onSocketError(QAbstractSocket::SocketError error)
{
    // The peer closing is reported through closed(), not as an error.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    emit failed(socketErrorCode(error));
}

void FrameChannel::clearBuffers()
{
    sendBuffer_.clear();
    sendPos_ = 0;
    parser_.clear();
    retry_.stop();
}

void FrameChannel::abort()
{
    retry_.stop();
    if (socket_)
        socket_->abort();
}

} // namespace focaris::transport
