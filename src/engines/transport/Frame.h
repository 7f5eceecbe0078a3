// Frames of the message transport. Every message on the connection is one frame
// (integers 32-bit little-endian):
//
//   | offset | size  | field                                           |
//   |--------|-------|-------------------------------------------------|
//   | 0      | 4     | total length L of the frame: 8 + payload length |
//   | 4      | 4     | message code (FrameCode)                        |
//   | 8      | L - 8 | payload                                         |
//
// No Qt signals here: the parser is plain code so that it can be fuzzed and reused by
// both ends of the connection.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace focaris::transport {

enum FrameCode : std::int32_t {
    NeedMoreData = 1,   // the receiver of a stream asks for the next packet
    StreamAnnounce = 2, // 4-byte size, then the information text
    StreamDenied = 4,
    StreamAccepted = 5,
    StopReceivingStream = 6,
    StopSendingStream = 7,
    TextMessage = 8,
    Ping = 9,
    Pong = 10,
    Login = 11,    // user name and room, each a serialized string
    Identify = 12, // the server asks the client to log in
    DisconnectAll = 13,
    DisconnectYou = 14,
    KickYouOut = 15,
    NameInUse = 16,
    NotLetIn = 17,
    LoginAccepted = 18,
    StreamPacket = 19, // raw bytes of the stream
    StreamComplete = 20,
    NameList = 21,
    ClientJoined = 22,
    ClientLeft = 23,
    PacketFromClient = 24, // data, sender's name, name length (4 bytes)
};

// Largest frame accepted from the other end. Real frames are at most one packet of
// 65535 bytes plus the header; anything near this limit is a broken or hostile peer.
constexpr std::int32_t kMaxFrameLength = 64 * 1024 * 1024;
// Length and code: a frame without payload (a ping, a pong) is just this.
constexpr qint64 kFrameHeaderSize = 8;

QByteArray encodeFrame(std::int32_t code, const QByteArray &payload = {});
void appendInt32(QByteArray &out, std::int32_t value);
std::int32_t readInt32(const char *p);

struct Frame {
    std::int32_t code = 0;
    QByteArray payload;
};

// Cuts frames out of the bytes received so far. Bytes are added with feed(); next()
// gives complete frames in order and keeps a partial frame for the next feed. A length
// below 8 or above kMaxFrameLength puts the parser in the error state (the connection
// must then be ended): it neither waits for nor allocates such a frame.
class FrameParser {
public:
    void feed(const char *data, qsizetype length);
    void feed(const QByteArray &bytes) { feed(bytes.constData(), bytes.size()); }
    std::optional<Frame> next();
    bool failed() const { return failed_; }
    QString error() const { return error_; }
    // The refused length field, when failed().
    std::int32_t badLength() const { return badLength_; }
    void clear();
    qsizetype pending() const { return buffer_.size() - pos_; }

private:
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool failed_ = false;
    std::int32_t badLength_ = 0;
    QString error_;
};

// The login texts (code 11). The text is taken as Windows-1250 and converted to UTF-8;
// plain ASCII shorter than 256 bytes is written as byte 6, a one-byte length and the
// bytes; longer plain ASCII as byte 12, a 4-byte length and the bytes; anything else as
// byte 20, a 4-byte length and the UTF-8 bytes.
QByteArray serializeString(const QString &text);
// Reads one serialized string at `pos` (advanced); nullopt when malformed or cut off.
std::optional<QString> deserializeString(const QByteArray &data, qsizetype &pos);

// Payload of code 2: the stream size then the information text.
QByteArray streamAnnouncement(std::int32_t size, const QByteArray &info);

} // namespace focaris::transport
