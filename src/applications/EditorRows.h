// Small helpers of the editor's operations: reading one result row by column name as the
// fields show it, the list of rejection reasons in "Motive.lst", and the copy of one
// application's members into the editor's members table.
#pragma once

#include "core/Amount.h"
#include "engines/localsql/ResultSet.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace focaris {

class RowReader {
public:
    RowReader(const sql::ResultSet &rows, std::size_t row) : rows_(rows), row_(row) {}
    // A text column with its trailing blanks dropped (NULL gives the empty text).
    QString text(const char *column) const;
    // A numeric column in its shortest decimal form ("0" for NULL).
    QString number(const char *column) const;
    qint64 whole(const char *column) const;
    Amount amount(const char *column) const;
    QDate date(const char *column) const;
    bool flag(const char *column) const { return text(column) == QLatin1String("X"); }

private:
    sql::Value value(const char *column) const;
    const sql::ResultSet &rows_;
    std::size_t row_;
};

// The reasons of "Motive.lst" in the program folder (Windows-1250, one a line), empty when
// the file is missing.
QStringList ReadReasons();
// Writes the whole list back, through a temporary file beside it.
void WriteReasons(const QStringList &reasons);

// The members with this CNP in stored applications of month `monthCode` (the member
// `exceptNrom` left out when it is above 0, the beneficiaries left out when
// `skipBeneficiaries`): the application's number and date and the member's name. Asked as
// two look-ups, the members by CNP and then their applications by key, so that both are
// answered from the engine's indexes instead of walking the whole month.
struct MonthMember {
    QString nrCere;
    QDate dataCere;
    QString titular;
};
std::vector<MonthMember> MembersInMonth(const QString &cnp, int monthCode, qint64 exceptNrom, bool skipBeneficiaries);

// Replaces the rows of `membersTable` with copies of the members of application `fromKey`,
// each with a new member key and the application key `toKey`; returns how many.
int CopyMembers(const QString &membersTable, qint64 fromKey, qint64 toKey);

} // namespace focaris
