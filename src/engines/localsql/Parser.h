// Recursive-descent parser of the dialect. Precedence, lowest first: OR, AND, NOT,
// comparisons (= <> < <= > >= IS LIKE IN BETWEEN), + and -, * and /, unary minus.
// Anything outside the supported forms is an error naming the token where it failed.
#pragma once

#include "engines/localsql/Ast.h"

#include <string>

namespace focaris::sql {

// Throws SqlError.
Statement parseStatement(const std::string &text);

} // namespace focaris::sql
