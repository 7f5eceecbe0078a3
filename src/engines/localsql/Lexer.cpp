// Tokenizer of the dialect.
#include "engines/localsql/Lexer.h"

#include "engines/common/Codepage.h"
#include "engines/localsql/SqlError.h"

namespace focaris::sql {

bool Token::isWord(const char *word) const
{
    return kind == Ident && text::equalsIgnoreAsciiCase(text, word);
}

namespace {

bool identStart(unsigned char c)
{
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool identChar(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80;
}

} // namespace

std::vector<Token> tokenize(const std::string &s)
{
    std::vector<Token> out;
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        Token t;
        t.pos = static_cast<long>(i);
        if (c == '"') {
            const std::size_t end = s.find('"', i + 1);
            if (end == std::string::npos)
                throw SqlError("Unterminated text constant", s, t.pos, "\"");
            t.kind = Token::DoubleQuoted;
            t.text = s.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '\'') {
            t.kind = Token::SingleQuoted;
            std::size_t j = i + 1;
            for (;;) {
                if (j >= n)
                    throw SqlError("Unterminated text constant", s, t.pos, "'");
                if (s[j] == '\'') {
                    if (j + 1 < n && s[j + 1] == '\'') {
                        t.text += '\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.text += s[j++];
            }
            i = j + 1;
        } else if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            t.kind = Token::Number;
            std::size_t j = i;
            while (j < n && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            if (j < n && s[j] == '.') {
                ++j;
                while (j < n && std::isdigit(static_cast<unsigned char>(s[j])))
                    ++j;
            }
            if (j < n && (s[j] == 'e' || s[j] == 'E')) {
                std::size_t k = j + 1;
                if (k < n && (s[k] == '+' || s[k] == '-'))
                    ++k;
                if (k < n && std::isdigit(static_cast<unsigned char>(s[k]))) {
                    while (k < n && std::isdigit(static_cast<unsigned char>(s[k])))
                        ++k;
                    j = k;
                }
            }
            if (j < n && identStart(static_cast<unsigned char>(s[j])))
                throw SqlError("Malformed number", s, t.pos, s.substr(i, j - i + 1));
            t.text = s.substr(i, j - i);
            i = j;
        } else if (identStart(c)) {
            t.kind = Token::Ident;
            std::size_t j = i;
            while (j < n && identChar(static_cast<unsigned char>(s[j])))
                ++j;
            t.text = s.substr(i, j - i);
            i = j;
        } else {
            t.kind = Token::Symbol;
            const std::string two = s.substr(i, 2);
            if (two == "<>" || two == "<=" || two == ">=" || two == "!=" || two == "||") {
                t.text = two == "!=" ? "<>" : two;
                i += 2;
            } else if (std::string("=<>+-*/(),.;").find(static_cast<char>(c)) != std::string::npos) {
                t.text = std::string(1, static_cast<char>(c));
                ++i;
            } else {
                throw SqlError("Unexpected character", s, t.pos, std::string(1, static_cast<char>(c)));
            }
        }
        out.push_back(std::move(t));
    }
    Token end;
    end.kind = Token::End;
    end.pos = static_cast<long>(n);
    out.push_back(end);
    return out;
}

} // namespace focaris::sql
