// The files and texts of the remote copy exchange: the command file the client uploads,
// the reply file the server sends back, the login texts, the encoding of the remembered
// account, and the server's address.
//
// Command and reply files share one layout: text lines ended by CR LF, then for every
// attached file a line "#ATTACH name : size", the line "/END", and right after it the
// bytes of the attached files in the order of their "#ATTACH" lines.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace focaris::remote {

// The port of the backup server when the address file names only a host.
constexpr quint16 kDefaultPort = 1235;
// The product number that starts the login user name.
inline const QString kProductNumber = QStringLiteral("094");

// "EM" and "PS" of "Local.set": every character as its Windows-1250 code in three decimal
// digits ("ABC" → "065066067"). Decoding stops at a group that is not three digits.
QString encodeAccount(const QString &text);
QString decodeAccount(const QString &digits);

// A typed text made fit for one line of a command file: every control character (line
// breaks included) becomes a blank, so that no typed note or password can add a command.
QString OneLine(const QString &text);

// True for a plain file name as a reply may name its attachments: not empty, not "." or
// "..", no folder part ("/", "\", a drive "X:") and no control character.
bool PlainFileName(const QString &name);

// Login texts of the transport: "094" + e-mail; the password padded with blanks to 40
// characters followed by the cleaned "locality/county", the whole padded to 140.
QString loginUserName(const QString &email);
QString loginRoom(const QString &password, const QString &place);

// A file attached to a command or reply file, under the name the other side sees.
struct Attached {
    QString name;
    QString file;
};
// Writes a command or reply file: the lines (each made OneLine), an "#ATTACH" line per
// attached file, "/END", then the attached files' bytes. Returns false when a file cannot be read or the result
// cannot be written (nothing is left behind then).
bool writeExchangeFile(const QString &path, const QStringList &lines, const QList<Attached> &attachments);
// The same with each file attached under its own name (the client's command file).
bool writeCommandFile(const QString &path, const QStringList &lines, const QStringList &attachments);

struct ReplyAttachment {
    QString name; // as the other side wrote it; reduce it with safe names before use
    qint64 size = 0;
};

// What the lines of a reply (or command) file say, up to "/END".
struct ReplyLines {
    QStringList commands;       // lines that are not "#ATTACH" (the server's view)
    bool passwordWrong = false; // "/PASS NO": nothing after it was taken
    bool codConfSeen = false;
    bool confirmationNeeded = false; // "/CODCONF NO" (exact capitals)
    QStringList messages;            // "/MSG_DLG" texts, in order
    bool refused = false;            // "/EROARE": the server did not do what was asked
    QList<ReplyAttachment> attachments;
    qint64 headerLength = 0; // bytes up to and including the "/END" line
    bool ended = false;      // "/END" was found
};
// Parses the text part of a reply or command file. Lines are Windows-1250.
ReplyLines parseLines(const QByteArray &bytes);

// Splits a command line at its first blank: keyword (trimmed, in capitals) and argument.
std::pair<QString, QString> splitCommand(const QString &line);

// Reads a reply file and writes its attachments into `folder`, taken from the end of the
// file (their sizes added up, reading from that many bytes before the end). Only
// attachments with a PlainFileName are written, and, when `accepted` is given, only those
// it names (compared without regard to case); the others are skipped. When the sizes do
// not fit the file, no attachment is written. `written` gets the paths written.
ReplyLines readReplyFile(const QString &path, const QString &folder, QStringList *written = nullptr,
                         const QStringList *accepted = nullptr);

struct ServerAddress {
    QString host;
    quint16 port = kDefaultPort;
};
// The downloaded address file: its trimmed text with a line break after it must be 7 to
// 20 characters long; the first line is the host, with the default port.
std::optional<ServerAddress> parseAddressFile(const QByteArray &text);
// A server given directly as "host:port" (or just "host").
std::optional<ServerAddress> parseHostPort(const QString &text);

} // namespace focaris::remote
