// The write lock of a table, held by an operation for the whole time of its writes.
//
// The dBase engine locks a table only for each single write, which keeps the file whole
// but lets another computer's write fall between an operation's reading and its writing:
// a numbering that rewrites the month's rows would then put back the old values of an
// application saved meanwhile. Every writer of the applications therefore takes this lock
// first: an operation over many rows for its whole run, the save of one application for
// its few statements. The applications table's lock covers its members as well (they are
// written together). Readers never wait for it.
//
// The lock is a byte-range lock on a byte of the table file far beyond its end (not the
// byte of the engine's short write lock), so every computer on the share locks the same
// byte. Within one thread it nests: an operation that calls another writer does not wait
// for itself.
#pragma once

#include <QString>

#include <stdexcept>

namespace focaris {

class Ui;

// What the clerk reads when the table stays locked.
inline constexpr const char *kTableBusyMessage = "Tabela este folosita de alt calculator, incercati din nou";

// Thrown when the lock stays held by another computer for the whole wait. Nothing has been
// written by the operation that asked for it.
class TableBusy : public std::runtime_error {
public:
    TableBusy() : std::runtime_error(kTableBusyMessage) {}
};

class TableWriteLock {
public:
    // Takes the lock of DataFolder's `table`, waiting up to `waitMs` while another holds it;
    // meanwhile `ui`, when given, shows the "please wait" window. A table that does not
    // exist (or cannot be opened for writing) is not locked: its writers fail on their own.
    explicit TableWriteLock(Ui *ui = nullptr, const QString &table = QStringLiteral("Cereri.dbf"),
                            int waitMs = kDefaultWaitMs);
    ~TableWriteLock();
    TableWriteLock(const TableWriteLock &) = delete;
    TableWriteLock &operator=(const TableWriteLock &) = delete;

    static constexpr int kDefaultWaitMs = 5000;

private:
    QString key_;
};

// True when byte-range locks on `folder` keep two processes apart: this process locks a
// test file there and a child process must find the lock taken. `why` gets the reason of a
// failure. The test file is removed afterwards.
bool LocksWorkIn(const QString &folder, QString *why = nullptr);

} // namespace focaris
