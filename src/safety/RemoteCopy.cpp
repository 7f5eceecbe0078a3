// The remote copy's operations.
#include "safety/RemoteCopy.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "core/TextRules.h"
#include "engines/dbase/DbfTable.h"
#include "safety/Backup.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimer>

#include <cmath>
#include <stdexcept>

namespace focaris::remote {

namespace {
const QString kBreak = QStringLiteral("\n");
const QString kConst = QStringLiteral("CONST");
const QDateTime kDayZero(QDate(1899, 12, 30), QTime(0, 0));
} // namespace

double toDayNumber(const QDateTime &when)
{
    const QDateTime local(when.date(), when.time());
    return double(kDayZero.msecsTo(local)) / 86400000.0;
}

QDateTime fromDayNumber(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    return kDayZero.addMSecs(qint64(std::llround(days * 86400000.0)));
}

QList<StoredCopy> readCopyList(const QString &stocDbf)
{
    QList<StoredCopy> copies;
    try {
        dbf::DbfTable table(stocDbf.toStdString(), true);
        const int id = table.fieldIndex("IDSTOC"), when = table.fieldIndex("DATAORA"), obs = table.fieldIndex("OBS");
        if (id < 0 || when < 0 || obs < 0)
            throw std::runtime_error("Stoc.dbf lacks IDSTOC, DATAORA or OBS");
        const auto rows = table.readAll();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            // The identifier names a file and goes into a command: only whole numbers.
            const double number = rows.number(r, std::size_t(id));
            if (!(number >= 0 && number < 1e15 && number == std::floor(number)))
                continue;
            copies.append({QString::number(qint64(number)), fromDayNumber(rows.number(r, std::size_t(when))),
                           QString::fromStdString(std::string(rows.text(r, std::size_t(obs))))});
        }
    } catch (const dbf::DbfError &e) {
        throw std::runtime_error(e.what());
    }
    return copies;
}

void RememberAccount(bool remember, const QString &email, const QString &password)
{
    // The file holds the account's password: readable by its owner only. The settings
    // writer keeps the mode of the file it replaces.
    QFile local(LocalSettingsFile());
    if (!local.exists() && local.open(QIODevice::WriteOnly))
        local.close();
    local.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    WriteLocalSetting(kConst, QStringLiteral("EM"), remember ? encodeAccount(email) : QString());
    WriteLocalSetting(kConst, QStringLiteral("PS"), remember ? encodeAccount(password) : QString());
    WriteSetting(kConst, QStringLiteral("MEMOPASS"), remember ? QStringLiteral("DA") : QStringLiteral("NU"));
}

bool RememberedAccount(QString &email, QString &password)
{
    email.clear();
    password.clear();
    if (ReadSetting(kConst, QStringLiteral("MEMOPASS")) != QStringLiteral("DA"))
        return false;
    email = decodeAccount(ReadLocalSetting(kConst, QStringLiteral("EM")));
    password = decodeAccount(ReadLocalSetting(kConst, QStringLiteral("PS")));
    return true;
}

RemoteCopy::RemoteCopy(Ui &ui, QObject *parent) : QObject(parent), ui_(ui)
{
    connect(&exchange_, &RemoteExchange::progressText, this, &RemoteCopy::progressText);
    connect(&exchange_, &RemoteExchange::progressRange, this, &RemoteCopy::progressRange);
    connect(&exchange_, &RemoteExchange::progressValue, this, &RemoteCopy::progressValue);
}

std::optional<ServerAddress> RemoteCopy::locate()
{
    if (server)
        return server;
    if (auto direct = parseHostPort(ReadLocalSetting(kConst, QStringLiteral("SERVERCOPII"))))
        return direct;
    const QString url = ReadLocalSetting(kConst, QStringLiteral("ADRESASERVER")).trimmed();
    if (url.isEmpty())
        return std::nullopt;
    QNetworkAccessManager net;
    QNetworkReply *reply = net.get(QNetworkRequest(QUrl(url)));
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    limit.start(30000);
    if (!reply->isFinished())
        loop.exec();
    std::optional<ServerAddress> found;
    if (reply->error() == QNetworkReply::NoError)
        found = parseAddressFile(reply->read(64 * 1024));
    reply->deleteLater();
    return found;
}

bool RemoteCopy::configured() const
{
    return server || !ReadLocalSetting(kConst, QStringLiteral("SERVERCOPII")).trimmed().isEmpty() ||
           !ReadLocalSetting(kConst, QStringLiteral("ADRESASERVER")).trimmed().isEmpty();
}

bool RemoteCopy::exchange(const QStringList &commands, const QStringList &attachments, const QStringList &expected)
{
    emit progressText(QStringLiteral("Verific conexiunea..."));
    reply_ = {};
    const auto where = locate();
    bool ok = false;
    if (!where) {
        // Nothing set at all is not a fault of the line: the office has to give the address.
        error_ = configured() ? QStringLiteral("Nu aveti internet!")
                              : QStringLiteral("Nu este configurat serverul de copii!");
    } else {
        const QString command = NewTempFile(QStringLiteral("Comanda"), QStringLiteral("cmd"));
        const QString replyFile = NewTempFile(QStringLiteral("Primit"), QStringLiteral(".cmd"));
        if (command.isEmpty() || replyFile.isEmpty() || !writeCommandFile(command, commands, attachments)) {
            error_ = QStringLiteral("Eroare la transmisie.");
        } else {
            exchange_.server = *where;
            exchange_.email = email;
            exchange_.password = password;
            exchange_.place = place;
            exchange_.waitMs = waitMs;
            exchange_.maxPing = maxPing;
            ok = exchange_.run(command, replyFile);
            error_ = ok ? QString() : exchange_.errorText();
        }
        QFile::remove(command);
        if (ok) {
            reply_ = readReplyFile(replyFile, TempFolder(), nullptr, &expected);
            // A refusal's words are shown as an error: what was asked did not happen.
            for (const QString &text : reply_.messages)
                ui_.message(QStringLiteral("Mesaj de la Server"), kBreak + text,
                            reply_.refused ? MessageKind::Error : MessageKind::Information, MessageButton::OK);
        }
        QFile::remove(replyFile);
    }
    if (!ok) {
        ui_.message(QStringLiteral("Transmitere date"), kBreak + error_, MessageKind::Error, MessageButton::OK);
        return false;
    }
    if (reply_.refused) {
        error_ = reply_.messages.isEmpty() ? QStringLiteral("Serverul a refuzat comanda.") : reply_.messages.last();
        if (reply_.messages.isEmpty())
            ui_.message(QStringLiteral("Mesaj de la Server"), kBreak + error_, MessageKind::Error, MessageButton::OK);
        return false;
    }
    if (reply_.passwordWrong) {
        // The server took nothing of the command: whatever was asked did not happen.
        error_ = QStringLiteral("Parola este incorecta!");
        ui_.message(QStringLiteral("Conectare la server"), kBreak + error_, MessageKind::Error, MessageButton::OK);
        return false;
    }
    return true;
}

RemoteCopy::Login RemoteCopy::loginState() const
{
    if (reply_.passwordWrong)
        return Login::WrongPassword;
    return reply_.confirmationNeeded ? Login::NeedsConfirmation : Login::Ready;
}

std::optional<Refusal> RemoteCopy::takeLogin(const QString &typedEmail, const QString &typedPassword, bool remember)
{
    const QString e = CleanText(typedEmail);
    if (!CheckEmail(e))
        return Refusal{QStringLiteral("Email incorect!!"), QStringLiteral("Email")};
    const QString p = CleanText(OneLine(typedPassword));
    if (p.isEmpty())
        return Refusal{QStringLiteral("Lipseste parola!!"), QStringLiteral("Pass")};
    RememberAccount(remember, e, p);
    email = e;
    password = p;
    return std::nullopt;
}

RemoteCopy::Login RemoteCopy::login()
{
    if (!exchange({QStringLiteral("/INFO")}))
        return reply_.passwordWrong ? Login::WrongPassword : Login::Failed;
    return loginState();
}

RemoteCopy::Login RemoteCopy::confirm(const QString &code, QObject *field)
{
    bool number = false;
    const uint value = code.trimmed().toUInt(&number);
    if (code.trimmed().size() >= 7 || !number) {
        ui_.fieldHint(QStringLiteral("Cod incorect!"), field);
        return Login::Failed;
    }
    if (!exchange({QStringLiteral("/CHECKCOD %1").arg(value, 6, 10, QLatin1Char('0')), QStringLiteral("/INFO")}))
        return reply_.passwordWrong ? Login::WrongPassword : Login::Failed;
    const Login state = loginState();
    if (state == Login::NeedsConfirmation)
        ui_.message(QStringLiteral("Verificare Cod"), kBreak + QStringLiteral("Codul introdus este incorect!"),
                    MessageKind::Error, MessageButton::OK);
    return state;
}

bool RemoteCopy::sendPassword()
{
    return exchange({QStringLiteral("/EMAIL_PASS")});
}

bool RemoteCopy::changePassword(const QString &typed)
{
    const QString fresh = CleanText(OneLine(typed));
    if (fresh.isEmpty())
        return false;
    if (!exchange({QStringLiteral("/SET_PASS ") + fresh}))
        return false;
    // The next exchanges of this window log in with the new password; the remembered one
    // of "Memoreaza-mi datele" stays as it was.
    password = fresh;
    return true;
}

bool RemoteCopy::sendArchive(const QString &archive, const QString &note)
{
    const QString srv = TempFolder() + QStringLiteral("/Srv");
    if (archive != srv) {
        QFile::remove(srv);
        if (!QFile::copy(archive, srv))
            return false;
    }
    return exchange({QStringLiteral("/PUT_FILE ") + OneLine(note)}, {srv});
}

bool RemoteCopy::sendCopy(const QString &archiveOrEmpty)
{
    const QString srv = TempFolder() + QStringLiteral("/Srv");
    auto notDone = [this] {
        ui_.message(QStringLiteral("Salvare pe server"), kBreak + QStringLiteral("Salvarea nu s-a facut!"),
                    MessageKind::Error, MessageButton::OK);
        return false;
    };
    if (QFile::exists(srv) && !TryDeleteFile(srv))
        return notDone();
    QString note;
    if (!archiveOrEmpty.isEmpty()) {
        note = QStringLiteral("Salvare la inchiderea programului.");
        if (!QFile::copy(archiveOrEmpty, srv))
            return notDone();
    } else {
        QString answer;
        ui_.askText(QStringLiteral("Transmitere salvare"), QStringLiteral("Observatii"), answer);
        note = CleanText(OneLine(answer));
        if (note.isEmpty())
            note = QStringLiteral("***");
        note = note.left(120);
        bool saved = false;
        try {
            saved = SaveArchive(ui_, srv);
        } catch (const std::exception &) {
            saved = false;
        }
        if (!saved)
            return notDone();
    }
    if (!sendArchive(srv, note)) {
        notDone();
        return false;
    }
    emit progressText(QStringLiteral("Terminat."));
    if (archiveOrEmpty.isEmpty())
        QFile::remove(srv);
    return true;
}

std::optional<QList<StoredCopy>> RemoteCopy::listCopies()
{
    const QString stoc = TempFolder() + QStringLiteral("/Stoc.dbf");
    QFile::remove(stoc);
    if (!exchange({QStringLiteral("/GET_STOC")}, {}, {QStringLiteral("Stoc.dbf")}))
        return std::nullopt;
    struct Drop {
        QString file;
        ~Drop() { QFile::remove(file); }
    } drop{stoc};
    try {
        return readCopyList(stoc);
    } catch (const std::exception &) {
        // A list that did not come, or came damaged: said in the clerk's words.
        error_ = QStringLiteral("Lista salvarilor nu poate fi citita.");
        ui_.message(QStringLiteral("Transmitere date"), kBreak + error_, MessageKind::Error, MessageButton::OK);
        return std::nullopt;
    }
}

namespace {

// Identifiers of copies travel in commands and name the received file: digits only.
bool plainId(const QString &id)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    return digits.match(id).hasMatch();
}

} // namespace

bool RemoteCopy::deleteCopy(const QString &id)
{
    if (!plainId(id))
        return false;
    return exchange({QStringLiteral("/DEL ") + id});
}

QString RemoteCopy::fetchCopy(const QString &id)
{
    if (!plainId(id))
        return {};
    const QString target = TempFolder() + QLatin1Char('/') + id;
    QFile::remove(target);
    if (!exchange({QStringLiteral("/GET_FILE ") + id}, {}, {id}))
        return {};
    return QFile::exists(target) ? target : QString();
}

bool RemoteCopy::restoreCopy(const QString &id)
{
    // Refused before anything is downloaded.
    if (RestoreRefused(ui_, QStringLiteral("Incarcare date")))
        return false;
    const QString file = fetchCopy(id);
    if (file.isEmpty())
        return false;
    const bool done = RestoreArchive(ui_, file);
    QFile::remove(file);
    return done;
}

bool RemoteCopy::deleteAsked(const QString &id)
{
    if (ReadOnlyAccess()) {
        ui_.message(QStringLiteral("Stergere Salvare"), QStringLiteral("Nu aveti dreptul sa modificati datele!"),
                    MessageKind::Warning, MessageButton::OK);
        return false;
    }
    if (ui_.message(QStringLiteral("Stergere Salvare"),
                    kBreak + QStringLiteral("Doriti sa stergeti salvarea selectata?"), MessageKind::Warning,
                    MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return false;
    return deleteCopy(id);
}

bool RemoteCopy::restoreAsked(const QString &id)
{
    if (RestoreRefused(ui_, QStringLiteral("Incarcare date")))
        return false;
    if (ui_.message(QStringLiteral("Incarcare date"),
                    kBreak + QStringLiteral("Doriti sa inlocuim datele cu cele din Salvarea selectata?"),
                    MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return false;
    return restoreCopy(id);
}

void RemoteCopy::expireWait()
{
    exchange_.expireWait();
}

} // namespace focaris::remote
