// focaris-tool report anpis|f2201|treasury|persons|members|risk|persons-dbf: the exports
// for the national agency, the tax agency and the treasury and the office's lists, run on
// a data folder with the working month of its settings (or --month MM.YYYY). Questions
// are answered "Da" with --yes and "Nu" without; --now "DD.MM.YYYY HH:MM" fixes the clock.
// Every file written is printed on its own line.
#include "tool/Command.h"
#include "tool/ToolFolders.h"
#include "tool/ToolMonths.h"

#include "core/Context.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "reports/AnpisExport.h"
#include "reports/ExportCommon.h"
#include "reports/F2201Export.h"
#include "reports/OfficeLists.h"
#include "reports/PersonsDbfExport.h"
#include "reports/TreasuryReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

// The terminal as the person at the keyboard: messages are printed as "TITLE: TEXT",
// questions get the answer of --yes, the folder and file dialogs get --out, and a
// finished workbook is copied to --out.
class ToolUi : public NullUi {
public:
    bool yes = false;
    QString out;
    bool outIsFile = false;

    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        QString t = text;
        t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString line = title + QStringLiteral(": ") + t.simplified();
        std::fprintf(kind == MessageKind::Information ? stdout : stderr, "%s\n", qPrintable(line));
        if (buttons & MessageButton::Da)
            return yes ? MessageResult::Da : MessageResult::Nu;
        return MessageResult::OK;
    }
    void fieldHint(const QString &text, QObject *) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool chooseFolder(const QString &, QString &folder) override
    {
        if (out.isEmpty() || outIsFile)
            return false;
        folder = out;
        return true;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return outIsFile ? out : QString();
    }
    bool openDocument(const QString &path) override
    {
        if (outIsFile && QFileInfo(path).isFile()) {
            QFile in(path);
            if (!in.open(QIODevice::ReadOnly))
                throw std::runtime_error("cannot read " + path.toStdString());
            exports::CommitFile(out, in.readAll());
            opened = out;
        }
        return true;
    }
    QString opened;
};

// A scratch program folder (its Temp holds the engine's scratch files) around the data
// folder given on the command line.
struct ToolSession {
    QTemporaryDir scratch{scratchTemplate()};
    ToolUi ui;
    QDateTime now = QDateTime::currentDateTime();

    ToolSession(Args &args, bool outIsFile)
    {
        ui.yes = takeFlag(args, "--yes");
        ui.out = QString::fromStdString(takeOption(args, "--out"));
        ui.outIsFile = outIsFile;
        const std::string month = takeOption(args, "--month");
        const std::string nowText = takeOption(args, "--now");
        if (!nowText.empty()) {
            now = QDateTime::fromString(QString::fromStdString(nowText), QStringLiteral("dd.MM.yyyy HH:mm"));
            if (!now.isValid())
                throw std::runtime_error("--now needs \"DD.MM.YYYY HH:MM\"");
        }
        if (args.empty())
            throw std::runtime_error("a data folder is needed");
        const QString folder = QDir(QString::fromStdString(args.front())).absolutePath();
        args.erase(args.begin());
        if (!QDir(folder).exists())
            throw std::runtime_error("folder does not exist: " + folder.toStdString());
        if (ui.out.isEmpty())
            throw std::runtime_error("--out is needed");
        ui.out = QDir(ui.out).absolutePath();
        // The program's folders (FOCARIS_HOME or the folder above the data folder), so that
        // exports into its Data and Temp are refused as in the program; scratch files of
        // this run in a temporary folder of its own.
        InitContext(ToolProgramFolder(folder));
        Context().tempFolder = scratch.path();
        QDir().mkpath(TempFolder());
        Context().dataFolder = folder;
        if (!month.empty())
            ListedMonthCode(month);
        SetWorkingMonth(month.empty() ? ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"))
                                      : QString::fromStdString(month));
    }
};

int finish(const exports::ExportResult &r, const ToolUi &ui)
{
    if (r.refused)
        std::fprintf(stderr, "refused: %s: %s\n", qPrintable(r.refused->field),
                     qPrintable(r.refused->message.simplified()));
    if (!r.done)
        return 1;
    if (!ui.opened.isEmpty())
        std::printf("%s\n", qPrintable(ui.opened));
    else
        for (const QString &f : r.files)
            std::printf("%s\n", qPrintable(f));
    return 0;
}

int anpis(const Args &in)
{
    Args args = in;
    ToolSession s(args, false);
    expectCount(args, 0, "report anpis FOLDER --out DIR [--yes] [--month MM.YYYY]");
    return finish(exports::ExportAnpis(s.ui), s.ui);
}

int f2201(const Args &in)
{
    Args args = in;
    ToolSession s(args, false);
    expectCount(args, 0, "report f2201 FOLDER --out DIR [--yes] [--month MM.YYYY] [--now \"DD.MM.YYYY HH:MM\"]");
    return finish(exports::ExportF2201(s.ui, s.now), s.ui);
}

int treasury(const Args &in)
{
    Args args = in;
    exports::TreasuryChoice choice;
    const std::string date = takeOption(args, "--date");
    choice.locality = QString::fromStdString(takeOption(args, "--locality"));
    choice.firstLetter = QString::fromStdString(takeOption(args, "--from", "A"));
    choice.lastLetter = QString::fromStdString(takeOption(args, "--to", "Z"));
    ToolSession s(args, false);
    expectCount(args, 0,
                "report treasury FOLDER --date DD.MM.YYYY --out DIR [--locality L] [--from A] [--to Z] [--yes]");
    choice.transferDate =
        date.empty() ? s.now.date() : QDate::fromString(QString::fromStdString(date), QStringLiteral("dd.MM.yyyy"));
    if (!choice.transferDate.isValid())
        throw std::runtime_error("--date needs DD.MM.YYYY");
    if (!exports::TreasuryReady(s.ui))
        return 1;
    const exports::TreasuryResult r = exports::CreateTreasuryReport(s.ui, choice);
    exports::ExportResult e;
    e.done = r.done;
    e.files = r.files;
    e.refused = r.refused;
    return finish(e, s.ui);
}

int persons(const Args &in)
{
    Args args = in;
    ToolSession s(args, true);
    expectCount(args, 0, "report persons FOLDER --out FILE [--month MM.YYYY]");
    return finish(exports::PersonsAgeList(s.ui), s.ui);
}

int members(const Args &in)
{
    Args args = in;
    ToolSession s(args, true);
    expectCount(args, 0, "report members FOLDER --out FILE [--month MM.YYYY]");
    return finish(exports::MembersSituation(s.ui), s.ui);
}

int risk(const Args &in)
{
    Args args = in;
    const std::string month = takeOption(args, "--pay-month");
    const std::string year = takeOption(args, "--pay-year");
    ToolSession s(args, true);
    expectCount(args, 0, "report risk FOLDER --pay-month MM [--pay-year YYYY] --out FILE [--month MM.YYYY]");
    static const QStringList months{QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("01"),
                                    QStringLiteral("02"), QStringLiteral("03")};
    const QString m = QString::fromStdString(month);
    if (!months.contains(m))
        throw std::runtime_error("--pay-month needs 11, 12, 01, 02 or 03");
    bool ok = true;
    const int y = year.empty() ? s.now.date().year() : QString::fromStdString(year).toInt(&ok);
    if (!ok || y < 2010 || y > QDate::currentDate().year())
        throw std::runtime_error("--pay-year needs a year from 2010 to the current year");
    return finish(exports::RiskControlList(s.ui, m, y), s.ui);
}

int personsDbf(const Args &in)
{
    Args args = in;
    ToolSession s(args, true);
    expectCount(args, 0, "report persons-dbf FOLDER --out FILE [--month MM.YYYY]");
    return finish(exports::ExportPersonsDbf(s.ui), s.ui);
}

const Registration rAnpis(
    "report anpis",
    "report anpis FOLDER --out DIR [--yes] [--month MM.YYYY]: the national agency's XML of the working month", anpis);
const Registration rF2201(
    "report f2201",
    "report f2201 FOLDER --out DIR [--yes] [--now \"DD.MM.YYYY HH:MM\"] [--month MM.YYYY]: the tax agency's F2201 files",
    f2201);
const Registration rTreasury(
    "report treasury",
    "report treasury FOLDER --date DD.MM.YYYY --out DIR [--locality L] [--from A] [--to Z] "
    "[--yes] [--month MM.YYYY]: the treasury's table, annexes and statement in DIR/Termica_Trezorerie",
    treasury);
const Registration rPersons("report persons",
                            "report persons FOLDER --out FILE [--month MM.YYYY]: persons and their age (.xls)",
                            persons);
const Registration rMembers("report members",
                            "report members FOLDER --out FILE [--month MM.YYYY]: the members situation (.xls)",
                            members);
const Registration rRisk(
    "report risk",
    "report risk FOLDER --pay-month MM [--pay-year YYYY] --out FILE [--month MM.YYYY]: the risk-based control (.xls)",
    risk);
const Registration rPersonsDbf(
    "report persons-dbf",
    "report persons-dbf FOLDER --out FILE [--month MM.YYYY]: the persons of the month as a dBase table", personsDbf);

} // namespace
} // namespace focaris::tool
