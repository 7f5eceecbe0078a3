// The applications of one working month as the list shows them: one query over the
// applications table ordered by a column, the month text of the first month as a computed
// column, a search on the beginning of the applicant's name that narrows the rows without
// asking the engine again, and the look-up of a row by its key so that the list can come
// back to the application that was current.
#pragma once

#include "engines/localsql/ResultSet.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace focaris {

struct ListColumn {
    QString title;  // the grid's heading
    QString column; // the table column, or LUNADECLS for the computed month text
};

// The grid's columns, in order.
const std::vector<ListColumn> &ListColumns();
// The computed column: MonthText(LUNADEC).
inline constexpr const char *kFirstMonthColumn = "LUNADECLS";

class ApplicationList {
public:
    // The statement of the list: the month's rows ordered by `sortColumn`.
    static QStringList Statement(int monthCode, const QString &sortColumn);

    // Runs the query for the month with the order given (SUBSEMN when empty); the search
    // in force stays in force. Throws focaris::sql::SqlError.
    void open(int monthCode, const QString &sortColumn = QStringLiteral("SUBSEMN"));
    // The same month and order again (after a write).
    void reopen() { open(month_, sort_); }
    // Orders by the grid column `column` (an index into ListColumns); false, doing nothing,
    // for the computed month column. The rows in memory are put in the order the query
    // would give (blanks first, numbers by value, texts by their bytes, dates by day), so
    // a click on a title does not ask the engine again; the next reopening asks it with
    // the new order.
    bool sortBy(int column);
    static bool Sortable(int column);

    // Lists only the applicants whose name begins with `text` (as typed, compared exactly,
    // so an apostrophe or a blank is just a character); an empty text lists every row.
    void setSearch(const QString &text);
    const QString &search() const { return search_; }

    int monthCode() const { return month_; }
    const QString &sortColumn() const { return sort_; }
    // Rows listed now (after the search).
    int count() const { return static_cast<int>(visible_.size()); }
    // Rows of the month, whatever the search.
    int monthCount() const { return static_cast<int>(rows_.rowCount()); }

    // The text a cell shows: numbers in their shortest form, dates as dd.mm.yyyy, blanks
    // empty. `column` indexes ListColumns.
    QString text(int row, int column) const;
    // Any column of the table by name, for a listed row.
    sql::Value value(int row, const char *column) const;
    qint64 key(int row) const;
    // True for the columns that hold numbers (shown aligned right).
    bool numeric(int column) const
    {
        return column >= 0 && column < static_cast<int>(numeric_.size()) && numeric_[column];
    }
    // The listed row of an application, or -1.
    int rowOfKey(qint64 key) const;

private:
    void applySearch();
    void narrowSearch();

    int month_ = 0;
    QString sort_ = QStringLiteral("SUBSEMN");
    QString search_;
    sql::ResultSet rows_;
    std::vector<int> columnIndex_; // per grid column: index into rows_, -1 for LUNADECLS
    std::vector<bool> numeric_;
    int keyIndex_ = -1, nameIndex_ = -1, firstMonthIndex_ = -1;
    std::vector<std::string> searchNames_; // per row of rows_: SUBSEMN without diacritics
    std::vector<int> order_;               // rows_ in the list's order
    std::vector<int> visible_;             // the rows of order_ that the search keeps
};

} // namespace focaris
