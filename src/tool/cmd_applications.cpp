// focaris-tool applications: the list of the working month and its month-wide operations,
// the same operations the list window runs.
//   applications list FOLDER [--search TEXT] [--sort COLUMN]
//   applications copy FOLDER --from MM.YYYY
//   applications remove-also-in FOLDER --other MM.YYYY
//   applications number FOLDER --from A --to B --start D --date DD.MM.YYYY
//                      --category all|approved|modified|rejected [--clear-others] [--same-number]
//   applications set-date FOLDER --from A --to B --date DD.MM.YYYY
//   applications set-months FOLDER K
//   applications recalc FOLDER
// Every command takes --month MM.YYYY (else the working month of the folder's settings)
// and --yes (answers "&Da" to every question; without it every question gets "&Nu").
#include "tool/Command.h"
#include "tool/ToolMonths.h"

#include "admin/AidParameters.h"
#include "applications/ApplicationList.h"
#include "applications/MonthCopy.h"
#include "applications/MonthRecalculation.h"
#include "applications/Numbering.h"
#include "applications/Removals.h"
#include "core/ChangeLog.h"
#include "core/Context.h"
#include "core/Formats.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "engines/dbase/DbfDump.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace focaris::tool {
namespace {

// The terminal as the person: messages as "TITLE: TEXT" lines, questions answered from
// --yes, refusals as "refused: FIELD: MESSAGE".
class ToolUi : public NullUi {
public:
    bool yes = false;
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        const QString line = title + QStringLiteral(": ") + text.simplified();
        std::fprintf(kind == MessageKind::Information ? stdout : stderr, "%s\n", qPrintable(line));
        if (buttons & MessageButton::Da)
            return yes ? MessageResult::Da : MessageResult::Nu;
        return MessageResult::OK;
    }
    void fieldHint(const QString &text, QObject *) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

// The folder, the working month and a scratch temporary folder for the run.
struct Session {
    ToolUi ui;
    std::unique_ptr<QTemporaryDir> scratch;
    int month = 0;

    Session(Args &args)
    {
        ui.yes = takeFlag(args, "--yes");
        const std::string month = takeOption(args, "--month");
        if (args.empty())
            throw std::runtime_error("usage: the data folder is missing");
        const QString folder = QDir(QString::fromStdString(args[0])).absolutePath();
        args.erase(args.begin());
        if (!QDir(folder).exists())
            throw std::runtime_error("folder does not exist: " + folder.toStdString());
        scratch = std::make_unique<QTemporaryDir>(scratchTemplate());
        WorkingContext &ctx = Context();
        ctx.dataFolder = folder;
        ctx.tempFolder = scratch->path();
        if (ctx.programFolder.isEmpty())
            ctx.programFolder = scratch->path();
        if (ctx.operatorName.isEmpty())
            ctx.operatorName = ReadOperatorName();
        // A month named on the command line must be a listed one; the folder's own working
        // month only has to read as a month (needMonth refuses it otherwise).
        if (!month.empty()) {
            this->month = ListedMonthCode(month);
        } else {
            const QString text = ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU")).trimmed();
            this->month = text.size() >= 7 ? MonthCode(text) : 0;
        }
    }
    // The operations need a working month, as the windows do.
    bool needMonth()
    {
        if (month > 0)
            return true;
        refuse(QStringLiteral("month"), QStringLiteral("Alegeti mai intai o luna de la butonul Perioada!"));
        return false;
    }
    static void refuse(const QString &field, const QString &message)
    {
        std::fprintf(stderr, "refused: %s: %s\n", qPrintable(field), qPrintable(message));
    }
    // Prints what the operation did; the exit status.
    static int report(const Outcome &o, bool withMembers = false)
    {
        if (o.refused()) {
            refuse(o.field, o.message);
            return 1;
        }
        if (!o.done)
            return 1;
        std::printf("rows=%lld\n", static_cast<long long>(o.rows));
        if (withMembers)
            std::printf("members=%lld\n", static_cast<long long>(o.members));
        return 0;
    }
};

// The text of the other month of a copy or a removal, checked by ListedMonthCode once
// the data folder is set.
std::string monthOption(Args &args, const char *name, const char *usage)
{
    const std::string text = takeOption(args, name);
    if (text.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + usage);
    return text;
}

qint64 numberOption(Args &args, const char *name)
{
    const std::string text = takeOption(args, name, "0");
    bool ok = false;
    const qint64 n = QString::fromStdString(text).toLongLong(&ok);
    if (!ok)
        throw std::runtime_error(std::string("not a whole number: ") + name + " " + text);
    return n;
}

int listCommand(const Args &given)
{
    Args args = given;
    const char *usage = "applications list FOLDER [--search TEXT] [--sort COLUMN] [--month MM.YYYY]";
    const QString search = QString::fromStdString(takeOption(args, "--search"));
    const QString sort = QString::fromStdString(takeOption(args, "--sort", "SUBSEMN")).toUpper();
    Session s(args);
    expectCount(args, 0, usage);
    if (!s.needMonth())
        return 1;
    ApplicationList list;
    list.open(s.month, sort);
    list.setSearch(search);
    const auto &columns = ListColumns();
    std::string out;
    for (std::size_t c = 0; c < columns.size(); ++c)
        out += (c ? "," : "") + dbf::csvField(columns[c].column.toStdString());
    out += '\n';
    for (int r = 0; r < list.count(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            out += (c ? "," : "") + dbf::csvField(list.text(r, static_cast<int>(c)).toStdString());
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int copyCommand(const Args &given)
{
    Args args = given;
    const char *usage = "applications copy FOLDER --from MM.YYYY [--month MM.YYYY]";
    const std::string fromText = monthOption(args, "--from", usage);
    Session s(args);
    const int from = ListedMonthCode(fromText);
    expectCount(args, 0, usage);
    return s.needMonth() ? Session::report(CopyFromMonth(s.ui, from, s.month), true) : 1;
}

int removeCommand(const Args &given)
{
    Args args = given;
    const char *usage = "applications remove-also-in FOLDER --other MM.YYYY [--month MM.YYYY]";
    const std::string otherText = monthOption(args, "--other", usage);
    Session s(args);
    const int other = ListedMonthCode(otherText);
    expectCount(args, 0, usage);
    if (!s.needMonth())
        return 1;
    // Without an automatic save folder the safety archive lands in the scratch folder,
    // which must then outlive the command.
    s.scratch->setAutoRemove(false);
    const Outcome o = RemoveAlsoInMonth(s.ui, other, s.month);
    const int rc = Session::report(o, true);
    if (!o.archive.isEmpty())
        std::printf("saved=%s\n", qPrintable(o.archive));
    if (!o.archive.startsWith(s.scratch->path()))
        QDir(s.scratch->path()).removeRecursively();
    return rc;
}

DispositionCategory categoryOption(const std::string &text)
{
    if (text == "all")
        return DispositionCategory::All;
    if (text == "approved")
        return DispositionCategory::Approved;
    if (text == "modified")
        return DispositionCategory::ApprovedModified;
    if (text == "rejected")
        return DispositionCategory::Rejected;
    throw std::runtime_error("--category must be all, approved, modified or rejected");
}

int numberCommand(const Args &given)
{
    Args args = given;
    const char *usage = "applications number FOLDER --from A --to B --start D --date DD.MM.YYYY "
                        "--category all|approved|modified|rejected [--clear-others] [--same-number] [--month MM.YYYY]";
    NumberingRequest req;
    req.from = numberOption(args, "--from");
    req.to = numberOption(args, "--to");
    req.start = numberOption(args, "--start");
    req.date = ParseDate(QString::fromStdString(takeOption(args, "--date")));
    req.category = categoryOption(takeOption(args, "--category", "all"));
    req.clearOthers = takeFlag(args, "--clear-others");
    req.sameNumber = takeFlag(args, "--same-number");
    Session s(args);
    expectCount(args, 0, usage);
    if (!s.needMonth())
        return 1;
    const Outcome o = NumberDispositions(s.ui, s.month, req);
    // The list writes this entry whenever its numbering window closes.
    if (!o.refused())
        WriteLog(QStringLiteral("Numerotare Dispozitii."));
    return Session::report(o);
}

int setDateCommand(const Args &given)
{
    Args args = given;
    const char *usage = "applications set-date FOLDER --from A --to B --date DD.MM.YYYY [--month MM.YYYY]";
    const qint64 from = numberOption(args, "--from"), to = numberOption(args, "--to");
    const QDate date = ParseDate(QString::fromStdString(takeOption(args, "--date")));
    Session s(args);
    expectCount(args, 0, usage);
    if (!s.needMonth())
        return 1;
    const Outcome o = SetApplicationDates(s.ui, s.month, from, to, date);
    if (!o.refused())
        WriteLog(QStringLiteral("Modificare Data Cereri."));
    return Session::report(o);
}

int setMonthsCommand(const Args &given)
{
    Args args = given;
    const char *usage = "applications set-months FOLDER K";
    Session s(args);
    expectCount(args, 1, usage);
    bool ok = false;
    const int k = QString::fromStdString(args[0]).toInt(&ok);
    if (!s.needMonth())
        return 1;
    return Session::report(ChangeMonths(s.ui, s.month, ok ? k : 0));
}

int recalcCommand(const Args &given)
{
    Args args = given;
    Session s(args);
    expectCount(args, 0, "applications recalc FOLDER");
    if (!s.needMonth())
        return 1;
    return Session::report(RecalculateMonth(s.ui, s.month, LoadAidParameters()));
}

Registration rList(
    "applications list",
    "applications list FOLDER [--search TEXT] [--sort COLUMN] [--month MM.YYYY]   the month's list as CSV",
    listCommand);
Registration rCopy(
    "applications copy",
    "applications copy FOLDER --from MM.YYYY [--month MM.YYYY]   copy the continuing applications of a month",
    copyCommand);
Registration rRemove(
    "applications remove-also-in",
    "applications remove-also-in FOLDER --other MM.YYYY [--month MM.YYYY]   remove the applicants also in that month",
    removeCommand);
Registration rNumber(
    "applications number",
    "applications number FOLDER --from A --to B --start D --date DD.MM.YYYY --category all|approved|modified|rejected [--clear-others] [--same-number]",
    numberCommand);
Registration rSetDate("applications set-date", "applications set-date FOLDER --from A --to B --date DD.MM.YYYY",
                      setDateCommand);
Registration rSetMonths(
    "applications set-months",
    "applications set-months FOLDER K [--month MM.YYYY]   every application of the month gets K months",
    setMonthsCommand);
Registration rRecalc(
    "applications recalc",
    "applications recalc FOLDER [--month MM.YYYY]   recalculate the month with the parameters in force", recalcCommand);

} // namespace
} // namespace focaris::tool
