// Translation of the dialect to SQLite SQL.
#include "engines/localsql/Translator.h"

#include "engines/common/Codepage.h"
#include "engines/localsql/CachedTable.h"
#include "engines/localsql/SqlError.h"
#include "engines/localsql/VirtualTable.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>

namespace focaris::sql {

struct Translator::Scope {
    struct Table {
        std::string alias;
        TableBinding binding;
    };
    std::vector<Table> tables;
    const Scope *parent = nullptr;
    // Output columns of the SELECT, for ORDER BY and GROUP BY names.
    const std::vector<ResultColumn> *outputs = nullptr;
};

namespace {

using Type = Translator::Type;
using Out = Translator::Out;

std::string quoteText(std::string_view t)
{
    return quoteWith(t, '\'');
}

std::string rtrimmed(const std::string &s)
{
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.substr(0, n);
}

Type typeOfField(const dbf::Field &f)
{
    switch (f.type) {
    case 'C':
    case 'M': return Type::Text;
    case 'D': return Type::Date;
    default: return Type::Number;
    }
}

ColumnType resultType(Type t)
{
    switch (t) {
    case Type::Number: return ColumnType::Number;
    case Type::Date: return ColumnType::Date;
    default: return ColumnType::Text;
    }
}

Type fromResultType(ColumnType t)
{
    switch (t) {
    case ColumnType::Number: return Type::Number;
    case ColumnType::Date: return Type::Date;
    default: return Type::Text;
    }
}

// The text form of a value inside a concatenation: a blank text joins as the empty text,
// numbers in their shortest form, dates as dd.mm.yyyy.
std::string asConcatPart(const Out &o)
{
    switch (o.type) {
    case Type::Text: return "coalesce(" + o.sql + ",'')";
    case Type::Date: return "coalesce(foc_dmy(" + o.sql + "),'')";
    default: return "coalesce(foc_str(" + o.sql + "),'')";
    }
}

// The value a plain constant of an INSERT gives its column, the same that SQLite would
// hand over for it, or nothing when the expression is not a plain constant or the column
// is of a kind whose conversion is left to SQLite. Runs after Translator::assigned has
// checked dates and numbers.
std::optional<Value> insertedConstant(const Expr &e, const dbf::Field &f)
{
    if (!std::strchr("CNFID", f.type))
        return std::nullopt;
    if (e.kind == Expr::Null)
        return Value::null();
    if (e.kind == Expr::Number ||
        (e.kind == Expr::Unary && e.text == "-" && e.args.size() == 1 && e.args[0]->kind == Expr::Number)) {
        if (f.type == 'C' || f.type == 'D')
            return std::nullopt;
        const double d = std::strtod((e.kind == Expr::Number ? e : *e.args[0]).text.c_str(), nullptr);
        return Value::fromReal(e.kind == Expr::Number ? d : -d);
    }
    if (e.kind != Expr::Text)
        return std::nullopt;
    if (f.type == 'C')
        return Value::fromText(e.text);
    const std::string t = rtrimmed(e.text);
    const std::size_t start = t.find_first_not_of(' ');
    if (start == std::string::npos)
        return Value::null();
    if (f.type == 'D') {
        std::int32_t days;
        if (!parseDate(t, days))
            return std::nullopt;
        return Value::fromDate(days);
    }
    return Value::fromReal(std::strtod(t.c_str() + start, nullptr));
}

bool isEmptyTextLiteral(const Expr &e)
{
    return e.kind == Expr::Text && rtrimmed(e.text).empty();
}

std::string stemOf(const std::string &path)
{
    std::string name = path;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    return text::asciiUpper(name);
}

} // namespace

Translator::Translator(const std::string &statementText, Resolve resolve)
    : text_(statementText), resolve_(std::move(resolve))
{
}

void Translator::fail(const std::string &message, long pos, const std::string &token) const
{
    throw SqlError(message, text_, pos, token);
}

Translator::Output Translator::translate(const Statement &st)
{
    switch (st.kind) {
    case Statement::SelectStmt: return select(*st.select, nullptr);
    case Statement::Insert: {
        const TableBinding b = resolve_(st.table);
        const auto &fields = b.table->fields();
        std::vector<int> targets;
        if (st.columns.empty()) {
            for (std::size_t i = 0; i < fields.size(); ++i)
                targets.push_back(static_cast<int>(i));
        } else {
            std::set<int> seen;
            for (const std::string &c : st.columns) {
                const int i = b.table->fieldIndex(c);
                if (i < 0)
                    fail("Unknown column " + c + " in " + st.table.path, st.table.pos, c);
                if (!seen.insert(i).second)
                    fail("Column " + c + " given twice", st.table.pos, c);
                targets.push_back(i);
            }
        }
        std::string sql = "INSERT INTO " + quoteIdentifier(b.vtab) + " (";
        for (std::size_t i = 0; i < targets.size(); ++i)
            sql += (i ? ", " : "") + quoteIdentifier(fields[targets[i]].name);
        sql += ") ";
        if (st.select) {
            Output src = select(*st.select, nullptr);
            if (src.columns.size() != targets.size())
                fail("The SELECT gives " + std::to_string(src.columns.size()) + " columns for " +
                         std::to_string(targets.size()) + " target columns",
                     st.table.pos, st.table.path);
            sql += src.sql;
        } else {
            Scope empty;
            Output direct;
            direct.direct = true;
            sql += "VALUES ";
            for (std::size_t r = 0; r < st.values.size(); ++r) {
                const auto &row = st.values[r];
                if (row.size() != targets.size())
                    fail("VALUES holds " + std::to_string(row.size()) + " values for " +
                             std::to_string(targets.size()) + " columns",
                         row.empty() ? st.table.pos : row.front()->pos, "(");
                sql += r ? ", (" : "(";
                std::vector<Value> constants;
                for (std::size_t i = 0; i < row.size(); ++i) {
                    const Out v = assigned(*row[i], expr(*row[i], empty), fields[targets[i]]);
                    sql += (i ? ", " : "") + v.sql;
                    if (!direct.direct)
                        continue;
                    if (std::optional<Value> c = insertedConstant(*row[i], fields[targets[i]]))
                        constants.push_back(std::move(*c));
                    else
                        direct.direct = false;
                }
                if (direct.direct)
                    direct.directRows.push_back(std::move(constants));
                sql += ")";
            }
            // Constants only (one application, one member, one log line): the engine
            // writes them itself, which spares SQLite's preparation of the statement.
            if (direct.direct) {
                direct.directTable = b.table;
                direct.directTargets = std::move(targets);
                return direct;
            }
        }
        return {sql, {}};
    }
    case Statement::Update: {
        Scope scope;
        const TableBinding b = resolve_(st.table);
        const std::string alias = st.table.alias.empty() ? stemOf(st.table.path) : st.table.alias;
        scope.tables.push_back({alias, b});
        std::string sql = "UPDATE " + quoteIdentifier(b.vtab) + " AS " + quoteIdentifier(alias) + " SET ";
        std::set<int> seen;
        for (std::size_t i = 0; i < st.assignments.size(); ++i) {
            const auto &[name, value] = st.assignments[i];
            const int f = b.table->fieldIndex(name);
            if (f < 0)
                fail("Unknown column " + name + " in " + st.table.path, value->pos, name);
            if (!seen.insert(f).second)
                fail("Column " + name + " set twice", value->pos, name);
            const dbf::Field &field = b.table->fields()[f];
            sql += (i ? ", " : "") + quoteIdentifier(field.name) + " = " +
                   assigned(*value, expr(*value, scope), field).sql;
        }
        if (st.where)
            sql += " WHERE " + expr(*st.where, scope).sql;
        return {sql, {}};
    }
    case Statement::Delete: {
        Scope scope;
        const TableBinding b = resolve_(st.table);
        const std::string alias = st.table.alias.empty() ? stemOf(st.table.path) : st.table.alias;
        scope.tables.push_back({alias, b});
        std::string sql = "DELETE FROM " + quoteIdentifier(b.vtab) + " AS " + quoteIdentifier(alias);
        if (st.where)
            sql += " WHERE " + expr(*st.where, scope).sql;
        return {sql, {}};
    }
    default: throw SqlError("Statement cannot be translated", text_);
    }
}

Translator::Output Translator::select(const Select &s, const Scope *parent)
{
    Scope scope;
    scope.parent = parent;
    std::string from;
    for (const FromItem &item : s.from) {
        const TableBinding b = resolve_(item.table);
        const std::string alias = item.table.alias.empty() ? stemOf(item.table.path) : item.table.alias;
        for (const auto &t : scope.tables)
            if (t.alias == alias)
                fail("Table alias " + alias + " used twice", item.table.pos, alias);
        scope.tables.push_back({alias, b});
        switch (item.join) {
        case FromItem::First: break;
        case FromItem::Comma: from += ", "; break;
        case FromItem::Inner: from += " INNER JOIN "; break;
        case FromItem::Left: from += " LEFT JOIN "; break;
        case FromItem::Right: from += " RIGHT JOIN "; break;
        }
        from += quoteIdentifier(b.vtab) + " AS " + quoteIdentifier(alias);
        if (item.on)
            from += " ON " + expr(*item.on, scope).sql;
    }

    std::vector<ResultColumn> columns;
    std::string list;
    auto addColumn = [&](const std::string &sql, const std::string &name, Type type) {
        list += (list.empty() ? "" : ", ") + sql + " AS " + quoteIdentifier(name);
        columns.push_back({name, resultType(type)});
    };
    for (const SelectItem &item : s.items) {
        if (item.star) {
            bool found = item.starOf.empty();
            for (const auto &t : scope.tables) {
                if (!item.starOf.empty() && t.alias != item.starOf)
                    continue;
                found = true;
                for (const dbf::Field &f : t.binding.table->fields())
                    addColumn(quoteIdentifier(t.alias) + "." + quoteIdentifier(f.name), text::asciiUpper(f.name),
                              typeOfField(f));
            }
            if (!found)
                fail("Unknown table alias " + item.starOf, 0, item.starOf);
            continue;
        }
        const Out o = expr(*item.expr, scope);
        std::string name = item.alias;
        if (name.empty())
            name = item.expr->kind == Expr::Column ? item.expr->text : text::asciiUpper(item.written);
        addColumn(o.sql, name, o.type);
    }

    std::string sql = std::string("SELECT ") + (s.distinct ? "DISTINCT " : "") + list + " FROM " + from;
    if (s.where)
        sql += " WHERE " + expr(*s.where, scope).sql;

    // GROUP BY and ORDER BY may name an output column; ORDER BY may give its number.
    scope.outputs = &columns;
    auto outputNamed = [&](const Expr &e) -> int {
        if (e.kind != Expr::Column || !e.qualifier.empty())
            return -1;
        int found = -1;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].name == e.text) {
                if (found >= 0)
                    return -1; // two outputs of that name: let the columns decide
                found = static_cast<int>(i);
            }
        return found;
    };
    if (!s.groupBy.empty()) {
        sql += " GROUP BY ";
        for (std::size_t i = 0; i < s.groupBy.size(); ++i) {
            const Expr &g = *s.groupBy[i];
            std::string part;
            try {
                part = expr(g, scope).sql;
            } catch (const SqlError &) {
                if (outputNamed(g) < 0)
                    throw;
                part = quoteIdentifier(g.text);
            }
            sql += (i ? ", " : "") + part;
        }
    }
    if (s.having)
        sql += " HAVING " + expr(*s.having, scope).sql;
    if (!s.orderBy.empty()) {
        sql += " ORDER BY ";
        for (std::size_t i = 0; i < s.orderBy.size(); ++i) {
            const Expr &o = *s.orderBy[i].expr;
            std::string part;
            if (o.kind == Expr::Number) {
                const long n = std::strtol(o.text.c_str(), nullptr, 10);
                if (o.text.find('.') != std::string::npos || n < 1 || n > static_cast<long>(columns.size()))
                    fail("ORDER BY column number out of range", o.pos, o.text);
                part = o.text;
            } else if (outputNamed(o) >= 0) {
                part = quoteIdentifier(o.text);
            } else {
                part = expr(o, scope).sql;
            }
            sql += (i ? ", " : "") + part + (s.orderBy[i].desc ? " DESC" : "");
        }
    }
    return {sql, columns};
}

Out Translator::column(const Expr &e, const Scope &scope)
{
    for (const Scope *sc = &scope; sc; sc = sc->parent) {
        const Scope::Table *hit = nullptr;
        int field = -1;
        for (const auto &t : sc->tables) {
            if (!e.qualifier.empty() && t.alias != e.qualifier)
                continue;
            const int f = t.binding.table->fieldIndex(e.text);
            if (f < 0) {
                if (!e.qualifier.empty())
                    fail("Unknown column " + e.qualifier + "." + e.text, e.pos, e.text);
                continue;
            }
            if (hit)
                fail("Ambiguous column " + e.text + " (in " + hit->alias + " and " + t.alias + ")", e.pos, e.text);
            hit = &t;
            field = f;
        }
        if (hit) {
            const dbf::Field &f = hit->binding.table->fields()[field];
            return {quoteIdentifier(hit->alias) + "." + quoteIdentifier(f.name), typeOfField(f)};
        }
    }
    if (!e.qualifier.empty())
        fail("Unknown table alias " + e.qualifier, e.pos, e.qualifier);
    fail("Unknown column " + e.text, e.pos, e.text);
}

// A text constant standing for a date.
Out Translator::asDate(const Expr &e, const Out &translated)
{
    if (e.kind != Expr::Text)
        return translated;
    const std::string t = rtrimmed(e.text);
    if (t.empty())
        return {"NULL", Type::Date};
    std::int32_t days;
    if (!parseDate(t, days))
        fail("Invalid date \"" + e.text + "\" (expected dd.mm.yyyy)", e.pos, "\"" + e.text + "\"");
    return {"'" + isoDate(days) + "'", Type::Date};
}

// A value assigned to or inserted into a column: date texts become dates; a text constant
// that is no number cannot go into a numeric column.
Out Translator::assigned(const Expr &e, const Out &translated, const dbf::Field &target)
{
    const Type t = typeOfField(target);
    if (t == Type::Date)
        return asDate(e, translated);
    if (t == Type::Number && e.kind == Expr::Text) {
        std::string v = rtrimmed(e.text);
        const std::size_t start = v.find_first_not_of(' ');
        if (start == std::string::npos)
            return {"NULL", Type::Number};
        v = v.substr(start);
        char *end = nullptr;
        std::strtod(v.c_str(), &end);
        if (end != v.c_str() + v.size())
            fail("Text \"" + e.text + "\" is not a number for column " + target.name, e.pos, "\"" + e.text + "\"");
        return {v, Type::Number};
    }
    return translated;
}

Out Translator::comparison(const Expr &e, const std::string &op, const Scope &scope)
{
    const Expr &l = *e.args[0];
    const Expr &r = *e.args[1];
    Out a = expr(l, scope);
    Out b = expr(r, scope);
    if (a.type == Type::Date)
        b = asDate(r, b);
    if (b.type == Type::Date)
        a = asDate(l, a);
    // The empty text equals a blank (NULL) text; "<>" with it stays unknown for blanks.
    if ((op == "=" || op == "<>") && (isEmptyTextLiteral(l) || isEmptyTextLiteral(r))) {
        const Out &other = isEmptyTextLiteral(l) ? b : a;
        if (other.type != Type::Number && other.type != Type::Date) {
            if (op == "=")
                return {"(coalesce(" + other.sql + ",'') = '')", Type::Number};
            return {"(" + other.sql + " <> '')", Type::Number};
        }
    }
    // Trailing blanks are not part of a text.
    if (l.kind == Expr::Text && a.type == Type::Text && b.type != Type::Number)
        a.sql = quoteText(rtrimmed(l.text));
    if (r.kind == Expr::Text && b.type == Type::Text && a.type != Type::Number)
        b.sql = quoteText(rtrimmed(r.text));
    return {"(" + a.sql + " " + op + " " + b.sql + ")", Type::Number};
}

Out Translator::expr(const Expr &e, const Scope &scope)
{
    switch (e.kind) {
    case Expr::Column: return column(e, scope);
    case Expr::Text: return {quoteText(e.text), Type::Text};
    case Expr::Number: return {e.text, Type::Number};
    case Expr::Null: return {"NULL", Type::Unknown};
    case Expr::Unary: {
        const Out a = expr(*e.args[0], scope);
        if (e.text == "NOT")
            return {"(NOT " + a.sql + ")", Type::Number};
        if (a.type == Type::Text || a.type == Type::Date)
            fail("A text or date cannot be negated", e.pos, "-");
        return {"(-" + a.sql + ")", Type::Number};
    }
    case Expr::Binary: {
        const std::string &op = e.text;
        if (op == "AND" || op == "OR")
            return {"(" + expr(*e.args[0], scope).sql + " " + op + " " + expr(*e.args[1], scope).sql + ")",
                    Type::Number};
        if (op == "=" || op == "<>" || op == "<" || op == "<=" || op == ">" || op == ">=")
            return comparison(e, op, scope);
        const Out a = expr(*e.args[0], scope);
        const Out b = expr(*e.args[1], scope);
        if (op == "||" || (op == "+" && (a.type == Type::Text || b.type == Type::Text)))
            return {"(" + asConcatPart(a) + " || " + asConcatPart(b) + ")", Type::Text};
        if (op == "-" && a.type == Type::Date && b.type == Type::Date)
            return {"(julianday(" + a.sql + ") - julianday(" + b.sql + "))", Type::Number};
        if (a.type == Type::Date || b.type == Type::Date || a.type == Type::Text || b.type == Type::Text)
            fail("Operator " + op + " needs numbers", e.pos, op);
        if (op == "/")
            return {"(CAST(" + a.sql + " AS REAL) / " + b.sql + ")", Type::Number};
        return {"(" + a.sql + " " + op + " " + b.sql + ")", Type::Number};
    }
    case Expr::IsNull:
        return {"(" + expr(*e.args[0], scope).sql + (e.negated ? " IS NOT NULL)" : " IS NULL)"), Type::Number};
    case Expr::Like: {
        const Out a = expr(*e.args[0], scope);
        const Out b = expr(*e.args[1], scope);
        return {"(" + a.sql + (e.negated ? " NOT LIKE " : " LIKE ") + b.sql + ")", Type::Number};
    }
    case Expr::Between: {
        Out a = expr(*e.args[0], scope);
        Out lo = expr(*e.args[1], scope);
        Out hi = expr(*e.args[2], scope);
        if (a.type == Type::Date) {
            lo = asDate(*e.args[1], lo);
            hi = asDate(*e.args[2], hi);
        }
        return {"(" + a.sql + (e.negated ? " NOT BETWEEN " : " BETWEEN ") + lo.sql + " AND " + hi.sql + ")",
                Type::Number};
    }
    case Expr::InList: {
        const Out a = expr(*e.args[0], scope);
        std::string sql = "(" + a.sql + (e.negated ? " NOT IN (" : " IN (");
        for (std::size_t i = 1; i < e.args.size(); ++i) {
            Out v = expr(*e.args[i], scope);
            if (a.type == Type::Date)
                v = asDate(*e.args[i], v);
            else if (a.type == Type::Text && e.args[i]->kind == Expr::Text)
                v.sql = quoteText(rtrimmed(e.args[i]->text));
            sql += (i > 1 ? ", " : "") + v.sql;
        }
        return {sql + "))", Type::Number};
    }
    case Expr::InSelect: {
        const Out a = expr(*e.args[0], scope);
        const Output sub = select(*e.select, &scope);
        if (sub.columns.size() != 1)
            fail("The subquery of IN must give one column", e.pos, "IN");
        return {"(" + a.sql + (e.negated ? " NOT IN (" : " IN (") + sub.sql + "))", Type::Number};
    }
    case Expr::Exists: {
        const Output sub = select(*e.select, &scope);
        return {std::string("(") + (e.negated ? "NOT " : "") + "EXISTS (" + sub.sql + "))", Type::Number};
    }
    case Expr::Subquery: {
        const Output sub = select(*e.select, &scope);
        if (sub.columns.size() != 1)
            fail("A subquery used as a value must give one column", e.pos, "(");
        return {"(" + sub.sql + ")", fromResultType(sub.columns[0].type)};
    }
    case Expr::Function: {
        const std::string &f = e.text;
        if (e.star)
            return {"COUNT(*)", Type::Number};
        const Out a = expr(*e.args[0], scope);
        const std::string distinct = e.distinct ? "DISTINCT " : "";
        if (f == "COUNT")
            return {"COUNT(" + distinct + a.sql + ")", Type::Number};
        if (f == "SUM" || f == "AVG") {
            if (a.type == Type::Text || a.type == Type::Date)
                fail(f + " needs a numeric column", e.pos, f);
            return {f + "(" + distinct + a.sql + ")", Type::Number};
        }
        if (f == "MAX" || f == "MIN")
            return {f + "(" + distinct + a.sql + ")", a.type};
        if (f == "UPPER" || f == "LOWER")
            return {(f == "UPPER" ? "upper(" : "lower(") + a.sql + ")", Type::Text};
        if (f == "TRIM")
            return {"nullif(trim(" + a.sql + "),'')", Type::Text};
        fail("Unknown function", e.pos, f);
    }
    case Expr::Cast: {
        const Out a = expr(*e.args[0], scope);
        if (e.castType == "FLOAT")
            return {"CAST(" + a.sql + " AS REAL)", Type::Number};
        if (e.castType == "INTEGER")
            return {"CAST(" + a.sql + " AS INTEGER)", Type::Number};
        if (e.castType == "DATE") {
            if (e.args[0]->kind == Expr::Text)
                return asDate(*e.args[0], a);
            return {"foc_date(" + a.sql + ")", Type::Date};
        }
        std::string t = a.type == Type::Date   ? "foc_dmy(" + a.sql + ")"
                        : a.type == Type::Text ? a.sql
                                               : "foc_str(" + a.sql + ")";
        if (e.castLength > 0)
            t = "substr(" + t + ", 1, " + std::to_string(e.castLength) + ")";
        return {t, Type::Text};
    }
    }
    fail("Unsupported expression", e.pos, e.text);
}

} // namespace focaris::sql
