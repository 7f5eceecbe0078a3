// Turns a parsed statement of the dialect into SQLite SQL over the virtual tables. It
// knows every column's type from the dBase headers and applies the dialect's meanings:
// "+" joins texts and adds numbers, date texts compared with or stored into DATE columns
// are dates, a comparison with the empty text also finds blank (NULL) texts, texts
// compare without their trailing blanks, and every select column gets its name and type.
#pragma once

#include "engines/dbase/DbfTable.h"
#include "engines/localsql/Ast.h"
#include "engines/localsql/ResultSet.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace focaris::sql {

class CachedTable;

// A table of the statement as SQLite sees it: the virtual table's name and the copy.
struct TableBinding {
    std::string vtab;
    std::shared_ptr<CachedTable> table;
};

class Translator {
public:
    // resolve: finds (and refreshes) the table a reference names; throws SqlError.
    using Resolve = std::function<TableBinding(const TableRef &)>;
    Translator(const std::string &statementText, Resolve resolve);

    struct Output {
        std::string sql;
        std::vector<ResultColumn> columns; // SELECT only
        // INSERT ... VALUES of plain constants: the rows as the columns will receive them
        // (before fitting to the column), for the engine to write without SQLite.
        // Initialised here, so that {sql, columns} leaves them empty without a warning.
        bool direct = false;
        std::shared_ptr<CachedTable> directTable{};
        std::vector<int> directTargets{};
        std::vector<std::vector<Value>> directRows{};
    };
    // SELECT, INSERT, UPDATE, DELETE. Throws SqlError.
    Output translate(const Statement &st);

    struct Scope;
    enum class Type { Unknown, Text, Number, Date };
    struct Out {
        std::string sql;
        Type type = Type::Unknown;
    };

private:
    Output select(const Select &s, const Scope *parent);
    Out expr(const Expr &e, const Scope &scope);
    Out column(const Expr &e, const Scope &scope);
    Out comparison(const Expr &e, const std::string &op, const Scope &scope);
    Out asDate(const Expr &e, const Out &translated);
    Out assigned(const Expr &e, const Out &translated, const dbf::Field &target);
    [[noreturn]] void fail(const std::string &message, long pos, const std::string &token) const;

    const std::string &text_;
    Resolve resolve_;
};

} // namespace focaris::sql
