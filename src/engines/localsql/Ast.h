// The parsed form of a statement of the dialect. The parser builds it, the translator
// turns it into SQLite SQL; nothing else looks inside.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace focaris::sql {

struct Select;

struct Expr {
    enum Kind {
        Column,   // [qualifier.]name
        Text,     // text constant
        Number,   // numeric constant, as written
        Null,     // NULL
        Unary,    // op: "NOT" or "-"
        Binary,   // op: OR AND = <> < <= > >= + - * / ||
        IsNull,   // negated: IS NOT NULL
        Like,     // negated: NOT LIKE
        InSelect, // negated: NOT IN
        InList,   // negated: NOT IN
        Between,  // negated: NOT BETWEEN
        Exists,   // negated: NOT EXISTS
        Function, // COUNT SUM MAX MIN AVG UPPER LOWER TRIM; star for COUNT(*)
        Cast,     // castType: FLOAT, INTEGER, CHAR, DATE; castLength for CHAR(n)
        Subquery, // a scalar subquery
    };
    Kind kind;
    long pos = 0;
    std::string text;      // column name, constant, operator or function name
    std::string qualifier; // table alias of a column
    bool negated = false;
    bool distinct = false; // COUNT(DISTINCT x)
    bool star = false;     // COUNT(*)
    std::string castType;
    int castLength = 0;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> select;
};
using ExprPtr = std::unique_ptr<Expr>;

// A table named in a statement: the path as written (quoted or bare) and its alias.
struct TableRef {
    std::string path;
    std::string alias;
    long pos = 0;
};

struct FromItem {
    enum Join { First, Comma, Inner, Left, Right };
    Join join = First;
    TableRef table;
    ExprPtr on;
};

struct SelectItem {
    ExprPtr expr;       // null for * and alias.*
    std::string starOf; // alias before .* ("" for a bare *)
    bool star = false;
    std::string alias;   // AS name
    std::string written; // the item's text as written, for unnamed expressions
};

struct OrderItem {
    ExprPtr expr;
    bool desc = false;
};

struct Select {
    bool distinct = false;
    std::vector<SelectItem> items;
    std::vector<FromItem> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderItem> orderBy;
};

struct ColumnDef {
    std::string name;
    char type = 'C'; // C (CHAR), N (DECIMAL/NUMERIC), F (FLOAT), D (DATE), L (BOOLEAN)
    int length = 0;
    int decimals = 0;
    long pos = 0;
};

struct Statement {
    enum Kind { SelectStmt, Insert, Update, Delete, CreateTable, AlterTable, DropTable };
    Kind kind = SelectStmt;
    std::unique_ptr<Select> select;                           // SELECT, or the source of INSERT ... SELECT
    TableRef table;                                           // target of INSERT/UPDATE/DELETE/CREATE/ALTER/DROP
    std::vector<std::string> columns;                         // INSERT column list
    std::vector<std::vector<ExprPtr>> values;                 // INSERT VALUES rows
    std::vector<std::pair<std::string, ExprPtr>> assignments; // UPDATE SET
    ExprPtr where;                                            // UPDATE/DELETE
    std::vector<ColumnDef> addColumns;                        // CREATE TABLE, ALTER ADD
    std::vector<std::string> dropColumns;                     // ALTER DROP
};

} // namespace focaris::sql
