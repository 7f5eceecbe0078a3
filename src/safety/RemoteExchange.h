// One round trip with the backup server: connect and log in, upload the command file as
// one stream, receive the reply file as one stream, and wait for the server to close.
// Runs in the user-interface thread: the waits process events, and progress and the end
// are reported through signals that a window (or the tool) shows.
//
// The wait is on silence: from the connection to the end, every byte that moves in
// either direction starts it again, so an upload may take as long as the line needs,
// but a connection on which nothing moves for that time (60 s) ends the exchange. The
// keep-alive frames the program sends itself do not count; the server's answers to them
// do.
#pragma once

#include "engines/transport/TcpClient.h"
#include "safety/RemoteFiles.h"

#include <QFile>
#include <QTimer>

namespace focaris::remote {

class RemoteExchange : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Connecting, Uploading, WaitingReply, Receiving, Complete, Ended };

    explicit RemoteExchange(QObject *parent = nullptr);

    ServerAddress server;
    QString email, password, place;
    int waitMs = 60000;  // the longest silence
    int maxPing = 30000; // the transport's keep-alive
    qint64 packetSize = 65535;

    // Uploads `commandFile` (deleted once the server has it) and receives the reply into
    // `replyFile`. True when the reply file exists at the end; otherwise errorText() says
    // why, in the words the person sees.
    bool run(const QString &commandFile, const QString &replyFile);
    QString errorText() const { return error_; }
    State state() const { return state_; }

    // Sets the stop flag and ends the connection (the window was closed).
    void stop();
    // What the wait timer does when its time is up; tests call it to stand for a server
    // that stays silent, without waiting for the time to pass.
    void expireWait();

signals:
    void progressText(const QString &text);
    void progressRange(qint64 maximum);
    void progressValue(qint64 value);

private:
    void waitUntil(const std::function<bool()> &done);
    void endConnection();
    void sendNext();
    void onBytesMoved(qint64 sent, qint64 received);

    transport::TcpClient client_;
    QTimer wait_;
    State state_ = State::Idle;
    bool stop_ = false;
    bool accepted_ = false;
    bool closed_ = false;
    QString error_;
    QString commandPath_, replyPath_;
    QFile command_, reply_;
    qint64 commandSize_ = 0;
};

} // namespace focaris::remote
