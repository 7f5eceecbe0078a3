// The transport client.
#include "engines/transport/TcpClient.h"
#include "engines/transport/SocketErrors.h"

#include <QHostAddress>
#include <QNetworkProxy>

#include <stdexcept>

namespace focaris::transport {

TcpClient::TcpClient(QObject *parent) : QObject(parent)
{
    connect(&ping_, &QTimer::timeout, this, &TcpClient::onPingTimer);
}

TcpClient::~TcpClient()
{
    destroying_ = true;
    if (connected_)
        disconnectNow(false);
}

void TcpClient::setHost(const QString &host)
{
    if (host == host_)
        return;
    if (connected_ && !allowChangeHostAndPortOnConnection)
        throw std::runtime_error("Can not change the Host while connected");
    host_ = host;
    if (connected_) {
        setConnected(false);
        setConnected(true);
    }
}

void TcpClient::setPort(quint16 port)
{
    if (port == port_)
        return;
    if (connected_ && !allowChangeHostAndPortOnConnection)
        throw std::runtime_error("Can not change the Port while connected");
    port_ = port;
    if (connected_) {
        setConnected(false);
        setConnected(true);
    }
}

void TcpClient::setConnected(bool on)
{
    if (on == connected_)
        return;
    if (!on) {
        disconnectNow(!destroying_);
        return;
    }
    if (room.isEmpty() || userName.isEmpty())
        throw std::runtime_error("Room and username must be specified before connecting!");
    resetStream();
    pingOutstanding_ = false;
    missedPongs_ = 0;
    auto *socket = new QTcpSocket;
    socket->setProxy(QNetworkProxy::NoProxy);
    channel_ = new FrameChannel(socket, this);
    connect(channel_, &FrameChannel::frameReceived, this, &TcpClient::dispatch);
    connect(channel_, &FrameChannel::closed, this, &TcpClient::onClosed);
    connect(channel_, &FrameChannel::failed, this, &TcpClient::onFailed);
    connect(channel_, &FrameChannel::bytesMoved, this, &TcpClient::bytesMoved);
    connect(socket, &QTcpSocket::connected, this, &TcpClient::connected);
    connected_ = true;
    ping_.start(std::max(1, maxPing));
    // A dotted address is used as it is; a name is looked up by the socket, and a failed
    // look-up comes back as HostNotFoundError (reported as 10014).
    socket->connectToHost(host_, port_);
}

void TcpClient::disconnectNow(bool notify)
{
    ping_.stop();
    if (channel_) {
        FrameChannel *channel = channel_;
        channel_ = nullptr;
        channel->disconnect(this);
        channel->socket()->disconnect(this);
        // Reset rather than a graceful close, as the server expects.
        channel->abort();
        channel->clearBuffers();
        channel->deleteLater();
    }
    const bool was = connected_;
    connected_ = false;
    resetStream();
    if (was && notify)
        emit disconnected();
}

void TcpClient::resetStream()
{
    expected_ = 0;
    received_ = 0;
    streamActive_ = false;
    info_.clear();
}

void TcpClient::onClosed()
{
    disconnectNow(!destroying_);
    if (autoTryReconnect && !destroying_)
        setConnected(true);
}

void TcpClient::onFailed(int code)
{
    if (code != kWouldBlock)
        disconnectNow(true);
    const QString text = socketErrorText(code);
    if (receivers(SIGNAL(error(QString, int))) > 0)
        emit error(text, code);
    else
        qWarning("transport: %s (%d)", qPrintable(text), code);
}

void TcpClient::onPingTimer()
{
    if (!connected_ || !channel_)
        return;
    if (pingOutstanding_) {
        ++missedPongs_;
        sendFrame(Ping);
        emit timeOut();
        return;
    }
    pingOutstanding_ = true;
    sendFrame(Ping);
}

void TcpClient::sendFrame(std::int32_t code, const QByteArray &payload)
{
    if (channel_)
        channel_->sendFrame(code, payload);
}

void TcpClient::announceStream(qint64 size, const QByteArray &info)
{
    sendFrame(StreamAnnounce, streamAnnouncement(std::int32_t(size), info));
}

void TcpClient::sendPacket(QIODevice &stream, qint64 packetSize)
{
    if (!stream.isReadable())
        throw std::runtime_error("Error, invalid stream while trying to send!");
    const qint64 left = stream.size() - stream.pos();
    if (left <= 0)
        throw std::runtime_error("Error while sending stream! Stream position is in the end of the stream!");
    const QByteArray bytes = stream.read(std::min(left, packetSize));
    if (bytes.isEmpty())
        throw std::runtime_error("Error, invalid stream while trying to send!");
    sendFrame(StreamPacket, bytes);
}

void TcpClient::askForMore()
{
    sendFrame(NeedMoreData);
}

void TcpClient::dispatch(const Frame &frame)
{
    const QByteArray &p = frame.payload;
    switch (frame.code) {
    case NeedMoreData: emit serverNeedMoreData(); break;
    case StreamAnnounce: {
        const qint64 size = p.size() >= 4 ? readInt32(p.constData()) : 0;
        const QByteArray info = p.mid(4);
        const bool accept = size >= 0 && (!acceptStream || acceptStream(size, info));
        emit newStreamComing(size, info, accept);
        if (accept) {
            expected_ = size;
            received_ = 0;
            info_ = info;
            streamActive_ = true;
            sendFrame(StreamAccepted);
        } else {
            sendFrame(StreamDenied);
        }
        break;
    }
    case StreamDenied: emit serverDenyStream(); break;
    case StreamAccepted: emit serverAcceptStream(); break;
    case StopReceivingStream: emit serverStopReceivingStream(); break;
    case StopSendingStream: emit serverStopSendingStream(); break;
    case TextMessage: emit messageCome(p); break;
    case Ping: sendFrame(Pong); break;
    case Pong:
        pingOutstanding_ = false;
        missedPongs_ = 0;
        emit serverPong();
        break;
    case Identify: {
        QByteArray login = serializeString(userName);
        login.append(serializeString(room));
        sendFrame(Login, login);
        break;
    }
    case DisconnectAll:
        disconnectNow(true);
        emit serverDisconnectAll();
        break;
    case DisconnectYou:
        disconnectNow(true);
        emit serverDisconnectYou();
        break;
    case KickYouOut:
        disconnectNow(true);
        emit serverKickYouOut();
        break;
    case NameInUse:
        disconnectNow(true);
        emit serverNameInUse();
        break;
    case NotLetIn:
        disconnectNow(true);
        emit serverNotLetIn();
        break;
    case LoginAccepted: emit serverAccept(); break;
    case StreamPacket:
        received_ += p.size();
        emit packetCome(p);
        if (streamActive_ && received_ >= expected_) {
            streamActive_ = false;
            emit streamReceived(received_, info_);
            sendFrame(StreamComplete);
        }
        break;
    case StreamComplete: emit serverReceivedStream(); break;
    case NameList: emit nameListReceived(QString::fromUtf8(p).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)); break;
    case ClientJoined: emit clientJoin(QString::fromUtf8(p)); break;
    case ClientLeft: emit clientLeave(QString::fromUtf8(p)); break;
    case PacketFromClient: {
        if (p.size() < 4) {
            emit unknownPacket(p, frame.code);
            break;
        }
        const qint64 nameLength = readInt32(p.constData() + p.size() - 4);
        if (nameLength < 0 || nameLength > p.size() - 4) {
            emit unknownPacket(p, frame.code);
            break;
        }
        const qsizetype dataLength = p.size() - 4 - qsizetype(nameLength);
        emit packetFromClient(QString::fromUtf8(p.mid(dataLength, qsizetype(nameLength))), p.left(dataLength));
        break;
    }
    default: emit unknownPacket(p, frame.code); break;
    }
}

} // namespace focaris::transport
