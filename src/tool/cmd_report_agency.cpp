// focaris-tool report ajpis | report suppliers | report eon: the county agency's annexes
// and the supplier reports of a data folder, made by the same operations as the menu
// "Liste / Formulare", with the choices of their windows given as options.
#include "tool/Command.h"
#include "tool/ToolFolders.h"
#include "tool/ToolMonths.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/Months.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "reports/EonReport.h"
#include "reports/SupplierReport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

// Messages are printed as "TITLE: TEXT" (errors and warnings on standard error), the
// folder question is answered by --out and the other questions by --yes.
class ReportUi : public NullUi {
public:
    ReportUi(QString out, bool yes) : out_(std::move(out)), yes_(yes) {}
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons) override
    {
        QString flat = text;
        flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fprintf(kind == MessageKind::Information ? stdout : stderr, "%s: %s\n", qPrintable(title),
                     qPrintable(flat.simplified()));
        if (kind == MessageKind::Warning || kind == MessageKind::Confirmation)
            return yes_ ? MessageResult::Da : MessageResult::Nu;
        return MessageResult::OK;
    }
    void fieldHint(const QString &text, QObject *) override
    {
        std::fprintf(stderr, "Problema !: %s\n", qPrintable(text));
    }
    bool chooseFolder(const QString &, QString &folder) override
    {
        folder = out_;
        return !out_.isEmpty();
    }

private:
    QString out_;
    bool yes_;
};

// The data folder as the program's data folder, in a scratch program folder; the working
// month from --month or the folder's settings.
struct ToolSession {
    QTemporaryDir scratch{scratchTemplate()};
    ToolSession(const std::string &dataFolder, const std::string &month)
    {
        const QString data = QFileInfo(QString::fromStdString(dataFolder)).absoluteFilePath();
        if (!QFileInfo(data).isDir())
            throw std::runtime_error("no such data folder: " + dataFolder);
        // The program's folders, as for the program; scratch files in a folder of this run.
        InitContext(ToolProgramFolder(data));
        Context().tempFolder = scratch.path();
        Context().dataFolder = data;
        QDir().mkpath(TempFolder());
        const QString m = month.empty() ? ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"))
                                        : QString::fromStdString(month);
        if (!month.empty())
            ListedMonthCode(month);
        SetWorkingMonth(m);
    }
};

int monthOption(Args &args, const std::string &name)
{
    const std::string text = takeOption(args, name);
    const int code = MonthCode(QString::fromStdString(text));
    if (text.empty() || code <= 2)
        throw std::runtime_error(name + " needs MM.YYYY");
    return code;
}

int printed(const reports::ReportResult &r)
{
    for (const QString &f : r.files)
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(f)));
    return r.done ? 0 : 1;
}

const char *kAjpis = "report ajpis FOLDER --from MM.YYYY --to MM.YYYY --out DIR [--month MM.YYYY] [--yes]";
const char *kSuppliers = "report suppliers FOLDER --out DIR [--month MM.YYYY] [--yes]";
const char *kEon = "report eon FOLDER --supplier NAME --out FILE.xlsx|DIR [--energy gaz|electrica] "
                   "[--postal LOCALITY=CODE]... [--month MM.YYYY] [--yes]";

int ajpisCommand(const Args &given)
{
    Args args = given;
    const int from = monthOption(args, "--from");
    const int to = monthOption(args, "--to");
    const std::string out = takeOption(args, "--out");
    const std::string month = takeOption(args, "--month");
    const bool yes = takeFlag(args, "--yes");
    expectCount(args, 1, kAjpis);
    if (out.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kAjpis);
    ToolSession session(args[0], month);
    if (to < from) {
        std::fprintf(stderr, "refused: Data1: Perioada incorecta!\n");
        return 1;
    }
    ReportUi ui(QString::fromStdString(out), yes);
    return printed(reports::MakeAjpisReport(ui, from, to));
}

int suppliersCommand(const Args &given)
{
    Args args = given;
    const std::string out = takeOption(args, "--out");
    const std::string month = takeOption(args, "--month");
    const bool yes = takeFlag(args, "--yes");
    expectCount(args, 1, kSuppliers);
    if (out.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kSuppliers);
    ToolSession session(args[0], month);
    ReportUi ui(QString::fromStdString(out), yes);
    return printed(reports::MakeSupplierReport(ui));
}

int eonCommand(const Args &given)
{
    Args args = given;
    const std::string supplier = takeOption(args, "--supplier");
    const std::string out = takeOption(args, "--out");
    const std::string energy = takeOption(args, "--energy", "gaz");
    const std::string month = takeOption(args, "--month");
    const bool yes = takeFlag(args, "--yes");
    std::vector<std::string> postal;
    for (std::string p; !(p = takeOption(args, "--postal")).empty();)
        postal.push_back(p);
    expectCount(args, 1, kEon);
    if (out.empty() || (energy != "gaz" && energy != "electrica"))
        throw std::runtime_error(std::string("usage: focaris-tool ") + kEon);
    ToolSession session(args[0], month);
    ReportUi ui(QString::fromStdString(out), yes);
    if (!SettingsReady(ui))
        return 1;

    reports::EonChoice choice = reports::LoadEonChoice();
    choice.supplier = QString::fromStdString(supplier).toUpper();
    for (const std::string &p : postal) {
        const auto eq = p.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error("--postal needs LOCALITY=CODE");
        const QString locality = QString::fromStdString(p.substr(0, eq));
        for (auto &entry : choice.postalCodes)
            if (entry.first == locality)
                entry.second = QString::fromStdString(p.substr(eq + 1));
    }
    if (const auto refused = reports::CheckEonChoice(choice)) {
        std::fprintf(stderr, "refused: %s: %s\n", qPrintable(refused->field), qPrintable(refused->message));
        return 1;
    }
    reports::StorePostalCodes(choice);

    const QString target = QString::fromStdString(out);
    if (!target.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return printed(reports::MakeEonReport(ui, choice));
    const int n = reports::WriteEonWorkbook(target, choice, energy == "gaz");
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath())));
    std::printf("rows=%d\n", n);
    return 0;
}

Registration rAjpis("report ajpis", kAjpis, ajpisCommand);
Registration rSuppliers("report suppliers", kSuppliers, suppliersCommand);
Registration rEon("report eon", kEon, eonCommand);

} // namespace
} // namespace focaris::tool
