// focaris-tool months: the working months of a data folder, as the window "Perioada in
// lucru" keeps them.
//   months list FOLDER                  one month a line, the working month marked "*"
//   months add FOLDER MM.YYYY           added, made the working month and kept in the list
//   months select FOLDER MM.YYYY        a listed month made the working month
//   months delete FOLDER MM.YYYY --yes  the month deleted with its applications and members
#include "tool/Command.h"
#include "tool/PeriodsConsole.h"

#include "core/Context.h"
#include "periods/Periods.h"

#include <QDate>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

const char *kUsage = "months list|add|select|delete FOLDER [MM.YYYY] [--yes] [--month MM.YYYY]";

int runMonths(const Args &all)
{
    Args args = all;
    const bool yes = takeFlag(args, "--yes");
    const std::string month = takeOption(args, "--month");
    if (args.size() < 2)
        throw std::runtime_error(std::string("usage: ") + kUsage);
    const std::string verb = args[0];
    UsePeriodsFolder(args[1], month);
    PeriodsConsole ui(yes);
    periods::PeriodList list = periods::OpenPeriodList();

    if (verb == "list") {
        expectCount(args, 2, "months list FOLDER");
        for (const QString &m : list.months)
            std::printf("%s%s\n", m == WorkingMonth() ? "*" : "", qPrintable(m));
        return 0;
    }
    expectCount(args, 3, kUsage);
    const QString text = QString::fromStdString(args[2]);
    if (verb == "add") {
        // The dialog offers the months 01..12 and a typed year.
        const QStringList parts = text.split(QLatin1Char('.'));
        const int m = parts.size() == 2 && parts[0].size() == 2 ? parts[0].toInt() : 0;
        if (m < 1 || m > 12)
            return Refused(QStringLiteral("Luna"), QStringLiteral("Luna este scrisa gresit!"));
        QString added;
        if (auto refusal = periods::CheckNewMonth(parts[0], parts[1], QDate::currentDate().year(), added))
            return Refused(refusal->field, refusal->message);
        if (auto refusal = periods::AddListedMonth(list, added))
            return Refused(refusal->field, refusal->message);
        periods::KeepPeriodList(list);
        std::printf("%s\n", qPrintable(added));
        return 0;
    }
    const int index = static_cast<int>(list.months.indexOf(text));
    if (verb == "select") {
        if (index < 0)
            return Refused(QStringLiteral("Luna"), QStringLiteral("Luna aleasa nu exista in lista!"));
        list.selected = index;
        periods::KeepPeriodList(list);
        return 0;
    }
    if (verb == "delete") {
        if (index < 0)
            return Refused(QStringLiteral("Luna"), QStringLiteral("Luna aleasa nu exista in lista!"));
        const periods::DeleteOutcome out = periods::DeleteListedMonth(ui, list, index);
        if (out.refusal)
            return Refused(out.refusal->field, out.refusal->message);
        if (!out.deleted)
            return 1;
        std::printf("applications=%lld members=%lld\nsaved=%s\n", static_cast<long long>(out.applications),
                    static_cast<long long>(out.members), qPrintable(out.savedTo));
        return 0;
    }
    throw std::runtime_error(std::string("usage: ") + kUsage);
}

Registration r("months",
               "months list|add|select|delete FOLDER [MM.YYYY] [--yes] [--month MM.YYYY]   the working months",
               runMonths);

} // namespace
} // namespace focaris::tool
