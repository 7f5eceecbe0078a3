// Parser of the dialect: tokens in, statement tree out.
#include "engines/localsql/Parser.h"

#include "engines/common/Codepage.h"
#include "engines/localsql/Lexer.h"
#include "engines/localsql/SqlError.h"

#include <set>

namespace focaris::sql {

namespace {

// Words that end an expression or a table reference and so can never be an alias.
const std::set<std::string> kReserved = {
    "SELECT", "FROM",   "WHERE",  "GROUP", "BY",    "HAVING",  "ORDER",  "ASC",    "DESC", "AND",      "OR",
    "NOT",    "IN",     "IS",     "NULL",  "LIKE",  "BETWEEN", "EXISTS", "AS",     "ON",   "JOIN",     "INNER",
    "LEFT",   "RIGHT",  "OUTER",  "FULL",  "CROSS", "UNION",   "INTO",   "VALUES", "SET",  "DISTINCT", "INSERT",
    "UPDATE", "DELETE", "CREATE", "ALTER", "DROP",  "TABLE",   "ADD",    "CAST",   "ALL"};

class Parser {
public:
    explicit Parser(const std::string &text) : text_(text), toks_(tokenize(text)) {}

    Statement statement()
    {
        Statement st;
        if (peekWord("SELECT")) {
            st.kind = Statement::SelectStmt;
            st.select = select();
        } else if (acceptWord("INSERT")) {
            st.kind = Statement::Insert;
            expectWord("INTO");
            st.table = tableRef(false);
            if (peek().is("(") && !peekWordAt(1, "SELECT")) {
                next();
                do
                    st.columns.push_back(identifier("column name"));
                while (accept(","));
                expect(")");
            }
            if (acceptWord("VALUES")) {
                do {
                    expect("(");
                    std::vector<ExprPtr> row;
                    do
                        row.push_back(expr());
                    while (accept(","));
                    expect(")");
                    st.values.push_back(std::move(row));
                } while (accept(","));
            } else if (peekWord("SELECT")) {
                st.select = select();
            } else if (peek().is("(") && peekWordAt(1, "SELECT")) {
                next();
                st.select = select();
                expect(")");
            } else {
                fail("Expected VALUES or SELECT");
            }
        } else if (acceptWord("UPDATE")) {
            st.kind = Statement::Update;
            st.table = tableRef(true);
            expectWord("SET");
            do {
                std::string col = identifier("column name");
                // A qualified target (B.NAME) names the updated table's column.
                if (accept("."))
                    col = identifier("column name");
                expect("=");
                st.assignments.emplace_back(col, expr());
            } while (accept(","));
            if (acceptWord("WHERE"))
                st.where = expr();
        } else if (acceptWord("DELETE")) {
            st.kind = Statement::Delete;
            expectWord("FROM");
            st.table = tableRef(true);
            if (acceptWord("WHERE"))
                st.where = expr();
        } else if (acceptWord("CREATE")) {
            st.kind = Statement::CreateTable;
            expectWord("TABLE");
            st.table = tableRef(false);
            expect("(");
            do
                st.addColumns.push_back(columnDef());
            while (accept(","));
            expect(")");
        } else if (acceptWord("ALTER")) {
            st.kind = Statement::AlterTable;
            expectWord("TABLE");
            st.table = tableRef(false);
            do {
                if (acceptWord("ADD")) {
                    acceptWord("COLUMN");
                    st.addColumns.push_back(columnDef());
                } else if (acceptWord("DROP")) {
                    acceptWord("COLUMN");
                    st.dropColumns.push_back(identifier("column name"));
                } else {
                    fail("Expected ADD or DROP");
                }
            } while (accept(","));
        } else if (acceptWord("DROP")) {
            st.kind = Statement::DropTable;
            expectWord("TABLE");
            st.table = tableRef(false);
        } else {
            fail("Expected SELECT, INSERT, UPDATE, DELETE, CREATE, ALTER or DROP");
        }
        accept(";");
        if (peek().kind != Token::End)
            fail("Unexpected text after the end of the statement");
        return st;
    }

private:
    const Token &peek(std::size_t ahead = 0) const
    {
        const std::size_t i = std::min(pos_ + ahead, toks_.size() - 1);
        return toks_[i];
    }
    const Token &next()
    {
        const Token &t = toks_[pos_];
        if (pos_ + 1 < toks_.size())
            ++pos_;
        return t;
    }
    bool peekWord(const char *w) const { return peek().isWord(w); }
    bool peekWordAt(std::size_t ahead, const char *w) const { return peek(ahead).isWord(w); }
    bool accept(const char *sym)
    {
        if (peek().is(sym)) {
            next();
            return true;
        }
        return false;
    }
    bool acceptWord(const char *w)
    {
        if (peek().isWord(w)) {
            next();
            return true;
        }
        return false;
    }
    [[noreturn]] void fail(const std::string &message) const
    {
        const Token &t = peek();
        std::string shown = t.text;
        if (t.kind == Token::DoubleQuoted)
            shown = "\"" + t.text + "\"";
        else if (t.kind == Token::SingleQuoted)
            shown = "'" + t.text + "'";
        throw SqlError(message, text_, t.pos, shown);
    }
    void expect(const char *sym)
    {
        if (!accept(sym))
            fail(std::string("Expected \"") + sym + "\"");
    }
    void expectWord(const char *w)
    {
        if (!acceptWord(w))
            fail(std::string("Expected ") + w);
    }
    bool isReserved(const Token &t) const
    {
        return t.kind == Token::Ident && kReserved.count(text::asciiUpper(t.text)) > 0;
    }
    std::string identifier(const char *what)
    {
        if (peek().kind != Token::Ident || isReserved(peek()))
            fail(std::string("Expected a ") + what);
        return text::asciiUpper(next().text);
    }

    // A table: a quoted path or a bare name (Cereri or Cereri.dbf), then an optional
    // alias (with or without AS).
    TableRef tableRef(bool allowAlias)
    {
        TableRef ref;
        ref.pos = peek().pos;
        if (peek().isText()) {
            ref.path = next().text;
        } else if (peek().kind == Token::Ident && !isReserved(peek())) {
            ref.path = next().text;
            while (peek().is(".") && peek(1).kind == Token::Ident) {
                next();
                ref.path += "." + next().text;
            }
        } else {
            fail("Expected a table name");
        }
        if (ref.path.empty())
            fail("Empty table name");
        if (allowAlias) {
            if (acceptWord("AS"))
                ref.alias = identifier("table alias");
            else if (peek().kind == Token::Ident && !isReserved(peek()))
                ref.alias = text::asciiUpper(next().text);
        }
        return ref;
    }

    ColumnDef columnDef()
    {
        ColumnDef d;
        d.pos = peek().pos;
        d.name = identifier("column name");
        if (d.name.size() > 10)
            throw SqlError("Column name longer than 10 characters", text_, d.pos, d.name);
        const long typePos = peek().pos;
        const std::string type = identifier("column type");
        auto number = [&]() {
            if (peek().kind != Token::Number || peek().text.find('.') != std::string::npos)
                fail("Expected a whole number");
            return std::stoi(next().text.substr(0, 9));
        };
        if (type == "CHAR" || type == "VARCHAR" || type == "CHARACTER") {
            d.type = 'C';
            d.length = 1;
            if (accept("(")) {
                d.length = number();
                expect(")");
            }
            if (d.length < 1 || d.length > 254)
                throw SqlError("CHAR width must be 1 to 254", text_, typePos, type);
        } else if (type == "DECIMAL" || type == "NUMERIC") {
            d.type = 'N';
            d.length = 10;
            if (accept("(")) {
                d.length = number();
                if (accept(","))
                    d.decimals = number();
                expect(")");
            }
            if (d.length < 1 || d.length > 20 || d.decimals < 0 || d.decimals > 15 ||
                (d.decimals > 0 && d.decimals + 2 > d.length))
                throw SqlError("Invalid DECIMAL size", text_, typePos, type);
        } else if (type == "INTEGER" || type == "SMALLINT") {
            d.type = 'N';
            d.length = type == "INTEGER" ? 11 : 6;
        } else if (type == "FLOAT" || type == "DOUBLE") {
            d.type = 'F';
            d.length = 20;
            d.decimals = 4;
        } else if (type == "DATE") {
            d.type = 'D';
            d.length = 8;
        } else if (type == "BOOLEAN") {
            d.type = 'L';
            d.length = 1;
        } else {
            throw SqlError("Unsupported column type", text_, typePos, type);
        }
        return d;
    }

    std::unique_ptr<Select> select()
    {
        auto sel = std::make_unique<Select>();
        expectWord("SELECT");
        if (acceptWord("DISTINCT"))
            sel->distinct = true;
        else
            acceptWord("ALL");
        do
            sel->items.push_back(selectItem());
        while (accept(","));
        expectWord("FROM");
        FromItem first;
        first.table = tableRef(true);
        sel->from.push_back(std::move(first));
        for (;;) {
            FromItem item;
            if (accept(",")) {
                item.join = FromItem::Comma;
            } else if (acceptWord("INNER")) {
                expectWord("JOIN");
                item.join = FromItem::Inner;
            } else if (acceptWord("JOIN")) {
                item.join = FromItem::Inner;
            } else if (acceptWord("LEFT")) {
                acceptWord("OUTER");
                expectWord("JOIN");
                item.join = FromItem::Left;
            } else if (acceptWord("RIGHT")) {
                acceptWord("OUTER");
                expectWord("JOIN");
                item.join = FromItem::Right;
            } else {
                break;
            }
            item.table = tableRef(true);
            if (item.join != FromItem::Comma) {
                expectWord("ON");
                item.on = expr();
            }
            sel->from.push_back(std::move(item));
        }
        if (acceptWord("WHERE"))
            sel->where = expr();
        if (acceptWord("GROUP")) {
            expectWord("BY");
            do
                sel->groupBy.push_back(expr());
            while (accept(","));
        }
        if (acceptWord("HAVING"))
            sel->having = expr();
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do {
                OrderItem o;
                o.expr = expr();
                if (acceptWord("DESC"))
                    o.desc = true;
                else
                    acceptWord("ASC");
                sel->orderBy.push_back(std::move(o));
            } while (accept(","));
        }
        return sel;
    }

    SelectItem selectItem()
    {
        SelectItem item;
        if (accept("*")) {
            item.star = true;
            return item;
        }
        if (peek().kind == Token::Ident && peek(1).is(".") && peek(2).is("*")) {
            item.star = true;
            item.starOf = identifier("table alias");
            next();
            next();
            return item;
        }
        const long start = peek().pos;
        item.expr = expr();
        const long end = peek().pos;
        item.written = text_.substr(start, end - start);
        while (!item.written.empty() && std::isspace(static_cast<unsigned char>(item.written.back())))
            item.written.pop_back();
        if (acceptWord("AS")) {
            if (peek().isText())
                item.alias = text::asciiUpper(next().text);
            else
                item.alias = identifier("column alias");
        } else if (peek().kind == Token::Ident && !isReserved(peek())) {
            item.alias = text::asciiUpper(next().text);
        }
        return item;
    }

    ExprPtr make(Expr::Kind kind, long pos, std::string text = {})
    {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->pos = pos;
        e->text = std::move(text);
        return e;
    }

    ExprPtr binary(const std::string &op, long pos, ExprPtr a, ExprPtr b)
    {
        auto e = make(Expr::Binary, pos, op);
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    ExprPtr expr() { return orExpr(); }

    ExprPtr orExpr()
    {
        ExprPtr left = andExpr();
        while (peekWord("OR")) {
            const long pos = next().pos;
            left = binary("OR", pos, std::move(left), andExpr());
        }
        return left;
    }

    ExprPtr andExpr()
    {
        ExprPtr left = notExpr();
        while (peekWord("AND")) {
            const long pos = next().pos;
            left = binary("AND", pos, std::move(left), notExpr());
        }
        return left;
    }

    ExprPtr notExpr()
    {
        if (peekWord("NOT") && !peekWordAt(1, "EXISTS")) {
            const long pos = next().pos;
            auto e = make(Expr::Unary, pos, "NOT");
            e->args.push_back(notExpr());
            return e;
        }
        return comparison();
    }

    ExprPtr comparison()
    {
        if (peekWord("EXISTS") || (peekWord("NOT") && peekWordAt(1, "EXISTS"))) {
            const long pos = peek().pos;
            auto e = make(Expr::Exists, pos);
            e->negated = acceptWord("NOT");
            expectWord("EXISTS");
            expect("(");
            e->select = select();
            expect(")");
            return e;
        }
        ExprPtr left = additive();
        for (;;) {
            const Token &t = peek();
            if (t.kind == Token::Symbol && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == "<=" ||
                                            t.text == ">" || t.text == ">=")) {
                const std::string op = t.text;
                const long pos = next().pos;
                left = binary(op, pos, std::move(left), additive());
                continue;
            }
            if (t.isWord("IS")) {
                const long pos = next().pos;
                auto e = make(Expr::IsNull, pos);
                e->negated = acceptWord("NOT");
                expectWord("NULL");
                e->args.push_back(std::move(left));
                left = std::move(e);
                continue;
            }
            bool negated = false;
            std::size_t ahead = 0;
            if (t.isWord("NOT") && (peekWordAt(1, "LIKE") || peekWordAt(1, "IN") || peekWordAt(1, "BETWEEN"))) {
                negated = true;
                ahead = 1;
            }
            if (peekWordAt(ahead, "LIKE")) {
                const long pos = peek(ahead).pos;
                pos_ += ahead + 1;
                auto e = make(Expr::Like, pos);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(additive());
                left = std::move(e);
                continue;
            }
            if (peekWordAt(ahead, "BETWEEN")) {
                const long pos = peek(ahead).pos;
                pos_ += ahead + 1;
                auto e = make(Expr::Between, pos);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(additive());
                expectWord("AND");
                e->args.push_back(additive());
                left = std::move(e);
                continue;
            }
            if (peekWordAt(ahead, "IN")) {
                const long pos = peek(ahead).pos;
                pos_ += ahead + 1;
                expect("(");
                ExprPtr e;
                if (peekWord("SELECT")) {
                    e = make(Expr::InSelect, pos);
                    e->select = select();
                } else {
                    e = make(Expr::InList, pos);
                    ExprPtr first = expr();
                    e->args.push_back(std::move(left));
                    e->args.push_back(std::move(first));
                    while (accept(","))
                        e->args.push_back(expr());
                    left = nullptr;
                }
                expect(")");
                e->negated = negated;
                if (left)
                    e->args.insert(e->args.begin(), std::move(left));
                left = std::move(e);
                continue;
            }
            return left;
        }
    }

    ExprPtr additive()
    {
        ExprPtr left = multiplicative();
        for (;;) {
            if (peek().is("+") || peek().is("-") || peek().is("||")) {
                const std::string op = peek().text;
                const long pos = next().pos;
                left = binary(op, pos, std::move(left), multiplicative());
            } else {
                return left;
            }
        }
    }

    ExprPtr multiplicative()
    {
        ExprPtr left = unary();
        for (;;) {
            if (peek().is("*") || peek().is("/")) {
                const std::string op = peek().text;
                const long pos = next().pos;
                left = binary(op, pos, std::move(left), unary());
            } else {
                return left;
            }
        }
    }

    ExprPtr unary()
    {
        if (peek().is("-") || peek().is("+")) {
            const std::string op = peek().text;
            const long pos = next().pos;
            ExprPtr operand = unary();
            if (op == "+")
                return operand;
            if (operand->kind == Expr::Number && operand->text[0] != '-') {
                operand->text = "-" + operand->text;
                operand->pos = pos;
                return operand;
            }
            auto e = make(Expr::Unary, pos, "-");
            e->args.push_back(std::move(operand));
            return e;
        }
        return primary();
    }

    ExprPtr primary()
    {
        const Token &t = peek();
        if (t.isText()) {
            next();
            return make(Expr::Text, t.pos, t.text);
        }
        if (t.kind == Token::Number) {
            next();
            return make(Expr::Number, t.pos, t.text);
        }
        if (t.is("(")) {
            const long pos = next().pos;
            if (peekWord("SELECT")) {
                auto e = make(Expr::Subquery, pos);
                e->select = select();
                expect(")");
                return e;
            }
            ExprPtr inner = expr();
            expect(")");
            return inner;
        }
        if (t.isWord("NULL")) {
            next();
            return make(Expr::Null, t.pos);
        }
        if (t.isWord("CAST")) {
            next();
            expect("(");
            auto e = make(Expr::Cast, t.pos);
            e->args.push_back(expr());
            expectWord("AS");
            const long typePos = peek().pos;
            std::string type = identifier("type");
            if (type == "FLOAT" || type == "DOUBLE" || type == "NUMERIC" || type == "DECIMAL" || type == "REAL") {
                e->castType = "FLOAT";
                if (accept("(")) { // DECIMAL(p,s): the size does not matter for a value
                    while (!peek().is(")") && peek().kind != Token::End)
                        next();
                    expect(")");
                }
            } else if (type == "INTEGER" || type == "SMALLINT" || type == "INT") {
                e->castType = "INTEGER";
            } else if (type == "CHAR" || type == "VARCHAR" || type == "CHARACTER") {
                e->castType = "CHAR";
                if (accept("(")) {
                    if (peek().kind != Token::Number)
                        fail("Expected a whole number");
                    e->castLength = std::stoi(next().text.substr(0, 6));
                    expect(")");
                }
            } else if (type == "DATE") {
                e->castType = "DATE";
            } else {
                throw SqlError("Unsupported CAST type", text_, typePos, type);
            }
            expect(")");
            return e;
        }
        if (t.kind == Token::Ident && !isReserved(t)) {
            const std::string word = text::asciiUpper(t.text);
            if (peek(1).is("(")) {
                static const std::set<std::string> known = {"COUNT", "SUM",   "MAX",   "MIN",
                                                            "AVG",   "UPPER", "LOWER", "TRIM"};
                if (!known.count(word))
                    throw SqlError("Unknown function", text_, t.pos, t.text);
                next();
                next();
                auto e = make(Expr::Function, t.pos, word);
                if (word == "COUNT" && accept("*")) {
                    e->star = true;
                } else {
                    if (acceptWord("DISTINCT"))
                        e->distinct = true;
                    e->args.push_back(expr());
                }
                expect(")");
                return e;
            }
            next();
            auto e = make(Expr::Column, t.pos, word);
            if (peek().is(".") && peek(1).kind == Token::Ident) {
                next();
                e->qualifier = word;
                e->text = text::asciiUpper(next().text);
            }
            return e;
        }
        fail("Expected an expression");
    }

    const std::string &text_;
    std::vector<Token> toks_;
    std::size_t pos_ = 0;
};

} // namespace

Statement parseStatement(const std::string &text)
{
    return Parser(text).statement();
}

} // namespace focaris::sql
