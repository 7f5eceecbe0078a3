// One client connection of the backup server, the server side of the exchange:
// ask for the login (12), accept it (18), accept the command file's stream (5), ask for
// each next packet (1) and confirm it (20); then announce the reply (2), send a packet
// (19) at each acceptance (5) or request (1), and close when the client confirms (20).
#pragma once

#include "engines/transport/FrameChannel.h"

#include <QFile>
#include <QTimer>

namespace focaris::server {

class BackupServer;

class ServerSession : public QObject {
    Q_OBJECT
public:
    ServerSession(QTcpSocket *socket, BackupServer &server);
    ~ServerSession() override;

    static constexpr qint64 kPacket = 65535;

private:
    void onFrame(const transport::Frame &frame);
    void finish();
    void sendNextPacket();
    void replyToCommand();

    BackupServer &server_;
    transport::FrameChannel *channel_;
    QTimer idle_;
    enum class Phase { Login, Command, Upload, Reply, Done } phase_ = Phase::Login;
    QString email_, password_;
    QFile upload_, reply_;
    qint64 expected_ = 0, received_ = 0;
};

} // namespace focaris::server
