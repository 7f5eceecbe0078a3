// Splits a statement of the program's dialect into tokens. Texts come in double quotes
// (table paths and constants alike) or in single quotes (the filters use them); nothing
// inside them is escaped, except that a doubled single quote inside single quotes stands
// for one quote.
#pragma once

#include <string>
#include <vector>

namespace focaris::sql {

struct Token {
    enum Kind { Ident, DoubleQuoted, SingleQuoted, Number, Symbol, End };
    Kind kind = End;
    std::string text; // identifier as written, text without quotes, number, symbol
    long pos = 0;     // byte offset in the statement

    bool is(const char *symbol) const { return kind == Symbol && text == symbol; }
    // Keyword test without regard to case.
    bool isWord(const char *word) const;
    bool isText() const { return kind == DoubleQuoted || kind == SingleQuoted; }
};

// Throws SqlError on an unterminated text or a character that belongs to no token.
std::vector<Token> tokenize(const std::string &statement);

} // namespace focaris::sql
