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
    QString id;          // IDSTOC as text
    QDateTime when;      // DATAORA
    QString note;        // OBS
};

// Reads the list of copies; throws std::runtime_error when the table cannot be read.
QList<StoredCopy> readCopyList(const QString &stocDbf);
// Days since 30 December 1899 with the time as fraction, and back.
double toDayNumber(const QDateTime &when);
QDateTime fromDayNumber(double days);

// The remembered account of "Memoreaza-mi datele": "MEMOPASS" in the shared settings,
// "EM" and "PS" (encoded) in "Local.set". Forgetting keeps EM and PS as they are.
void RememberAccount(bool remember, const QString &email, const QString &password);
// True when "MEMOPASS" is "DA"; then email and password are the decoded EM and PS.
bool RememberedAccount(QString &email, QString &password);

class RemoteCopy : public QObject {
    Q_OBJECT
public:
    explicit RemoteCopy(Ui &ui, QObject *parent = nullptr);

    QString email, password, place;
    // A server given directly (the tool, tests); otherwise it is found as locate() says.
    std::optional<ServerAddress> server;
    int waitMs = 60000;

    // The server: `server` when set; else "SERVERCOPII" of "Local.set" (section CONST) as
    // host:port; else the address file downloaded from the address in "ADRESASERVER" of
    // the same section. Empty when none answers ("Nu aveti internet!").
    std::optional<ServerAddress> locate();

    enum class Login { Failed, WrongPassword, NeedsConfirmation, Ready };
    // "/INFO".
    Login login();
    // "/CHECKCOD" with the code written with six digits, then "/INFO". The code must be
    // a number of at most 6 digits ("Cod incorect!" hint otherwise, result Failed).
    Login confirm(const QString &code);
    bool sendPassword();
    bool changePassword(const QString &newPassword);
    // "/PUT_FILE note" with the archive attached (as "Srv").
    bool sendArchive(const QString &archive, const QString &note);
    // The button "Salveaza o copie a datelor": with an archive (from the save at close)
    // the note is "Salvare la inchiderea programului."; without one the person is asked
    // for the note and the data folder is saved first.
    bool sendCopy(const QString &archiveOrEmpty = {});
    // "/GET_STOC": the copies kept on the server; nullopt when the exchange failed.
    std::optional<QList<StoredCopy>> listCopies();
    bool deleteCopy(const QString &id);
    // "/GET_FILE": the path of the copy received into the temporary folder, or empty.
    QString fetchCopy(const QString &id);
    // Brings a copy back and restores the data from it (the program must then end).
    bool restoreCopy(const QString &id);

    // The last exchange's error text, empty after a success.
    QString lastError() const { return error_; }
    // The reply of the last successful exchange.
    const ReplyLines &lastReply() const { return reply_; }
    void stop() { exchange_.stop(); }

signals:
    void progressText(const QString &text);
    void progressRange(qint64 maximum);
    void progressValue(qint64 value);

private:
    // One exchange and its reply processed; false (after the "Transmitere date" message)
    // when it failed.
    bool exchange(const QStringList &commands, const QStringList &attachments = {});
    Login loginState() const;

    Ui &ui_;
    RemoteExchange exchange_;
    ReplyLines reply_;
    QString error_;
};

} // namespace focaris::remote
