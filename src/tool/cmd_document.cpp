// focaris-tool document: the documents of the working month, made by the same operations
// the applications window starts, written to --out instead of being opened.
//   document dispositions FOLDER --kind grant|modification|rejection --from N --to N --start DD.MM.YYYY --out FILE.rtf
//   document single FOLDER --number N --start DD.MM.YYYY --period TEXT --payment-date TEXT --court TEXT --out FILE.xls
//   document reports FOLDER --from A --to B --out FILE.rtf
//   document form FOLDER NRCRT --kind full|short --out FILE.rtf
//   document inquiry FOLDER NRCRT add|delete [--yes]
//   document payments FOLDER --from-letter L --to-letter L [--locality TEXT] --month-text TEXT --out FILE.xls
// Each takes --month MM.YYYY (else the data folder's working month). Messages print as
// "TITLE: TEXT" (errors and warnings on standard error), a refused entry as
// "refused: FIELD: MESSAGE"; the file written is printed on success, and the exit status
// is 1 when the document was not made.
#include "tool/Command.h"
#include "tool/ToolMonths.h"

#include "core/Context.h"
#include "core/Formats.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "documents/ApplicationForms.h"
#include "documents/ApplicationReports.h"
#include "documents/PaymentStatement.h"
#include "documents/SeparateDispositions.h"
#include "documents/SingleDisposition.h"
#include "documents/SocialInquiry.h"

#include <QDir>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

using namespace focaris::documents;

// The terminal as the person at the keyboard: messages printed, questions answered "Da"
// with --yes and "Nu" without it.
class ToolUi : public NullUi {
public:
    bool yes = false;
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        QString t = text;
        t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString line = title + QStringLiteral(": ") + t.trimmed();
        std::fprintf(kind == MessageKind::Information || kind == MessageKind::Confirmation ? stdout : stderr, "%s\n",
                     line.toUtf8().constData());
        if (buttons & MessageButton::Da)
            return yes ? MessageResult::Da : MessageResult::Nu;
        return MessageResult::OK;
    }
};

// Points the context at the data folder and its working month.
void useFolder(Args &args, const char *usage)
{
    if (args.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + usage);
    const QString folder = QDir(QString::fromStdString(args.front())).absolutePath();
    args.erase(args.begin());
    if (!QDir(folder).exists())
        throw std::runtime_error("folder does not exist: " + folder.toStdString());
    Context().dataFolder = folder;
    if (Context().tempFolder.isEmpty())
        Context().tempFolder = QDir::tempPath();
    QString month = QString::fromStdString(takeOption(args, "--month"));
    if (month.isEmpty())
        month = ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"));
    else
        ListedMonthCode(month.toStdString());
    SetWorkingMonth(month);
}

QString option(Args &args, const char *name, const char *usage, bool required = true)
{
    const std::string v = takeOption(args, name, "\x01");
    if (v == "\x01") {
        if (required)
            throw std::runtime_error(std::string(name) + " is required; usage: focaris-tool " + usage);
        return {};
    }
    return QString::fromStdString(v);
}

QDate date(const QString &text)
{
    const QDate d = ParseDate(text);
    if (!d.isValid())
        throw std::runtime_error("not a date (DD.MM.YYYY): " + text.toStdString());
    return d;
}

int report(const Outcome &o)
{
    if (o.refused()) {
        std::fprintf(stderr, "refused: %s: %s\n", qPrintable(o.field), o.message.toUtf8().constData());
        return 1;
    }
    if (!o.written)
        return 1;
    std::printf("%s\n", o.file.toUtf8().constData());
    return 0;
}

void noneLeft(const Args &args, const char *usage)
{
    if (!args.empty())
        throw std::runtime_error("unexpected argument " + args.front() + "; usage: focaris-tool " + usage);
}

const char *kDisp = "document dispositions FOLDER --kind grant|modification|rejection --from N --to N "
                    "--start DD.MM.YYYY --out FILE.rtf [--month MM.YYYY]";
int dispositions(const Args &in)
{
    Args args = in;
    useFolder(args, kDisp);
    const QString kind = option(args, "--kind", kDisp);
    DispositionRange range{option(args, "--from", kDisp), option(args, "--to", kDisp),
                           date(option(args, "--start", kDisp))};
    const QString out = option(args, "--out", kDisp);
    noneLeft(args, kDisp);
    DispositionKind k;
    if (kind == QLatin1String("grant"))
        k = DispositionKind::Grant;
    else if (kind == QLatin1String("modification"))
        k = DispositionKind::Modification;
    else if (kind == QLatin1String("rejection"))
        k = DispositionKind::Rejection;
    else
        throw std::runtime_error("--kind is grant, modification or rejection");
    const Outcome check = CheckDispositionRange(range);
    if (check.refused())
        return report(check);
    ToolUi ui;
    return report(PrintSeparateDispositions(ui, k, range, out));
}

const char *kSingle = "document single FOLDER --number N --start DD.MM.YYYY --period TEXT --payment-date TEXT "
                      "--court TEXT --out FILE.xls [--month MM.YYYY]";
int single(const Args &in)
{
    Args args = in;
    useFolder(args, kSingle);
    SingleDispositionFields f;
    f.number = option(args, "--number", kSingle);
    f.start = date(option(args, "--start", kSingle));
    f.period = option(args, "--period", kSingle);
    f.paymentDate = option(args, "--payment-date", kSingle);
    f.court = option(args, "--court", kSingle);
    const QString out = option(args, "--out", kSingle);
    noneLeft(args, kSingle);
    const Outcome check = ConfirmSingleDisposition(f);
    if (check.refused())
        return report(check);
    ToolUi ui;
    return report(PrintSingleDisposition(ui, f, out));
}

const char *kReports = "document reports FOLDER --from A --to B --out FILE.rtf [--month MM.YYYY]";
int reports(const Args &in)
{
    Args args = in;
    useFolder(args, kReports);
    ReportRange range{option(args, "--from", kReports), option(args, "--to", kReports)};
    const QString out = option(args, "--out", kReports);
    noneLeft(args, kReports);
    const Outcome check = CheckReportRange(range);
    if (check.refused())
        return report(check);
    ToolUi ui;
    return report(PrintReports(ui, range, out));
}

qint64 nrcrt(Args &args, const char *usage)
{
    if (args.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + usage);
    bool ok = false;
    const qint64 n = QString::fromStdString(args.front()).toLongLong(&ok);
    if (!ok)
        throw std::runtime_error("NRCRT is a number: " + args.front());
    args.erase(args.begin());
    return n;
}

const char *kForm = "document form FOLDER NRCRT --kind full|short --out FILE.rtf [--month MM.YYYY]";
int form(const Args &in)
{
    Args args = in;
    useFolder(args, kForm);
    const QString kind = option(args, "--kind", kForm);
    const QString out = option(args, "--out", kForm);
    const qint64 n = nrcrt(args, kForm);
    noneLeft(args, kForm);
    if (kind != QLatin1String("full") && kind != QLatin1String("short"))
        throw std::runtime_error("--kind is full or short");
    ToolUi ui;
    return report(PrintApplicationForm(ui, kind == QLatin1String("full") ? FormKind::Full : FormKind::Short, n, out));
}

const char *kInquiry = "document inquiry FOLDER NRCRT add|delete [--yes] [--month MM.YYYY]";
int inquiry(const Args &in)
{
    Args args = in;
    ToolUi ui;
    ui.yes = takeFlag(args, "--yes");
    useFolder(args, kInquiry);
    const qint64 n = nrcrt(args, kInquiry);
    if (args.size() != 1 || (args[0] != "add" && args[0] != "delete"))
        throw std::runtime_error(std::string("usage: focaris-tool ") + kInquiry);
    return report(args[0] == "add" ? AddInquiry(ui, n, false) : DeleteInquiry(ui, n));
}

const char *kPayments = "document payments FOLDER --from-letter L --to-letter L [--locality TEXT] "
                        "--month-text TEXT --out FILE.xls [--month MM.YYYY]";
int payments(const Args &in)
{
    Args args = in;
    useFolder(args, kPayments);
    StatementSelection s;
    s.fromLetter = option(args, "--from-letter", kPayments);
    s.toLetter = option(args, "--to-letter", kPayments);
    const QString locality = option(args, "--locality", kPayments, false);
    if (!locality.isEmpty())
        s.locality = locality;
    s.monthText = option(args, "--month-text", kPayments);
    const QString out = option(args, "--out", kPayments);
    noneLeft(args, kPayments);
    const Outcome check = ConfirmStatementSelection(s);
    if (check.refused())
        return report(check);
    ToolUi ui;
    return report(PrintPaymentStatement(ui, s, out));
}

Registration r1("document dispositions", kDisp, dispositions);
Registration r2("document single", kSingle, single);
Registration r3("document reports", kReports, reports);
Registration r4("document form", kForm, form);
Registration r5("document inquiry", kInquiry, inquiry);
Registration r6("document payments", kPayments, payments);

} // namespace
} // namespace focaris::tool
