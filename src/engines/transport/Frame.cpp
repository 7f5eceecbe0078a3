// Frame encoding and parsing of the message transport.
#include "engines/transport/Frame.h"
#include "engines/common/Codepage.h"

namespace focaris::transport {

void appendInt32(QByteArray &out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const char b[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff), char((v >> 24) & 0xff)};
    out.append(b, 4);
}

std::int32_t readInt32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return std::int32_t(std::uint32_t(u[0]) | (std::uint32_t(u[1]) << 8) | (std::uint32_t(u[2]) << 16) |
                        (std::uint32_t(u[3]) << 24));
}

QByteArray encodeFrame(std::int32_t code, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(8 + payload.size());
    appendInt32(frame, std::int32_t(8 + payload.size()));
    appendInt32(frame, code);
    frame.append(payload);
    return frame;
}

void FrameParser::feed(const char *data, qsizetype length)
{
    if (failed_ || length <= 0)
        return;
    // Drop what was parsed already so that the buffer holds only unparsed bytes.
    if (pos_ > 0) {
        buffer_.remove(0, pos_);
        pos_ = 0;
    }
    buffer_.append(data, length);
}

std::optional<Frame> FrameParser::next()
{
    if (failed_ || pending() < 8)
        return std::nullopt;
    const char *p = buffer_.constData() + pos_;
    const std::int32_t length = readInt32(p);
    if (length < 8 || length > kMaxFrameLength) {
        failed_ = true;
        badLength_ = length;
        error_ = QStringLiteral("invalid frame length %1").arg(length);
        return std::nullopt;
    }
    if (pending() < length)
        return std::nullopt;
    Frame frame;
    frame.code = readInt32(p + 4);
    frame.payload = QByteArray(p + 8, length - 8);
    pos_ += length;
    if (pos_ == buffer_.size()) {
        buffer_.clear();
        pos_ = 0;
    }
    return frame;
}

void FrameParser::clear()
{
    buffer_.clear();
    pos_ = 0;
    failed_ = false;
    badLength_ = 0;
    error_.clear();
}

QByteArray serializeString(const QString &text)
{
    const std::string utf8 = text.toStdString();
    const std::string cp = focaris::text::utf8ToCp1250(utf8);
    bool plain = true;
    for (unsigned char c : cp)
        if (c >= 0x80)
            plain = false;
    QByteArray out;
    if (plain && cp.size() < 256) {
        out.append(char(6));
        out.append(char(cp.size()));
        out.append(cp.data(), qsizetype(cp.size()));
    } else if (plain) {
        out.append(char(12));
        appendInt32(out, std::int32_t(cp.size()));
        out.append(cp.data(), qsizetype(cp.size()));
    } else {
        // The text as the code page holds it, converted back to UTF-8 (so Ș becomes Ş as
        // the Windows program would have sent it).
        const std::string back = focaris::text::cp1250ToUtf8(cp);
        out.append(char(20));
        appendInt32(out, std::int32_t(back.size()));
        out.append(back.data(), qsizetype(back.size()));
    }
    return out;
}

std::optional<QString> deserializeString(const QByteArray &data, qsizetype &pos)
{
    if (pos >= data.size())
        return std::nullopt;
    const char kind = data[pos];
    qint64 length = 0;
    qsizetype start = 0;
    if (kind == 6) {
        if (data.size() - pos < 2)
            return std::nullopt;
        length = static_cast<unsigned char>(data[pos + 1]);
        start = pos + 2;
    } else if (kind == 12 || kind == 20) {
        if (data.size() - pos < 5)
            return std::nullopt;
        length = readInt32(data.constData() + pos + 1);
        start = pos + 5;
    } else {
        return std::nullopt;
    }
    if (length < 0 || length > data.size() - start)
        return std::nullopt;
    pos = start + qsizetype(length);
    return QString::fromUtf8(data.constData() + start, qsizetype(length));
}

QByteArray streamAnnouncement(std::int32_t size, const QByteArray &info)
{
    QByteArray payload;
    appendInt32(payload, size);
    payload.append(info);
    return payload;
}

} // namespace focaris::transport
