// The check of the months given on the command line.
#include "tool/ToolMonths.h"

#include "core/Months.h"
#include "periods/WorkingMonth.h"

#include <QString>

namespace focaris::tool {

int ListedMonthCode(const std::string &text)
{
    const QString month = QString::fromStdString(text).trimmed();
    const QString refusal = periods::ListedMonthRefusal(month);
    if (!refusal.isEmpty())
        throw Refusal("month", refusal.toStdString());
    return MonthCode(month);
}

} // namespace focaris::tool
