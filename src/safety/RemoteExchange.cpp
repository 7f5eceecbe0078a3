// One exchange with the backup server.
#include "safety/RemoteExchange.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace focaris::remote {

using transport::TcpClient;

RemoteExchange::RemoteExchange(QObject *parent) : QObject(parent)
{
    wait_.setSingleShot(true);
    connect(&wait_, &QTimer::timeout, this, &RemoteExchange::expireWait);
    connect(&client_, &TcpClient::bytesMoved, this, &RemoteExchange::onBytesMoved);
    connect(&client_, &TcpClient::serverAccept, this, [this] { accepted_ = true; });
    connect(&client_, &TcpClient::serverAcceptStream, this, &RemoteExchange::sendNext);
    connect(&client_, &TcpClient::serverNeedMoreData, this, &RemoteExchange::sendNext);
    connect(&client_, &TcpClient::serverReceivedStream, this, [this] {
        if (state_ != State::Uploading)
            return;
        state_ = State::WaitingReply;
        command_.close();
        QFile::remove(commandPath_);
        emit progressValue(commandSize_);
        emit progressText(QStringLiteral("Astept raspuns..."));
        emit progressValue(0);
    });
    client_.acceptStream = [this](qint64 size, const QByteArray &) {
        return state_ == State::WaitingReply && size >= 0;
    };
    connect(&client_, &TcpClient::newStreamComing, this, [this](qint64 size, const QByteArray &, bool accepted) {
        if (!accepted)
            return;
        reply_.setFileName(replyPath_);
        if (!reply_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            endConnection();
            return;
        }
        state_ = State::Receiving;
        emit progressRange(size);
        emit progressText(QStringLiteral("Primesc raspunsul..."));
        if (size == 0) {
            reply_.close();
            state_ = State::Complete;
        }
    });
    connect(&client_, &TcpClient::packetCome, this, [this](const QByteArray &payload) {
        if (state_ != State::Receiving)
            return;
        if (reply_.write(payload) != payload.size()) {
            endConnection();
            return;
        }
        emit progressValue(client_.receivedBytes());
        if (client_.receivedBytes() < client_.expectedBytes())
            client_.askForMore();
    });
    connect(&client_, &TcpClient::streamReceived, this, [this](qint64, const QByteArray &) {
        if (state_ != State::Receiving)
            return;
        reply_.close();
        state_ = State::Complete;
        wait_.stop();
    });
    connect(&client_, &TcpClient::disconnected, this, [this] {
        closed_ = true;
        endConnection();
    });
    // Errors and refusals end the connection through the same path. An unanswered ping
    // does not: on a slow line the answer may wait behind the data, and a server that no
    // longer answers at all is ended by the wait on silence.
    connect(&client_, &TcpClient::error, this, [this](const QString &, int) { endConnection(); });
}

void RemoteExchange::onBytesMoved(qint64 sent, qint64 received)
{
    if (!wait_.isActive())
        return;
    // A lone keep-alive frame of our own is 8 bytes: it says nothing of the line.
    if (received > 0 || sent > transport::kFrameHeaderSize)
        wait_.start(waitMs);
}

void RemoteExchange::waitUntil(const std::function<bool()> &done)
{
    // Sleeps until the next event; the wait timer and the transport's pings make sure
    // one always comes.
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void RemoteExchange::expireWait()
{
    if (state_ == State::Idle || state_ == State::Complete || state_ == State::Ended)
        return;
    error_ = QStringLiteral("Serverul nu raspunde!");
    stop_ = true;
    endConnection();
}

void RemoteExchange::stop()
{
    stop_ = true;
    endConnection();
}

void RemoteExchange::endConnection()
{
    if (client_.isConnected())
        client_.setConnected(false);
    closed_ = true;
    if (state_ == State::Uploading || state_ == State::WaitingReply || state_ == State::Receiving) {
        command_.close();
        reply_.close();
        QFile::remove(commandPath_);
        QFile::remove(replyPath_);
        error_ = QStringLiteral("Eroare la transmisie.");
    }
    if (state_ != State::Complete)
        state_ = State::Ended;
    wait_.stop();
}

void RemoteExchange::sendNext()
{
    if (state_ != State::Uploading || !command_.isOpen() || command_.atEnd())
        return;
    // The server accepts the stream or asks for more once it holds every byte sent so far.
    const qint64 sent = command_.pos();
    emit progressValue(sent);
    emit progressText(QStringLiteral("Transmit comanda... %1 din %2 KB").arg(sent / 1024).arg(commandSize_ / 1024));
    try {
        client_.sendPacket(command_, packetSize);
    } catch (const std::exception &) {
        endConnection();
        return;
    }
}

bool RemoteExchange::run(const QString &commandFile, const QString &replyFile)
{
    stop_ = false;
    accepted_ = false;
    closed_ = false;
    error_.clear();
    commandPath_ = commandFile;
    replyPath_ = replyFile;
    QFile::remove(replyFile);
    state_ = State::Connecting;

    client_.setHost(server.host);
    client_.setPort(server.port);
    client_.userName = loginUserName(email);
    client_.room = loginRoom(password, place);
    client_.maxPing = maxPing;
    emit progressText(QStringLiteral("Conectare Server..."));
    client_.setConnected(true);
    wait_.start(waitMs);
    waitUntil([this] { return accepted_ || closed_ || stop_; });
    if (!accepted_ || closed_ || stop_) {
        const bool stopped = stop_;
        endConnection();
        error_ = stopped ? QStringLiteral("Timp de asteptare prea mare!") : QStringLiteral("Serverul nu raspunde!");
        state_ = State::Ended;
        return false;
    }

    emit progressText(QStringLiteral("Transmit comanda..."));
    command_.setFileName(commandFile);
    if (!command_.open(QIODevice::ReadOnly)) {
        endConnection();
        error_ = QStringLiteral("Eroare la transmisie.");
        return false;
    }
    commandSize_ = command_.size();
    emit progressRange(commandSize_);
    state_ = State::Uploading;
    client_.announceStream(command_.size(), QByteArrayLiteral("\"trimit\""));

    waitUntil([this] { return closed_ || stop_; });
    if (stop_ && state_ != State::Complete)
        error_ = QStringLiteral("Oprire fortata.");
    endConnection();
    if (state_ == State::Complete && QFile::exists(replyFile))
        error_.clear();
    return QFile::exists(replyFile) && state_ == State::Complete;
}

} // namespace focaris::remote
