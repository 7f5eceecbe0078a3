// The working month kept in step in its three places.
#include "periods/WorkingMonth.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "core/Ui.h"

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
    if (WorkingMonth().size() >= 7)
        return true;
    ui.message(title, QStringLiteral("Alegeti mai intai o luna de la butonul Perioada!"), MsgError, BtnOK);
    return false;
}

} // namespace focaris::periods
