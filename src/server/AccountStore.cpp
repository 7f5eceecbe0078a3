// The backup server's accounts and copies on disk.
#include "server/AccountStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSettings>

namespace focaris::server {

namespace {

constexpr int kIterations = 20000;

QString randomDigits(int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(u'0' + QRandomGenerator::system()->bounded(10));
    return s;
}

QByteArray randomBytes(int n)
{
    QByteArray b(n, '\0');
    for (char &c : b)
        c = char(QRandomGenerator::system()->bounded(256));
    return b;
}

// Constant-time comparison of two hashes.
bool sameHash(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size() || a.isEmpty())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

AccountStore::AccountStore(const QString &root) : root_(root)
{
    root_.mkpath(QStringLiteral("accounts"));
    QDir incoming(incomingFolder());
    // Uploads cut off by a stop of the server are dropped.
    incoming.removeRecursively();
    root_.mkpath(QStringLiteral("incoming"));
}

QString AccountStore::incomingFolder() const
{
    return root_.filePath(QStringLiteral("incoming"));
}

QByteArray AccountStore::hashPassword(const QString &password, const QByteArray &salt)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, kIterations, 32);
}

QString AccountStore::accountDir(const QString &email) const
{
    const QByteArray key =
        QCryptographicHash::hash(email.trimmed().toLower().toUtf8(), QCryptographicHash::Sha256).toHex();
    return root_.filePath(QStringLiteral("accounts/") + QString::fromLatin1(key));
}

QString AccountStore::accountFile(const QString &email) const
{
    return accountDir(email) + QStringLiteral("/account.ini");
}

bool AccountStore::exists(const QString &email) const
{
    return QFile::exists(accountFile(email));
}

bool AccountStore::locked(const QString &email) const
{
    const QDateTime until = QSettings(accountFile(email), QSettings::IniFormat).value("lockedUntil").toDateTime();
    return until.isValid() && now() < until;
}

void AccountStore::countFailure(const QString &email)
{
    QSettings s(accountFile(email), QSettings::IniFormat);
    const int failures = s.value("failures").toInt() + 1;
    if (failures >= kMaxFailures) {
        s.setValue("lockedUntil", now().addSecs(kLockMinutes * 60));
        s.setValue("failures", 0);
    } else {
        s.setValue("failures", failures);
    }
}

AccountStore::Check AccountStore::checkPassword(const QString &email, const QString &password)
{
    if (!exists(email))
        return Check::Unknown;
    if (locked(email))
        return Check::Wrong;
    QSettings s(accountFile(email), QSettings::IniFormat);
    const QByteArray salt = QByteArray::fromHex(s.value("salt").toByteArray());
    const QByteArray hash = hashPassword(password, salt);
    if (sameHash(hash, QByteArray::fromHex(s.value("hash").toByteArray()))) {
        s.setValue("failures", 0);
        return Check::Right;
    }
    if (sameHash(hash, QByteArray::fromHex(s.value("tempHash").toByteArray()))) {
        s.setValue("hash", hash.toHex());
        s.remove("tempHash");
        s.setValue("failures", 0);
        return Check::Right;
    }
    s.sync();
    countFailure(email);
    return Check::Wrong;
}

int AccountStore::removeStaleAccounts()
{
    int removed = 0;
    QDir accounts(root_.filePath(QStringLiteral("accounts")));
    const QDateTime limit = now().addDays(-kUnconfirmedDays);
    for (const QString &name : accounts.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = accounts.filePath(name + QStringLiteral("/account.ini"));
        if (!QFile::exists(file))
            continue;
        QSettings s(file, QSettings::IniFormat);
        if (s.value("confirmed").toBool())
            continue;
        const QDateTime created = s.value("created").toDateTime();
        if (!created.isValid()) {
            // Accounts made before the date was kept get their days from now on.
            s.setValue("created", now());
            continue;
        }
        if (created < limit && QDir(accounts.filePath(name)).removeRecursively())
            ++removed;
    }
    return removed;
}

QString AccountStore::create(const QString &email, const QString &password)
{
    QDir().mkpath(accountDir(email) + QStringLiteral("/copies"));
    const QByteArray salt = randomBytes(16);
    const QString code = randomDigits(6);
    QSettings s(accountFile(email), QSettings::IniFormat);
    s.setValue("email", email.trimmed());
    s.setValue("salt", salt.toHex());
    s.setValue("hash", hashPassword(password, salt).toHex());
    s.setValue("confirmed", false);
    s.setValue("code", code);
    s.setValue("nextId", 1);
    s.setValue("created", now());
    s.sync();
    return code;
}

bool AccountStore::confirmed(const QString &email) const
{
    return QSettings(accountFile(email), QSettings::IniFormat).value("confirmed").toBool();
}

QString AccountStore::code(const QString &email) const
{
    return QSettings(accountFile(email), QSettings::IniFormat).value("code").toString();
}

bool AccountStore::confirm(const QString &email, const QString &code)
{
    if (locked(email))
        return false;
    {
        QSettings s(accountFile(email), QSettings::IniFormat);
        if (!s.value("code").toString().isEmpty() && s.value("code").toString() == code.trimmed()) {
            s.setValue("confirmed", true);
            s.setValue("failures", 0);
            return true;
        }
    }
    countFailure(email);
    return false;
}

void AccountStore::setPassword(const QString &email, const QString &password)
{
    QSettings s(accountFile(email), QSettings::IniFormat);
    const QByteArray salt = QByteArray::fromHex(s.value("salt").toByteArray());
    s.setValue("hash", hashPassword(password, salt).toHex());
    s.remove("tempHash");
}

QString AccountStore::makeTemporaryPassword(const QString &email)
{
    static const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QString password;
    for (int i = 0; i < 10; ++i)
        password += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))]);
    QSettings s(accountFile(email), QSettings::IniFormat);
    const QByteArray salt = QByteArray::fromHex(s.value("salt").toByteArray());
    s.setValue("tempHash", hashPassword(password, salt).toHex());
    return password;
}

std::optional<CopyInfo> AccountStore::addCopy(const QString &email, const QString &archive, const QString &note,
                                              const QDateTime &when)
{
    QSettings s(accountFile(email), QSettings::IniFormat);
    const qint64 id = std::max<qint64>(1, s.value("nextId").toLongLong());
    s.setValue("nextId", id + 1);
    s.sync();
    const QString base = accountDir(email) + QStringLiteral("/copies/") + QString::number(id);
    QDir().mkpath(accountDir(email) + QStringLiteral("/copies"));
    QFile::remove(base + QStringLiteral(".T21"));
    if (!QFile::rename(archive, base + QStringLiteral(".T21")))
        return std::nullopt;
    QSaveFile meta(base + QStringLiteral(".ini"));
    if (!meta.open(QIODevice::WriteOnly))
        return std::nullopt;
    meta.write("when=" + when.toString(Qt::ISODateWithMs).toUtf8() + "\n");
    meta.write("note=" + note.toUtf8().toPercentEncoding(" ") + "\n");
    if (!meta.commit())
        return std::nullopt;
    return CopyInfo{id, when, note, base + QStringLiteral(".T21")};
}

std::optional<CopyInfo> AccountStore::copy(const QString &email, qint64 id) const
{
    const QString base = accountDir(email) + QStringLiteral("/copies/") + QString::number(id);
    QFile meta(base + QStringLiteral(".ini"));
    if (id <= 0 || !QFile::exists(base + QStringLiteral(".T21")) || !meta.open(QIODevice::ReadOnly))
        return std::nullopt;
    CopyInfo info{id, {}, {}, base + QStringLiteral(".T21")};
    for (const QByteArray &line : meta.readAll().split('\n')) {
        if (line.startsWith("when="))
            info.when = QDateTime::fromString(QString::fromUtf8(line.mid(5)), Qt::ISODateWithMs);
        else if (line.startsWith("note="))
            info.note = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5)));
    }
    return info;
}

QList<CopyInfo> AccountStore::copies(const QString &email) const
{
    QList<CopyInfo> list;
    QDir dir(accountDir(email) + QStringLiteral("/copies"));
    for (const QString &name : dir.entryList({QStringLiteral("*.ini")}, QDir::Files)) {
        bool ok = false;
        const qint64 id = name.chopped(4).toLongLong(&ok);
        if (ok)
            if (auto c = copy(email, id))
                list.append(*c);
    }
    std::sort(list.begin(), list.end(), [](const CopyInfo &a, const CopyInfo &b) { return a.id < b.id; });
    return list;
}

bool AccountStore::removeCopy(const QString &email, qint64 id)
{
    if (!copy(email, id))
        return false;
    const QString base = accountDir(email) + QStringLiteral("/copies/") + QString::number(id);
    // The note goes first, so that a half-done removal lists nothing.
    return QFile::remove(base + QStringLiteral(".ini")) && QFile::remove(base + QStringLiteral(".T21"));
}

} // namespace focaris::server
