// Turns letters into capitals as they are typed into a line edit, as the name fields of
// the administration window and the new-password field do.
#pragma once

#include <QValidator>

namespace focaris::gui {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace focaris::gui
