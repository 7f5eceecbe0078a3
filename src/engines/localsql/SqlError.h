// The exception every failed statement raises: the engine's message, where in the
// statement it failed (byte offset and the token found there) and the statement itself,
// so that the person reading the error report can see which statement went wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace focaris::sql {

class SqlError : public std::runtime_error {
public:
    // position: byte offset into the statement, or -1 when the failure has no place in
    // the text (a missing file, a value that does not fit).
    SqlError(const std::string &message, const std::string &statement = {}, long position = -1,
             const std::string &token = {});

    const std::string &message() const { return message_; }
    const std::string &statement() const { return statement_; }
    long position() const { return position_; }
    const std::string &token() const { return token_; }

    // The same error with the statement attached (errors raised deep down know the
    // message but not the statement).
    SqlError withStatement(const std::string &statement) const;

private:
    static std::string compose(const std::string &message, const std::string &statement, long position,
                               const std::string &token);
    std::string message_;
    std::string statement_;
    long position_;
    std::string token_;
};

} // namespace focaris::sql
