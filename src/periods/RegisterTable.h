// One table of an unpacked register archive, read whole into memory, with the columns the
// import needs looked up once. The registers' tables come from other programs, so every
// value is read leniently: a number held as text is a number, a blank is NULL, and a key
// reads the same whether the table keeps it as a number or as text.
#pragma once

#include "engines/dbase/DbfTable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace focaris::periods {

class RegisterTable {
public:
    // Opens `name` in `folder` (whatever the case of its file name) and reads every live
    // row. Returns the reason in Romanian when the table is missing, unreadable or lacks
    // one of `columns`; then the object is empty.
    std::optional<QString> load(const QString &folder, const QString &name, const QStringList &columns);

    std::size_t rows() const { return data_.size(); }
    // The position of a column given to load() (in the order given).
    int column(const QString &name) const { return static_cast<int>(columns_.indexOf(name)); }

    bool isNull(std::size_t row, int col) const;
    // Text trimmed; numbers in their shortest form; dates as dd.mm.yyyy; NULL as "".
    QString text(std::size_t row, int col) const;
    // Numbers; texts that read as a number; anything else (NULL, blank) 0.
    double number(std::size_t row, int col) const;
    // A date, or nothing (NULL, or a text that is no date).
    std::optional<std::int32_t> date(std::size_t row, int col) const;
    // The value as a key of a hash map: the same for 12 stored as a number or as "12";
    // empty for NULL.
    std::string key(std::size_t row, int col) const;

private:
    const dbf::Value &at(std::size_t row, int col) const { return data_[row][static_cast<std::size_t>(col)]; }

    QStringList columns_;
    std::vector<dbf::Record> data_; // only the asked columns, in the asked order
};

} // namespace focaris::periods
