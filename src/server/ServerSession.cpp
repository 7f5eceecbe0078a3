// One client connection of the backup server.
#include "server/ServerSession.h"
#include "safety/RemoteFiles.h"
#include "server/BackupServer.h"

#include <QUuid>

namespace focaris::server {

using namespace transport;

ServerSession::ServerSession(QTcpSocket *socket, BackupServer &server)
    : QObject(&server), server_(server), channel_(new FrameChannel(socket, this))
{
    connect(channel_, &FrameChannel::frameReceived, this, &ServerSession::onFrame);
    connect(channel_, &FrameChannel::closed, this, &ServerSession::finish);
    connect(channel_, &FrameChannel::failed, this, [this](int) { finish(); });
    idle_.setSingleShot(true);
    connect(&idle_, &QTimer::timeout, this, &ServerSession::finish);
    idle_.start(server_.config().idleMs);
    channel_->sendFrame(Identify);
}

ServerSession::~ServerSession()
{
    upload_.close();
    reply_.close();
    // Nothing half-received or half-sent stays behind.
    if (!upload_.fileName().isEmpty())
        QFile::remove(upload_.fileName());
    if (!reply_.fileName().isEmpty())
        QFile::remove(reply_.fileName());
}

void ServerSession::finish()
{
    if (phase_ == Phase::Done)
        return;
    phase_ = Phase::Done;
    idle_.stop();
    channel_->abort();
    deleteLater();
}

void ServerSession::onFrame(const Frame &frame)
{
    if (phase_ == Phase::Done)
        return;
    idle_.start(server_.config().idleMs);
    switch (frame.code) {
    case Ping: channel_->sendFrame(Pong); return;
    case Pong: return;
    case Login: {
        if (phase_ != Phase::Login)
            return finish();
        qsizetype pos = 0;
        const auto user = deserializeString(frame.payload, pos);
        const auto room = deserializeString(frame.payload, pos);
        if (!user || !room || !user->startsWith(remote::kProductNumber)) {
            channel_->sendFrame(NotLetIn);
            return finish();
        }
        email_ = user->mid(remote::kProductNumber.size()).trimmed();
        password_ = room->left(40).trimmed();
        phase_ = Phase::Command;
        channel_->sendFrame(LoginAccepted);
        return;
    }
    case StreamAnnounce: {
        if (phase_ != Phase::Command || frame.payload.size() < 4)
            return finish();
        expected_ = readInt32(frame.payload.constData());
        if (expected_ <= 0 || expected_ > server_.config().maxUpload) {
            BackupServer::log(QStringLiteral("refused an upload of %1 bytes from %2").arg(expected_).arg(email_));
            channel_->sendFrame(StreamDenied);
            return finish();
        }
        upload_.setFileName(server_.store().incomingFolder() + QLatin1Char('/') +
                            QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".cmd"));
        if (!upload_.open(QIODevice::WriteOnly))
            return finish();
        received_ = 0;
        phase_ = Phase::Upload;
        channel_->sendFrame(StreamAccepted);
        return;
    }
    case StreamPacket:
        if (phase_ != Phase::Upload || received_ + frame.payload.size() > expected_ ||
            upload_.write(frame.payload) != frame.payload.size())
            return finish();
        received_ += frame.payload.size();
        if (received_ < expected_) {
            channel_->sendFrame(NeedMoreData);
            return;
        }
        upload_.close();
        channel_->sendFrame(StreamComplete);
        replyToCommand();
        return;
    case StreamAccepted:
    case NeedMoreData:
        if (phase_ == Phase::Reply)
            sendNextPacket();
        return;
    case StreamComplete:
        if (phase_ == Phase::Reply) {
            // The client has everything: the exchange is over and the server closes.
            phase_ = Phase::Done;
            idle_.stop();
            reply_.close();
            QFile::remove(reply_.fileName());
            reply_.setFileName(QString());
            channel_->socket()->disconnectFromHost();
            connect(channel_->socket(), &QTcpSocket::disconnected, this, &QObject::deleteLater);
            QTimer::singleShot(5000, this, &QObject::deleteLater);
        }
        return;
    case StreamDenied: return finish();
    default: return;
    }
}

void ServerSession::replyToCommand()
{
    reply_.setFileName(server_.store().incomingFolder() + QLatin1Char('/') +
                       QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".reply"));
    const bool ok = server_.answer(email_, password_, upload_.fileName(), reply_.fileName());
    QFile::remove(upload_.fileName());
    upload_.setFileName(QString());
    if (!ok || !reply_.open(QIODevice::ReadOnly))
        return finish();
    phase_ = Phase::Reply;
    channel_->sendFrame(StreamAnnounce, streamAnnouncement(std::int32_t(reply_.size()), "raspuns"));
}

void ServerSession::sendNextPacket()
{
    if (reply_.atEnd())
        return;
    // Keep at most a few packets queued: the client asks for each one.
    const QByteArray bytes = reply_.read(kPacket);
    if (bytes.isEmpty())
        return finish();
    channel_->sendFrame(StreamPacket, bytes);
}

} // namespace focaris::server
