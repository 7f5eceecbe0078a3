// The lists and checks of the month choosers.
#include "periods/MonthChoosers.h"

#include "core/Context.h"
#include "periods/MonthList.h"

namespace focaris::periods {

QStringList MonthsForChooser()
{
    QStringList months = ReadMonthList();
    months.removeAll(WorkingMonth());
    return months;
}

std::optional<Refusal> CheckChosenMonth(const QString &monthText)
{
    if (monthText.trimmed().isEmpty())
        return Refusal{QStringLiteral("Alegeti mai intai o luna!"), QStringLiteral("Luna")};
    return std::nullopt;
}

const QVector<PaymentMonth> &PaymentMonths()
{
    static const QVector<PaymentMonth> months{{QStringLiteral("Noiembrie"), QStringLiteral("11")},
                                              {QStringLiteral("Decembrie"), QStringLiteral("12")},
                                              {QStringLiteral("Ianuarie"), QStringLiteral("01")},
                                              {QStringLiteral("Februarie"), QStringLiteral("02")},
                                              {QStringLiteral("Martie"), QStringLiteral("03")}};
    return months;
}

std::optional<Refusal> CheckPaymentYear(const QString &yearText, int currentYear, int &year)
{
    bool ok = false;
    const int typed = yearText.trimmed().toInt(&ok);
    if (!ok || typed < 2010 || typed > currentYear)
        return Refusal{QStringLiteral("An incorect!"), QStringLiteral("Anul")};
    year = typed;
    return std::nullopt;
}

} // namespace focaris::periods
