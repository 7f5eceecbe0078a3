// The working month: its text is kept in the working context, in "VARIABILE"/"LUNA_LUCRU"
// of the shared settings file and on the main window's label, always together. Also the
// one check that the month-wide operations make before they start.
#pragma once

#include <QString>

#include <functional>

namespace focaris {
class Ui;
}

namespace focaris::periods {

// Makes `monthText` (empty for none) the working month: the settings file, the context,
// and the label through the listener below.
void ChangeWorkingMonth(const QString &monthText);

// Who shows the working month (the main window's label); called by ChangeWorkingMonth.
// An empty function stops the notices.
void SetWorkingMonthListener(std::function<void(const QString &)> listener);

// The guard of the month-wide operations: when the working month has fewer than 7
// characters or does not read as a month (MonthCode 0), shows "Alegeti mai intai o luna
// de la butonul Perioada!" (error) under `title` and returns false; otherwise returns
// true and shows nothing.
bool WorkingMonthChosen(Ui &ui, const QString &title);

inline constexpr const char *kChooseMonthFirst = "Alegeti mai intai o luna de la butonul Perioada!";
inline constexpr const char *kMonthNotListed = "Luna aleasa nu exista in lista!";

// A month named from outside the windows (the tool's options), which only the month
// choosers give in the program: empty when `monthText` reads as a month and is listed in
// "Luni.lst"; otherwise the message that refuses it.
QString ListedMonthRefusal(const QString &monthText);

} // namespace focaris::periods
