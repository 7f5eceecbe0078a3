// The backup server: connections and the answers to the commands.
#include "server/BackupServer.h"
#include "engines/archive/Archive.h"
#include "engines/dbase/DbfTable.h"
#include "safety/RemoteCopy.h"
#include "safety/RemoteFiles.h"
#include "server/ServerSession.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QUuid>

#include <cstdio>
#include <filesystem>

namespace focaris::server {

namespace {

// Copies `length` bytes at `offset` of `from` into the file `to`.
bool copyRange(QFile &from, qint64 offset, qint64 length, const QString &to)
{
    QFile out(to);
    if (!from.seek(offset) || !out.open(QIODevice::WriteOnly))
        return false;
    while (length > 0) {
        const QByteArray chunk = from.read(std::min<qint64>(length, 256 * 1024));
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
        length -= chunk.size();
    }
    return true;
}

// A copy is kept only when it reads as a save archive: its member count, and every
// member's name, size and compressed data whole. Anything else would be handed back one
// day as a copy that cannot be restored.
bool readsAsArchive(const QString &path)
{
    try {
        return !archive::listArchive(std::filesystem::path(path.toStdString())).empty();
    } catch (const std::exception &) {
        return false;
    }
}

bool plausibleEmail(const QString &email)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,}$"));
    return email.size() <= 100 && re.match(email).hasMatch();
}

// The list of copies as the client reads it: IDSTOC, DATAORA (days since 30.12.1899),
// OBS of up to 120 characters.
bool writeStoc(const QString &path, const QList<CopyInfo> &copies)
{
    try {
        QFile::remove(path);
        dbf::DbfTable::create(path.toStdString(), {dbf::ColumnDef::decimalColumn("IDSTOC", 10, 0),
                                                   dbf::ColumnDef::decimalColumn("DATAORA", 18, 8),
                                                   dbf::ColumnDef::charColumn("OBS", 120)});
        dbf::DbfTable table(path.toStdString());
        for (const auto &c : copies)
            table.append({dbf::Value::fromNumber(double(c.id)), dbf::Value::fromNumber(remote::toDayNumber(c.when)),
                          dbf::Value::fromText(c.note.left(120).toStdString())});
        return true;
    } catch (const std::exception &e) {
        BackupServer::log(QStringLiteral("cannot write the list of copies: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
}

} // namespace

BackupServer::BackupServer(const ServerConfig &config, QObject *parent)
    : QObject(parent), config_(config), store_(config.storage)
{
    // Accounts never confirmed go after a few days: at start and every hour.
    store_.removeStaleAccounts();
    purge_.setInterval(3600 * 1000);
    connect(&purge_, &QTimer::timeout, this, [this] {
        if (const int n = store_.removeStaleAccounts())
            log(QStringLiteral("%1 unconfirmed accounts removed").arg(n));
    });
    purge_.start();
    connect(&tcp_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = tcp_.nextPendingConnection())
            new ServerSession(socket, *this);
    });
}

bool BackupServer::listen(const QHostAddress &address, quint16 port)
{
    return tcp_.listen(address, port);
}

void BackupServer::log(const QString &text)
{
    const QByteArray line = (QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char(' ') + text).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

void BackupServer::sendMail(const QString &email, const QString &subject, const QString &text)
{
    if (config_.mailCommand.isEmpty())
        return;
    // The command line as sendmail takes it: the program and its options, then the
    // address; the message (headers, a blank line, the text) on standard input.
    QStringList words = QProcess::splitCommand(config_.mailCommand);
    if (words.isEmpty())
        return;
    auto *mail = new QProcess(this);
    mail->setProgram(words.takeFirst());
    mail->setArguments(words << email);
    connect(mail, &QProcess::finished, mail, &QObject::deleteLater);
    connect(mail, &QProcess::errorOccurred, this, [this, mail, email](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            log(QStringLiteral("the mail command could not be started for %1").arg(email));
            mail->deleteLater();
        }
    });
    mail->start();
    const QByteArray message = "To: " + email.toUtf8() + "\nSubject: " + subject.toUtf8() +
                               "\nContent-Type: text/plain; charset=UTF-8\n\n" + text.toUtf8() + "\n";
    mail->write(message);
    mail->closeWriteChannel();
}

bool BackupServer::answer(const QString &email, const QString &password, const QString &commandFile,
                          const QString &replyFile)
{
    QFile in(commandFile);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const remote::ReplyLines cmd = remote::parseLines(in.read(1024 * 1024));
    QStringList lines;
    QList<remote::Attached> attach;
    QStringList scratch; // files to delete once the reply is written
    auto message = [&](const QString &text) { lines << QStringLiteral("/MSG_DLG ") + text; };
    // A command that is not carried out: its words, and "/EROARE" at the end of the lines,
    // so that the client does not take the reply for a success.
    bool refused = false;
    auto refuse = [&](const QString &text) {
        message(text);
        refused = true;
    };

    bool wantsNewPassword = false;
    for (const QString &c : cmd.commands)
        if (remote::splitCommand(c).first == QStringLiteral("/EMAIL_PASS"))
            wantsNewPassword = true;

    auto check = store_.checkPassword(email, password);
    if (check == AccountStore::Check::Unknown && !wantsNewPassword) {
        if (!plausibleEmail(email) || password.isEmpty()) {
            refuse(QStringLiteral("Adresa de e-mail sau parola nu sunt valide."));
            check = AccountStore::Check::Wrong;
        } else {
            const QString code = store_.create(email, password);
            log(QStringLiteral("new account %1, confirmation code %2").arg(email, code));
            sendMail(email, QStringLiteral("Cod de verificare"),
                     QStringLiteral("Codul de verificare al contului de copii la distanta: ") + code);
            check = AccountStore::Check::Right;
        }
    }
    if (check != AccountStore::Check::Right) {
        if (wantsNewPassword && store_.exists(email)) {
            const QString fresh = store_.makeTemporaryPassword(email);
            log(QStringLiteral("temporary password sent to %1").arg(email));
            sendMail(email, QStringLiteral("Parola noua"), QStringLiteral("Parola noua a contului: ") + fresh);
            message(QStringLiteral("V-am trimis o parola noua pe e-mail."));
        } else if (check == AccountStore::Check::Wrong) {
            lines << QStringLiteral("/PASS NO");
        } else {
            refuse(QStringLiteral("Contul nu exista."));
        }
    } else {
        qint64 attachedEnd = in.size();
        qint64 attachedTotal = 0;
        for (const auto &a : cmd.attachments)
            attachedTotal += a.size;
        for (const QString &c : cmd.commands) {
            const auto [keyword, argument] = remote::splitCommand(c);
            const bool confirmed = store_.confirmed(email);
            const bool needsConfirmed = keyword == QStringLiteral("/PUT_FILE") ||
                                        keyword == QStringLiteral("/GET_STOC") || keyword == QStringLiteral("/DEL") ||
                                        keyword == QStringLiteral("/GET_FILE");
            if (needsConfirmed && !confirmed) {
                lines << QStringLiteral("/CODCONF NO");
                refuse(QStringLiteral("Adresa de e-mail nu este inca confirmata."));
                continue;
            }
            if (keyword == QStringLiteral("/INFO")) {
                lines << (confirmed ? QStringLiteral("/CODCONF OK") : QStringLiteral("/CODCONF NO"));
            } else if (keyword == QStringLiteral("/CHECKCOD")) {
                if (store_.confirm(email, argument))
                    log(QStringLiteral("account %1 confirmed").arg(email));
            } else if (keyword == QStringLiteral("/EMAIL_PASS")) {
                const QString fresh = store_.makeTemporaryPassword(email);
                sendMail(email, QStringLiteral("Parola noua"), QStringLiteral("Parola noua a contului: ") + fresh);
                message(QStringLiteral("V-am trimis o parola noua pe e-mail."));
            } else if (keyword == QStringLiteral("/SET_PASS")) {
                if (argument.isEmpty()) {
                    refuse(QStringLiteral("Parola noua lipseste."));
                } else {
                    store_.setPassword(email, argument);
                    message(QStringLiteral("Parola a fost schimbata."));
                }
            } else if (keyword == QStringLiteral("/PUT_FILE")) {
                if (cmd.attachments.isEmpty() || attachedTotal > in.size() - cmd.headerLength) {
                    refuse(QStringLiteral("Salvarea nu a sosit intreaga."));
                    continue;
                }
                const qint64 size = cmd.attachments.last().size;
                const QString part = store_.incomingFolder() + QLatin1Char('/') +
                                     QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".T21");
                std::optional<CopyInfo> stored;
                const bool copied = copyRange(in, attachedEnd - size, size, part);
                if (copied && !readsAsArchive(part)) {
                    QFile::remove(part);
                    log(QStringLiteral("refused a file that is not a save archive from %1 (%2 bytes)")
                            .arg(email)
                            .arg(size));
                    refuse(QStringLiteral("Fisierul trimis nu este o salvare Foc - aris."));
                    continue;
                }
                if (copied)
                    stored = store_.addCopy(email, part, argument.left(120));
                QFile::remove(part);
                if (stored) {
                    log(QStringLiteral("copy %1 stored for %2 (%3 bytes)").arg(stored->id).arg(email).arg(size));
                    message(QStringLiteral("Salvarea a fost memorata pe server."));
                } else {
                    refuse(QStringLiteral("Salvarea nu a putut fi memorata pe server."));
                }
            } else if (keyword == QStringLiteral("/GET_STOC")) {
                const QString stoc = store_.incomingFolder() + QLatin1Char('/') +
                                     QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".dbf");
                scratch << stoc;
                if (writeStoc(stoc, store_.copies(email)))
                    attach.append({QStringLiteral("Stoc.dbf"), stoc});
                else
                    refuse(QStringLiteral("Lista salvarilor nu poate fi citita."));
            } else if (keyword == QStringLiteral("/DEL")) {
                if (store_.removeCopy(email, argument.toLongLong()))
                    message(QStringLiteral("Salvarea a fost stearsa."));
                else
                    refuse(QStringLiteral("Salvarea nu exista."));
            } else if (keyword == QStringLiteral("/GET_FILE")) {
                if (const auto c = store_.copy(email, argument.toLongLong()))
                    attach.append({QString::number(c->id), c->path});
                else
                    refuse(QStringLiteral("Salvarea nu exista."));
            }
        }
    }

    if (refused)
        lines << QStringLiteral("/EROARE");
    const bool ok = remote::writeExchangeFile(replyFile, lines, attach);
    for (const QString &f : scratch)
        QFile::remove(f);
    return ok;
}

} // namespace focaris::server
