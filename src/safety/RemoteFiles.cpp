// Command and reply files, login texts and account encoding of the remote copy.
#include "safety/RemoteFiles.h"

#include "core/TextRules.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileChanges.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace focaris::remote {

namespace {

QByteArray toCp1250(const QString &s)
{
    return QByteArray::fromStdString(text::utf8ToCp1250(s.toStdString()));
}
QString fromCp1250(const QByteArray &b)
{
    return QString::fromStdString(text::cp1250ToUtf8(b.toStdString()));
}

} // namespace

QString encodeAccount(const QString &text)
{
    QString out;
    for (unsigned char c : toCp1250(text))
        out += QStringLiteral("%1").arg(int(c), 3, 10, QLatin1Char('0'));
    return out;
}

QString decodeAccount(const QString &digits)
{
    QByteArray bytes;
    for (qsizetype i = 0; i + 3 <= digits.size(); i += 3) {
        bool ok = false;
        const int code = digits.mid(i, 3).toInt(&ok);
        if (!ok || code < 0 || code > 255)
            break;
        bytes.append(char(code));
    }
    return fromCp1250(bytes);
}

QString OneLine(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() < 32 || c.unicode() == 127 || c.category() == QChar::Other_Control ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    return out;
}

bool PlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") || name.size() > 255)
        return false;
    for (QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32 ||
            c.unicode() == 127)
            return false;
    return true;
}

QString loginUserName(const QString &email)
{
    return kProductNumber + email;
}

QString loginRoom(const QString &password, const QString &place)
{
    return (password.leftJustified(40, QLatin1Char(' ')) + CleanText(place)).leftJustified(140, QLatin1Char(' '));
}

bool writeExchangeFile(const QString &path, const QStringList &lines, const QList<Attached> &attachments)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray head;
    for (const QString &line : lines)
        head += toCp1250(OneLine(line)) + "\r\n";
    for (const Attached &a : attachments) {
        const QFileInfo info(a.file);
        if (!info.isFile())
            return false;
        head += "#ATTACH " + toCp1250(OneLine(a.name)) + " : " + QByteArray::number(info.size()) + "\r\n";
    }
    head += "/END\r\n";
    if (out.write(head) != head.size())
        return false;
    for (const Attached &a : attachments) {
        QFile in(a.file);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(256 * 1024);
            if (chunk.isEmpty() || out.write(chunk) != chunk.size())
                return false;
        }
    }
    return out.commit();
}

bool writeCommandFile(const QString &path, const QStringList &lines, const QStringList &attachments)
{
    QList<Attached> named;
    for (const QString &file : attachments)
        named.append({QFileInfo(file).fileName(), file});
    return writeExchangeFile(path, lines, named);
}

std::pair<QString, QString> splitCommand(const QString &line)
{
    const QString t = line.trimmed();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {t.toUpper(), QString()};
    return {t.left(blank).trimmed().toUpper(), t.mid(blank + 1).trimmed()};
}

ReplyLines parseLines(const QByteArray &bytes)
{
    ReplyLines r;
    bool stopped = false;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype eol = bytes.indexOf('\n', pos);
        const qsizetype next = eol < 0 ? bytes.size() : eol + 1;
        QByteArray raw = bytes.mid(pos, (eol < 0 ? bytes.size() : eol) - pos);
        if (raw.endsWith('\r'))
            raw.chop(1);
        pos = next;
        const QString line = fromCp1250(raw);
        const auto [keyword, argument] = splitCommand(line);
        if (keyword == QStringLiteral("/END")) {
            r.ended = true;
            r.headerLength = pos;
            break;
        }
        if (stopped)
            continue;
        if (keyword == QStringLiteral("#ATTACH")) {
            const qsizetype colon = argument.indexOf(QLatin1Char(':'));
            if (colon < 0)
                continue;
            bool ok = false;
            const qint64 size = argument.mid(colon + 1).trimmed().toLongLong(&ok);
            if (ok && size >= 0)
                r.attachments.append({argument.left(colon).trimmed(), size});
            continue;
        }
        r.commands << line.trimmed();
        if (keyword == QStringLiteral("/PASS") && argument.toUpper() == QStringLiteral("NO")) {
            r.passwordWrong = true;
            stopped = true;
        } else if (keyword == QStringLiteral("/CODCONF")) {
            r.codConfSeen = true;
            r.confirmationNeeded = argument == QStringLiteral("NO");
        } else if (keyword == QStringLiteral("/MSG_DLG")) {
            r.messages << argument;
        } else if (keyword == QStringLiteral("/EROARE")) {
            r.refused = true;
        }
    }
    if (!r.ended)
        r.headerLength = bytes.size();
    return r;
}

ReplyLines readReplyFile(const QString &path, const QString &folder, QStringList *written, const QStringList *accepted)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    // The lines are at the start; a real reply's text part is small.
    const QByteArray head = in.read(1024 * 1024);
    ReplyLines r = parseLines(head);
    if (r.passwordWrong)
        return r;
    qint64 total = 0;
    for (const auto &a : r.attachments) {
        total += a.size;
        if (total > in.size())
            return r;
    }
    if (!in.seek(in.size() - total))
        return r;
    for (const auto &a : r.attachments) {
        const bool wanted = PlainFileName(a.name) && (!accepted || accepted->contains(a.name, Qt::CaseInsensitive));
        const QString target = wanted ? QDir(folder).filePath(a.name) : QString();
        // A link or file already there is replaced, never written through.
        if (wanted) {
            files::beforeChange(QFile::encodeName(target).toStdString());
            QFile::remove(target);
        }
        QFile out(target);
        const bool open = wanted && out.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        qint64 left = a.size;
        while (left > 0) {
            const QByteArray chunk = in.read(std::min<qint64>(left, 256 * 1024));
            if (chunk.isEmpty())
                break;
            if (open)
                out.write(chunk);
            left -= chunk.size();
        }
        if (open) {
            out.close();
            if (written)
                *written << out.fileName();
        }
    }
    return r;
}

std::optional<ServerAddress> parseAddressFile(const QByteArray &text)
{
    const QString t = QString::fromLatin1(text).trimmed();
    const qsizetype withBreak = t.size() + 2;
    if (withBreak < 7 || withBreak > 20)
        return std::nullopt;
    const QString first = t.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (first.isEmpty())
        return std::nullopt;
    return ServerAddress{first, kDefaultPort};
}

std::optional<ServerAddress> parseHostPort(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return ServerAddress{t, kDefaultPort};
    bool ok = false;
    const uint port = t.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535 || colon == 0)
        return std::nullopt;
    return ServerAddress{t.left(colon), quint16(port)};
}

} // namespace focaris::remote
