// Composition of the engine's error text.
#include "engines/localsql/SqlError.h"

namespace focaris::sql {

SqlError::SqlError(const std::string &message, const std::string &statement, long position, const std::string &token)
    : std::runtime_error(compose(message, statement, position, token)),
      message_(message),
      statement_(statement),
      position_(position),
      token_(token)
{
}

SqlError SqlError::withStatement(const std::string &statement) const
{
    if (!statement_.empty())
        return *this;
    return SqlError(message_, statement, position_, token_);
}

std::string SqlError::compose(const std::string &message, const std::string &statement, long position,
                              const std::string &token)
{
    std::string text = message;
    if (position >= 0) {
        // Line and column count from 1, as a person reading the statement counts them.
        long line = 1, column = 1;
        for (long i = 0; i < position && i < static_cast<long>(statement.size()); ++i) {
            if (statement[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        text += " (line " + std::to_string(line) + ", column " + std::to_string(column);
        text += token.empty() ? std::string(", at the end") : ", at \"" + token + "\"";
        text += ")";
    }
    if (!statement.empty())
        text += "\nStatement:\n" + statement;
    return text;
}

} // namespace focaris::sql
