// The months named on the command line of focaris-tool (--month, --from, --other): read
// as the program reads a month and taken only when the data folder's "Luni.lst" lists
// them, as the program's month choosers only offer listed months.
#pragma once

#include <stdexcept>
#include <string>

namespace focaris::tool {

// A refused entry raised inside a command; main prints it as "refused: FIELD: MESSAGE"
// on standard error and ends with status 1.
struct Refusal : std::runtime_error {
    Refusal(const std::string &field, const std::string &message) : std::runtime_error(message), field(field) {}
    std::string field;
};

// The code of `text` once the data folder is set; throws Refusal (field "month") with
// the program's message when the text is not a month or not a listed one.
int ListedMonthCode(const std::string &text);

} // namespace focaris::tool
