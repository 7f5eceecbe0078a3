// The working month kept in step in its three places.
#include "periods/WorkingMonth.h"

#include "core/Context.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/Ui.h"
#include "periods/MonthList.h"

namespace focaris::periods {
namespace {

std::function<void(const QString &)> &listener()
{
    static std::function<void(const QString &)> shown;
    return shown;
}

} // namespace

void ChangeWorkingMonth(const QString &monthText)
{
    WriteSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"), monthText);
    SetWorkingMonth(monthText);
    if (listener())
        listener()(monthText);
}

void SetWorkingMonthListener(std::function<void(const QString &)> shown)
{
    listener() = std::move(shown);
}

bool WorkingMonthChosen(Ui &ui, const QString &title)
{
    if (WorkingMonth().size() >= 7 && WorkingMonthCode() != 0)
        return true;
    ui.message(title, QString::fromLatin1(kChooseMonthFirst), MessageKind::Error, MessageButton::OK);
    return false;
}

QString ListedMonthRefusal(const QString &monthText)
{
    const int code = MonthCode(monthText);
    if (code == 0)
        return QString::fromLatin1(kChooseMonthFirst);
    for (const QString &listed : ReadMonthList())
        if (MonthCode(listed) == code)
            return {};
    return QString::fromLatin1(kMonthNotListed);
}

} // namespace focaris::periods
