// The backup server's storage: one folder per account (named after a hash of the e-mail
// address, so that no address can name a path), holding the account file and the copies.
//
//   <root>/accounts/<sha256 of the address in lower case>/account.ini
//       email, salt, hash (PBKDF2-SHA256 of the password), tempHash (a password mailed
//       after "/EMAIL_PASS", valid until the next login with it), confirmed, code, nextId,
//       created (when the account was made), failures and lockedUntil (wrong passwords
//       and codes in a row, and the end of the lock they caused)
//   <root>/accounts/<...>/copies/<id>.T21     the archive
//   <root>/accounts/<...>/copies/<id>.ini     its note and time, written last
//   <root>/incoming/                          uploads being received (emptied at start)
//
// A copy counts only when its ".ini" exists: the archive is renamed into place first and
// the note written after it, so a server stopped at any moment lists no partial copy.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QString>

#include <functional>
#include <optional>

namespace focaris::server {

struct CopyInfo {
    qint64 id = 0;
    QDateTime when;
    QString note;
    QString path; // the archive
};

class AccountStore {
public:
    explicit AccountStore(const QString &root);

    QString root() const { return root_.path(); }
    QString incomingFolder() const;

    // Wrong passwords and codes in a row that lock an account, and for how long: a
    // locked account answers every password as wrong, so guessing goes no faster than
    // kMaxFailures tries per kLockMinutes.
    static constexpr int kMaxFailures = 5;
    static constexpr int kLockMinutes = 15;
    // An account whose address is not confirmed within this many days is removed.
    static constexpr int kUnconfirmedDays = 7;
    // The clock of the locks and of the removal (tests move it forward).
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };

    enum class Check { Unknown, Wrong, Right };
    // Right also for the mailed temporary password, which then becomes the password.
    // Wrong, without looking at the password, while the account is locked.
    Check checkPassword(const QString &email, const QString &password);
    bool locked(const QString &email) const;
    // Removes the accounts made more than kUnconfirmedDays ago whose address was never
    // confirmed; returns how many went.
    int removeStaleAccounts();
    // A new unconfirmed account; returns its confirmation code.
    QString create(const QString &email, const QString &password);
    bool exists(const QString &email) const;
    bool confirmed(const QString &email) const;
    // A fresh code for an unconfirmed account (kept until confirmed).
    QString code(const QString &email) const;
    // A wrong code counts as a wrong password towards the lock; a locked account
    // confirms nothing.
    bool confirm(const QString &email, const QString &code);
    void setPassword(const QString &email, const QString &password);
    // A new random password in capitals, valid beside the old one until used.
    QString makeTemporaryPassword(const QString &email);

    // Moves `archive` into the account's copies; false when it cannot be stored.
    std::optional<CopyInfo> addCopy(const QString &email, const QString &archive, const QString &note,
                                    const QDateTime &when = QDateTime::currentDateTime());
    QList<CopyInfo> copies(const QString &email) const;
    std::optional<CopyInfo> copy(const QString &email, qint64 id) const;
    bool removeCopy(const QString &email, qint64 id);

    static QByteArray hashPassword(const QString &password, const QByteArray &salt);

private:
    QString accountDir(const QString &email) const;
    QString accountFile(const QString &email) const;
    // One more wrong password or code; the kMaxFailures-th locks the account.
    void countFailure(const QString &email);

    QDir root_;
};

} // namespace focaris::server
