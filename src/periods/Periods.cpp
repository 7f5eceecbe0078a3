// The working-month list operations behind "Perioada in lucru" and "Adaugare Luna".
#include "periods/Periods.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/TableLock.h"
#include "core/Tables.h"
#include "core/Ui.h"
#include "periods/MonthList.h"
#include "periods/WorkingMonth.h"
#include "safety/Backup.h"

namespace focaris::periods {

PeriodList OpenPeriodList()
{
    PeriodList list;
    list.months = ReadMonthList();
    list.selected = static_cast<int>(list.months.indexOf(WorkingMonth()));
    return list;
}

std::optional<Refusal> AddListedMonth(PeriodList &list, const QString &month)
{
    if (list.months.contains(month))
        return Refusal{QStringLiteral("Luna aleasa exista deja!"), QStringLiteral("Luna")};
    list.months.prepend(month);
    list.selected = 0;
    ChangeWorkingMonth(month);
    return std::nullopt;
}

DeleteOutcome DeleteListedMonth(Ui &ui, PeriodList &list, int index)
{
    DeleteOutcome out;
    // The month is taken from the entry given by the caller, the one selected when the
    // button was pressed, and kept in a local copy: whatever the list shows while the
    // questions are open, that month is the one deleted.
    if (list.months.isEmpty() || index < 0 || index >= list.months.size()) {
        out.refusal = Refusal{QStringLiteral("Nu mai aveti ce sterge!"), QStringLiteral("Sterge")};
        return out;
    }
    const QString month = list.months[index];
    const QString title = QStringLiteral("Stergere luna");
    if (ui.message(title,
                   QStringLiteral("Doriti sa sterg luna ") + month + QStringLiteral("\rcu toate cererile aferente?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return out;
    if (ui.message(title,
                   QStringLiteral("Daca aveti cereri pe luna aceasta,\rLE STERG DE TOT DE TOT !!!\rStergem totusi ?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return out;
    // A dated copy of the data folder first, so that a wrong click can be undone with a
    // restore; without it nothing is deleted (the failure was already shown).
    // The applications' write lock first: the saved copy and the deletion then see the same
    // rows, and no save of another computer falls between them.
    TableWriteLock lock(&ui);
    out.savedTo = SaveBeforeDestroying(ui);
    if (out.savedTo.isEmpty())
        return out;

    // The rows go before the list changes: should a statement fail, the month is still
    // listed and the deletion can be asked again.
    const QString code = QString::number(MonthCode(month));
    const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
    // The applications go first and their members after them: a process ended between
    // the two leaves only members without an application, which the next start drops.
    out.applications =
        ExecSql(QStringList{QStringLiteral("DELETE FROM ") + cereri, QStringLiteral("WHERE LUNACRT=") + code});
    out.members = DropMembersWithoutApplication();

    list.months.removeAt(index);
    WriteMonthList(list.months);
    list.selected = list.months.isEmpty() ? -1 : 0;
    ChangeWorkingMonth(list.selectedMonth());
    out.deleted = true;
    ui.message(title,
               QStringLiteral("\rLuna ") + month +
                   QStringLiteral(" a fost stearsa.\rDatele de dinainte de stergere sunt salvate in\r") + out.savedTo,
               MessageKind::Information, MessageButton::OK);
    return out;
}

void KeepPeriodList(const PeriodList &list)
{
    WriteMonthList(list.months);
    ChangeWorkingMonth(list.selectedMonth());
}

std::optional<Refusal> CheckNewMonth(const QString &month, const QString &yearText, int currentYear, QString &monthText)
{
    bool ok = false;
    const int year = yearText.trimmed().toInt(&ok);
    if (!ok || year < 2006 || year > currentYear + 1)
        return Refusal{QStringLiteral("Anul este scris gresit!"), QStringLiteral("Anul")};
    monthText = month + QStringLiteral(".") + yearText;
    return std::nullopt;
}

} // namespace focaris::periods
