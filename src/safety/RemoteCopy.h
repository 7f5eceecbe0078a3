// The remote copy's operations without the window: log into the account, confirm its
// address, have the password e-mailed or change it, send a copy of the data, list the
// copies kept on the server, delete one, or bring one back. Each operation is one
// exchange (RemoteExchange) whose reply is then processed; messages go through the Ui,
// progress through the signals, so that the window only shows and hides its panels.
#pragma once

#include "core/Ui.h"
#include "safety/RemoteExchange.h"

#include <QDateTime>

namespace focaris::remote {

// One copy kept on the server, as the list "Stoc.dbf" gives it.
struct StoredCopy {
    QString id;     // IDSTOC as text
    QDateTime when; // DATAORA
    QString note;   // OBS
};

// Reads the list of copies; throws std::runtime_error when the table cannot be read.
QList<StoredCopy> readCopyList(const QString &stocDbf);
// Days since 30 December 1899 with the time as fraction, and back.
double toDayNumber(const QDateTime &when);
QDateTime fromDayNumber(double days);

// The remembered account of "Memoreaza-mi datele": "MEMOPASS" in the shared settings,
// "EM" and "PS" (encoded) in "Local.set", which is made readable by its owner only.
// Forgetting empties EM and PS, so that no password stays behind on the computer.
void RememberAccount(bool remember, const QString &email, const QString &password);
// True when "MEMOPASS" is "DA"; then email and password are the decoded EM and PS.
bool RememberedAccount(QString &email, QString &password);

// A refused entry of the login panel: the hint and the field it belongs to.
struct Refusal {
    QString message;
    QString field;
};

class RemoteCopy : public QObject {
    Q_OBJECT
public:
    explicit RemoteCopy(Ui &ui, QObject *parent = nullptr);

    QString email, password, place;
    // A server given directly (the tool, tests); otherwise it is found as locate() says.
    std::optional<ServerAddress> server;
    // The longest silence of an exchange, and the keep-alive interval.
    int waitMs = 60000;
    int maxPing = 30000;

    // The server: `server` when set; else "SERVERCOPII" of "Local.set" (section CONST) as
    // host:port; else the address file downloaded from the address in "ADRESASERVER" of
    // the same section. Empty when none answers ("Nu aveti internet!").
    std::optional<ServerAddress> locate();
    // True when a server is given, or one of the two keys is set. Without any, an exchange
    // says "Nu este configurat serverul de copii!" rather than "Nu aveti internet!".
    bool configured() const;

    enum class Login { Failed, WrongPassword, NeedsConfirmation, Ready };
    // The login panel's fields: the e-mail cleaned and checked ("Email incorect!!"), the
    // password cleaned ("Lipseste parola!!" when empty); then the account is remembered or
    // forgotten as "Memoreaza-mi datele" says and becomes the one the exchanges use.
    std::optional<Refusal> takeLogin(const QString &email, const QString &password, bool remember);
    // "/INFO". Every operation below that meets "/PASS NO" shows "Parola este incorecta!"
    // and fails (WrongPassword for the login and the code check).
    Login login();
    // "/CHECKCOD" with the code written with six digits, then "/INFO". The code must be
    // a number of at most 6 digits ("Cod incorect!" hint at `field` otherwise, Failed).
    Login confirm(const QString &code, QObject *field = nullptr);
    bool sendPassword();
    // "/SET_PASS" with the new password made one clean line; after it succeeded the
    // exchanges use the new password.
    bool changePassword(const QString &newPassword);
    // "/PUT_FILE note" with the archive attached (as "Srv").
    bool sendArchive(const QString &archive, const QString &note);
    // The button "Salveaza o copie a datelor": with an archive (from the save at close)
    // the note is "Salvare la inchiderea programului."; without one the person is asked
    // for the note and the data folder is saved first.
    bool sendCopy(const QString &archiveOrEmpty = {});
    // "/GET_STOC": the copies kept on the server; nullopt when the exchange failed.
    std::optional<QList<StoredCopy>> listCopies();
    // "/DEL". Identifiers are digits only; anything else is refused without an exchange.
    bool deleteCopy(const QString &id);
    // "/GET_FILE": the path of the copy received into the temporary folder, or empty.
    QString fetchCopy(const QString &id);
    // Brings a copy back and restores the data from it (the program must then end).
    // Refused, before anything is downloaded, as every restore is (RestoreRefused).
    bool restoreCopy(const QString &id);
    // The buttons "Sterge salvarea" and "Incarca datele in program": the refusals of a
    // person without the password, the question, then deleteCopy or restoreCopy.
    bool deleteAsked(const QString &id);
    bool restoreAsked(const QString &id);

    // The last exchange's error text, empty after a success.
    QString lastError() const { return error_; }
    // The reply of the last successful exchange.
    const ReplyLines &lastReply() const { return reply_; }
    void stop() { exchange_.stop(); }
    // Ends the wait of the running exchange now, as if its time were up.
    void expireWait();
    bool busy() const
    {
        return exchange_.state() != RemoteExchange::State::Idle &&
               exchange_.state() != RemoteExchange::State::Complete &&
               exchange_.state() != RemoteExchange::State::Ended;
    }

signals:
    void progressText(const QString &text);
    void progressRange(qint64 maximum);
    void progressValue(qint64 value);

private:
    // One exchange and its reply processed; false (after the "Transmitere date" message)
    // when it failed.
    // Only the attachments named in `expected` are written into the temporary folder.
    bool exchange(const QStringList &commands, const QStringList &attachments = {}, const QStringList &expected = {});
    Login loginState() const;

    Ui &ui_;
    RemoteExchange exchange_;
    ReplyLines reply_;
    QString error_;
};

} // namespace focaris::remote
