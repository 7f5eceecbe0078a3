// The client of the message transport: connects to the backup server, logs in, keeps the
// connection alive with pings, and moves streams (files) in packets with flow control by
// the receiver. It runs in the user-interface thread; what the server sends arrives as Qt
// signals.
//
// Normal course of the remote copy: the server asks for the login (12), the client answers
// with its user name and room (11), the server accepts (18); the client announces its
// command file (2), sends it in packets (19) each time the server accepts (5) or asks for
// more (1), the server confirms (20); the server announces its reply (2), the client
// accepts (5) and asks for more (1) until all has arrived, then confirms (20); the server
// closes the connection.
#pragma once

#include "engines/transport/FrameChannel.h"

#include <QIODevice>
#include <QStringList>

#include <functional>

namespace focaris::transport {

class TcpClient : public QObject {
    Q_OBJECT
public:
    explicit TcpClient(QObject *parent = nullptr);
    ~TcpClient() override;

    QString host() const { return host_; }
    quint16 port() const { return port_; }
    // Changing the host or port while connected reconnects when allowed, otherwise it is
    // refused with std::runtime_error.
    void setHost(const QString &host);
    void setPort(quint16 port);
    QString userName;
    QString room;
    int maxPing = 1000; // ping interval in milliseconds
    bool autoTryReconnect = false;
    bool allowChangeHostAndPortOnConnection = false;

    // True from the start of a connect (even before it completes) until a disconnect.
    bool isConnected() const { return connected_; }
    // Connecting throws std::runtime_error("Room and username must be specified before
    // connecting!") when either is empty, before any socket is opened.
    void setConnected(bool on);

    // Code 2 with the stream's size and information text.
    void announceStream(qint64 size, const QByteArray &info);
    // Code 19 with the next min(packetSize, bytes left) bytes of the stream. Throws
    // std::runtime_error when no byte is left or the stream cannot be read.
    void sendPacket(QIODevice &stream, qint64 packetSize);
    // Code 1.
    void askForMore();
    void sendFrame(std::int32_t code, const QByteArray &payload = {});

    // Decides whether an announced stream is accepted (default: every stream).
    std::function<bool(qint64 size, const QByteArray &info)> acceptStream;

    // Incoming stream counters (reset at every connect and disconnect).
    qint64 expectedBytes() const { return expected_; }
    qint64 receivedBytes() const { return received_; }
    QByteArray streamInfo() const { return info_; }
    int missedPongs() const { return missedPongs_; }

signals:
    void connected();
    void disconnected();
    // Bytes written to or read from the connection (see FrameChannel::bytesMoved).
    void bytesMoved(qint64 sent, qint64 received);
    void error(const QString &text, int code);
    void timeOut();
    void serverNeedMoreData();
    void newStreamComing(qint64 size, const QByteArray &info, bool accepted);
    void serverDenyStream();
    void serverAcceptStream();
    void serverStopReceivingStream();
    void serverStopSendingStream();
    void messageCome(const QByteArray &text);
    void serverPong();
    void serverDisconnectAll();
    void serverDisconnectYou();
    void serverKickYouOut();
    void serverNameInUse();
    void serverNotLetIn();
    void serverAccept();
    void packetCome(const QByteArray &payload);
    void streamReceived(qint64 received, const QByteArray &info);
    void serverReceivedStream();
    void nameListReceived(const QStringList &names);
    void clientJoin(const QString &name);
    void clientLeave(const QString &name);
    void packetFromClient(const QString &name, const QByteArray &data);
    void unknownPacket(const QByteArray &payload, int code);

private:
    void dispatch(const Frame &frame);
    void onClosed();
    void onFailed(int code);
    void onPingTimer();
    void disconnectNow(bool notify);
    void resetStream();

    QString host_;
    quint16 port_ = 0;
    bool connected_ = false;
    bool destroying_ = false;
    FrameChannel *channel_ = nullptr;
    QTimer ping_;
    bool pingOutstanding_ = false;
    int missedPongs_ = 0;
    qint64 expected_ = 0, received_ = 0;
    bool streamActive_ = false;
    QByteArray info_;
};

} // namespace focaris::transport
