// The remote copy's operations.
#include "safety/RemoteCopy.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "core/TextRules.h"
#include "safety/Backup.h"
#include "engines/dbase/DbfTable.h"

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
        const int id = table.fieldIndex("IDSTOC"), when = table.fieldIndex("DATAORA"),
                  obs = table.fieldIndex("OBS");
        if (id < 0 || when < 0 || obs < 0)
            throw std::runtime_error("Stoc.dbf lacks IDSTOC, DATAORA or OBS");
        const auto rows = table.readAll();
        for (std::size_t r = 0; r < rows.size(); ++r)
            copies.append({QString::number(qint64(rows.number(r, std::size_t(id)))),
                           fromDayNumber(rows.number(r, std::size_t(when))),
                           QString::fromStdString(std::string(rows.text(r, std::size_t(obs))))});
    } catch (const dbf::DbfError &e) {
        throw std::runtime_error(e.what());
    }
    return copies;
}

void RememberAccount(bool remember, const QString &email, const QString &password)
{
    if (remember) {
        WriteLocalSetting(kConst, QStringLiteral("EM"), encodeAccount(email));
        WriteLocalSetting(kConst, QStringLiteral("PS"), encodeAccount(password));
    }
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

bool RemoteCopy::exchange(const QStringList &commands, const QStringList &attachments)
{
    emit progressText(QStringLiteral("Verific conexiunea..."));
    reply_ = {};
    const auto where = locate();
    bool ok = false;
    if (!where) {
        error_ = QStringLiteral("Nu aveti internet!");
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
            ok = exchange_.run(command, replyFile);
            error_ = ok ? QString() : exchange_.errorText();
        }
        QFile::remove(command);
        if (ok) {
            reply_ = readReplyFile(replyFile, TempFolder());
            for (const QString &text : reply_.messages)
                ui_.message(QStringLiteral("Mesaj de la Server"), kBreak + text, MsgInformation, BtnOK);
        }
        QFile::remove(replyFile);
    }
    if (!ok)
        ui_.message(QStringLiteral("Transmitere date"), kBreak + error_, MsgError, BtnOK);
    return ok;
}

RemoteCopy::Login RemoteCopy::loginState() const
{
    if (reply_.passwordWrong)
        return Login::WrongPassword;
    return reply_.confirmationNeeded ? Login::NeedsConfirmation : Login::Ready;
}

RemoteCopy::Login RemoteCopy::login()
{
    if (!exchange({QStringLiteral("/INFO")}))
        return Login::Failed;
    const Login state = loginState();
    if (state == Login::WrongPassword)
        ui_.message(QStringLiteral("Conectare la server"), kBreak + QStringLiteral("Parola este incorecta!"),
                    MsgError, BtnOK);
    return state;
}

RemoteCopy::Login RemoteCopy::confirm(const QString &code)
{
    bool number = false;
    const uint value = code.trimmed().toUInt(&number);
    if (code.trimmed().size() >= 7 || !number) {
        ui_.fieldHint(QStringLiteral("Cod incorect!"), nullptr);
        return Login::Failed;
    }
    if (!exchange({QStringLiteral("/CHECKCOD %1").arg(value, 6, 10, QLatin1Char('0')), QStringLiteral("/INFO")}))
        return Login::Failed;
    const Login state = loginState();
    if (state == Login::NeedsConfirmation)
        ui_.message(QStringLiteral("Verificare Cod"), kBreak + QStringLiteral("Codul introdus este incorect!"),
                    MsgError, BtnOK);
    return state;
}

bool RemoteCopy::sendPassword() { return exchange({QStringLiteral("/EMAIL_PASS")}); }

bool RemoteCopy::changePassword(const QString &newPassword)
{
    return exchange({QStringLiteral("/SET_PASS ") + newPassword});
}

bool RemoteCopy::sendArchive(const QString &archive, const QString &note)
{
    const QString srv = TempFolder() + QStringLiteral("/Srv");
    if (archive != srv) {
        QFile::remove(srv);
        if (!QFile::copy(archive, srv))
            return false;
    }
    return exchange({QStringLiteral("/PUT_FILE ") + note}, {srv});
}

bool RemoteCopy::sendCopy(const QString &archiveOrEmpty)
{
    const QString srv = TempFolder() + QStringLiteral("/Srv");
    auto notDone = [this] {
        ui_.message(QStringLiteral("Salvare pe server"), kBreak + QStringLiteral("Salvarea nu s-a facut!"),
                    MsgError, BtnOK);
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
        note = CleanText(answer);
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
    if (!exchange({QStringLiteral("/GET_STOC")}))
        return std::nullopt;
    auto copies = readCopyList(stoc);
    QFile::remove(stoc);
    return copies;
}

bool RemoteCopy::deleteCopy(const QString &id)
{
    return exchange({QStringLiteral("/DEL ") + id});
}

QString RemoteCopy::fetchCopy(const QString &id)
{
    // The identifier names the received file: only a number is taken.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    if (!digits.match(id).hasMatch())
        return {};
    const QString target = TempFolder() + QLatin1Char('/') + id;
    QFile::remove(target);
    if (!exchange({QStringLiteral("/GET_FILE ") + id}))
        return {};
    return QFile::exists(target) ? target : QString();
}

bool RemoteCopy::restoreCopy(const QString &id)
{
    const QString file = fetchCopy(id);
    if (file.isEmpty())
        return false;
    const bool done = RestoreArchive(ui_, file);
    QFile::remove(file);
    return done;
}

} // namespace focaris::remote
