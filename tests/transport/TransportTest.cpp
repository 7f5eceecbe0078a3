// The transport's frames on the wire and the client against a test server in the same
// process: split and joined reads, login, ping, streams, refused and unknown hosts,
// a silent server and hostile frame lengths.
#include "engines/transport/Frame.h"
#include "engines/transport/SocketErrors.h"
#include "engines/transport/TcpClient.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

using namespace focaris::transport;

namespace {

// Runs the event loop until done() holds. The bound only ends a run that would hang; it
// is far above what any event here takes, even on a loaded machine.
constexpr int kHangGuardMs = 120000;

bool waitUntil(const std::function<bool()> &done, int ms = kHangGuardMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (done())
            return true;
        if (t.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

QByteArray hex(const char *h)
{
    return QByteArray::fromHex(h);
}

// A server holding one accepted connection, reading raw bytes and writing raw bytes.
struct TestServer {
    QTcpServer server;
    QTcpSocket *peer = nullptr;
    QByteArray received;
    FrameParser parser;

    TestServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] {
                const QByteArray b = peer->readAll();
                received += b;
                parser.feed(b);
            });
        });
    }
    void send(const QByteArray &bytes)
    {
        peer->write(bytes);
        peer->flush();
    }
    std::optional<Frame> nextFrame(int ms = kHangGuardMs)
    {
        std::optional<Frame> f;
        waitUntil([&] { return bool(f = parser.next()); }, ms);
        return f;
    }
};

struct Client : TcpClient {
    QList<int> codes;
    QStringList errors;
    int timeOuts = 0, disconnects = 0, accepts = 0;
    QList<QByteArray> packets;
    Client()
    {
        userName = QStringLiteral("094ana@example.ro");
        room = QStringLiteral("PAROLA");
        connect(this, &TcpClient::error, [this](const QString &t, int c) {
            errors << t;
            codes << c;
        });
        connect(this, &TcpClient::timeOut, [this] { ++timeOuts; });
        connect(this, &TcpClient::disconnected, [this] { ++disconnects; });
        connect(this, &TcpClient::serverAccept, [this] { ++accepts; });
        connect(this, &TcpClient::packetCome, [this](const QByteArray &p) { packets << p; });
    }
};

void connectTo(Client &c, TestServer &s)
{
    c.setHost(QStringLiteral("127.0.0.1"));
    c.setPort(s.server.serverPort());
    c.setConnected(true);
    ASSERT_TRUE(waitUntil([&] { return s.peer != nullptr; }));
}

} // namespace

TEST(Frames, BytesOnTheWire)
{
    EXPECT_EQ(encodeFrame(Ping), hex("0800000009000000"));
    EXPECT_EQ(encodeFrame(StreamAnnounce, streamAnnouncement(1000, "trimit")),
              hex("1200000002000000e8030000") + "trimit");
    EXPECT_EQ(serializeString(QStringLiteral("abc")), hex("0603") + "abc");
    const QString longText(300, QLatin1Char('x'));
    EXPECT_EQ(serializeString(longText), hex("0c2c010000") + longText.toLatin1());
    // Romanian letters travel as UTF-8; the comma-below letter as the cedilla one.
    EXPECT_EQ(serializeString(QStringLiteral("Ș")), hex("1402000000") + QByteArray("\xc5\x9e"));

    QByteArray both = serializeString(QStringLiteral("094a@b.ro")) + serializeString(longText);
    qsizetype pos = 0;
    EXPECT_EQ(deserializeString(both, pos), QStringLiteral("094a@b.ro"));
    EXPECT_EQ(deserializeString(both, pos), longText);
    EXPECT_EQ(pos, both.size());
    QByteArray lying = hex("14ffffff7f") + "x";
    pos = 0;
    EXPECT_FALSE(deserializeString(lying, pos));
}

TEST(Frames, ParserHandlesSplitJoinedAndHostileInput)
{
    FrameParser p;
    const QByteArray a = encodeFrame(TextMessage, "salut");
    const QByteArray b = encodeFrame(Ping);
    p.feed(a.left(10));
    EXPECT_FALSE(p.next());
    p.feed(a.mid(10) + b);
    auto f1 = p.next();
    auto f2 = p.next();
    ASSERT_TRUE(f1 && f2);
    EXPECT_EQ(f1->payload, "salut");
    EXPECT_EQ(f2->code, Ping);
    EXPECT_FALSE(p.next());

    for (const QByteArray &bad : {hex("0700000001000000"), hex("ffffff7f13000000"), hex("00000000")}) {
        FrameParser q;
        q.feed(bad + QByteArray(8, 'x'));
        EXPECT_FALSE(q.next());
        EXPECT_TRUE(q.failed() || bad.size() < 8);
    }
}

TEST(Client, LogsInAndDispatchesSplitAndJoinedFrames)
{
    TestServer s;
    Client c;
    c.setHost(QStringLiteral("127.0.0.1"));
    c.setPort(s.server.serverPort());
    int connectedCount = 0;
    QObject::connect(&c, &TcpClient::connected, [&] { ++connectedCount; });
    c.setConnected(true);
    ASSERT_TRUE(waitUntil([&] { return s.peer != nullptr && connectedCount == 1; }));

    s.send(encodeFrame(Identify));
    auto login = s.nextFrame();
    ASSERT_TRUE(login);
    EXPECT_EQ(login->code, Login);
    qsizetype pos = 0;
    EXPECT_EQ(deserializeString(login->payload, pos), QStringLiteral("094ana@example.ro"));
    EXPECT_EQ(deserializeString(login->payload, pos), QStringLiteral("PAROLA"));

    // Header in one read, payload in a later one: dispatched once, when complete.
    const QByteArray packet = encodeFrame(StreamPacket, QByteArray(100, 'p'));
    s.send(packet.left(8));
    waitUntil([] { return false; }, 100);
    EXPECT_TRUE(c.packets.isEmpty());
    s.send(packet.mid(8));
    ASSERT_TRUE(waitUntil([&] { return c.packets.size() == 1; }));
    EXPECT_EQ(c.packets[0], QByteArray(100, 'p'));

    // Two frames in one read come in order; a ping is answered with a pong.
    s.send(encodeFrame(LoginAccepted) + encodeFrame(Ping));
    auto pong = s.nextFrame();
    ASSERT_TRUE(pong);
    EXPECT_EQ(pong->code, Pong);
    EXPECT_EQ(c.accepts, 1);
    EXPECT_TRUE(c.errors.isEmpty());
}

TEST(Client, ReceivesAnAnnouncedStreamAndSendsInPackets)
{
    TestServer s;
    Client c;
    qint64 gotTotal = 0;
    QObject::connect(&c, &TcpClient::streamReceived, [&](qint64 n, const QByteArray &) { gotTotal = n; });
    connectTo(c, s);

    s.send(encodeFrame(StreamAnnounce, streamAnnouncement(150, "raspuns")));
    auto acc = s.nextFrame();
    ASSERT_TRUE(acc);
    EXPECT_EQ(acc->code, StreamAccepted);
    s.send(encodeFrame(StreamPacket, QByteArray(100, 'a')) + encodeFrame(StreamPacket, QByteArray(50, 'b')));
    auto done = s.nextFrame();
    ASSERT_TRUE(done);
    EXPECT_EQ(done->code, StreamComplete);
    EXPECT_EQ(gotTotal, 150);

    // The client's own stream: announced, then cut into packets of the size asked for.
    QByteArray data(70000, 'z');
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    c.announceStream(data.size(), "\"trimit\"");
    c.sendPacket(buf, 65535);
    c.sendPacket(buf, 65535);
    EXPECT_THROW(c.sendPacket(buf, 65535), std::runtime_error);
    auto ann = s.nextFrame();
    auto p1 = s.nextFrame();
    auto p2 = s.nextFrame();
    ASSERT_TRUE(ann && p1 && p2);
    EXPECT_EQ(ann->payload, streamAnnouncement(70000, "\"trimit\""));
    EXPECT_EQ(p1->payload.size(), 65535);
    EXPECT_EQ(p2->payload.size(), 70000 - 65535);
}

TEST(Client, ConnectionFailuresCarryTheirCodes)
{
    Client c;
    c.room.clear();
    EXPECT_THROW(c.setConnected(true), std::runtime_error);
    EXPECT_FALSE(c.isConnected());

    // A port nobody listens on.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 closedPort = probe.serverPort();
    probe.close();
    Client refused;
    refused.setHost(QStringLiteral("127.0.0.1"));
    refused.setPort(closedPort);
    refused.setConnected(true);
    ASSERT_TRUE(waitUntil([&] { return !refused.codes.isEmpty(); }));
    EXPECT_EQ(refused.codes[0], 10061);
    EXPECT_EQ(refused.errors[0], QStringLiteral("Connection refused"));
    EXPECT_FALSE(refused.isConnected());

    Client unknown;
    unknown.setHost(QStringLiteral("no-such-host.invalid"));
    unknown.setPort(1235);
    unknown.setConnected(true);
    ASSERT_TRUE(waitUntil([&] { return !unknown.codes.isEmpty(); }));
    EXPECT_EQ(unknown.codes[0], 10014);
    EXPECT_EQ(unknown.errors[0], QStringLiteral("Bad address"));
    EXPECT_EQ(socketErrorText(12345), QStringLiteral("Unkown error was encountered!"));
}

TEST(Client, SilentServerTimesOutAndHostileLengthEndsTheConnection)
{
    TestServer s;
    Client c;
    c.maxPing = 40;
    c.setHost(QStringLiteral("127.0.0.1"));
    c.setPort(s.server.serverPort());
    c.setConnected(true);
    ASSERT_TRUE(waitUntil([&] { return c.timeOuts >= 2; }));
    EXPECT_GE(c.missedPongs(), 2);
    auto ping = s.nextFrame();
    ASSERT_TRUE(ping);
    EXPECT_EQ(ping->code, Ping);
    s.send(encodeFrame(Pong));
    ASSERT_TRUE(waitUntil([&] { return c.missedPongs() == 0; }));

    // A length field of 2 GB must not be waited for or allocated.
    s.send(hex("ffffff7f13000000") + QByteArray(16, 'x'));
    ASSERT_TRUE(waitUntil([&] { return !c.codes.isEmpty(); }));
    EXPECT_EQ(c.codes[0], 10040);
    EXPECT_FALSE(c.isConnected());
    EXPECT_EQ(c.disconnects, 1);
}

TEST(Client, ServerClosingDisconnectsOnce)
{
    TestServer s;
    Client c;
    connectTo(c, s);
    EXPECT_THROW(c.setPort(1), std::runtime_error);
    s.peer->disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return c.disconnects == 1; }));
    EXPECT_FALSE(c.isConnected());
    EXPECT_TRUE(c.errors.isEmpty());
}
