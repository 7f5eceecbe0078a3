// The treasury report for the wood supplements. Every value is checked against the
// treasury's field widths before the folder is touched; the four files are written into a
// hidden folder that takes the output folder's name only when all of them are complete.
#include "reports/TreasuryReport.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "documents/PaymentStatement.h"
#include "documents/ResourceStore.h"
#include "engines/common/Codepage.h"
#include "engines/dbase/DbfTable.h"
#include "engines/rtf/RTFReplace.h"
#include "engines/xls/WorkbookFiller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace focaris::exports {

namespace {

const QString kTitle = QStringLiteral("Raport Trezorerie");
const QString kAidCode = QStringLiteral("074");

// One record of the treasury table.
struct Payment {
    qint64 nrCere = 0;
    QString cnp, name;
    qint64 persons = 0;
    double amount = 0;
};

QString rightAligned(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

std::vector<Payment> selectPayments(const TreasuryChoice &choice)
{
    QStringList lines{QStringLiteral("SELECT NR_CERE, CNP, SUBSEMN, NR_MEMBRI, SUMAL FROM ") +
                          Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                      QStringLiteral("WHERE LUNACRT=") + QString::number(WorkingMonthCode()),
                      QStringLiteral("AND STATUT=\"APROBAT\" AND SUMAL>0")};
    if (!choice.locality.isEmpty() && choice.locality != kAllLocalities)
        lines << QStringLiteral("AND LOCALIT=") + SqlText(choice.locality);
    lines << QStringLiteral("ORDER BY SUBSEMN");
    const sql::ResultSet rs = QuerySql(lines);
    std::vector<Payment> out;
    out.reserve(rs.rowCount());
    // The letter range by the first letter with its diacritics folded, as on the payment
    // statement: "ŞERBAN" is an S name, not one after "SZZ".
    for (const auto &row : rs.rows())
        if (documents::InLetterRange(TextOf(row[2]), choice.firstLetter, choice.lastLetter))
            out.push_back({row[0].toInt(), TextOf(row[1]), TextOf(row[2]), row[3].toInt(), NumberOf(row[4])});
    return out;
}

// The first value that does not fit its field of the treasury's layout, as a refusal
// naming the application (or the setting) it comes from.
std::optional<Refusal> checkWidths(const ExportSettings &s, const std::vector<Payment> &payments)
{
    if (s.codJud.size() > 2)
        return Refusal{QStringLiteral("\rCodul judetului \"") + s.codJud +
                           QStringLiteral("\" are mai mult de 2 caractere si nu incape in tabelul trezoreriei!"),
                       QStringLiteral("CODJUD")};
    const QString digits = FiscalDigits(s.codFiscal);
    if (digits.isEmpty() || digits.size() > 10)
        return Refusal{QStringLiteral("\rCodul fiscal \"") + s.codFiscal +
                           QStringLiteral("\" nu este un cod de cel mult 10 cifre!"),
                       QStringLiteral("CODFISC")};
    for (const Payment &p : payments) {
        const QString who = QStringLiteral("\rCererea nr. ") + QString::number(p.nrCere) + QStringLiteral(" (") +
                            p.name + QStringLiteral(")");
        if (p.persons < 0 || p.persons > 99)
            return Refusal{who + QStringLiteral(" are ") + QString::number(p.persons) +
                               QStringLiteral(" membri: numarul nu incape in campul NRPERS (2 cifre)!"),
                           QStringLiteral("NRPERS")};
        if (p.cnp.size() > 13)
            return Refusal{who + QStringLiteral(" are un CNP mai lung de 13 caractere!"), QStringLiteral("CNP")};
        if (p.amount >= 10000000)
            return Refusal{who + QStringLiteral(" are suplimentul ") + NumberText(p.amount) +
                               QStringLiteral(", prea mare pentru campul SUMA!"),
                           QStringLiteral("SUMA")};
    }
    return std::nullopt;
}

// The treasury's table is marked Windows-1252, which lacks the Romanian letters with
// breve, comma and cedilla; they are written as their base letters so that a name reads
// "STEFANESCU" rather than "?TEFANESCU". Â and Î exist in that code page and stay.
QString treasuryText(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        switch (c.unicode()) {
        case u'Ă': c = QLatin1Char('A'); break;
        case u'ă': c = QLatin1Char('a'); break;
        case u'Ş':
        case u'Ș': c = QLatin1Char('S'); break;
        case u'ş':
        case u'ș': c = QLatin1Char('s'); break;
        case u'Ţ':
        case u'Ț': c = QLatin1Char('T'); break;
        case u'ţ':
        case u'ț': c = QLatin1Char('t'); break;
        default: break;
        }
    }
    return out;
}

void writeTable(const QString &path, const ExportSettings &s, const QDate &v, const std::vector<Payment> &payments,
                Ui &ui)
{
    const QString part =
        QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName() + QStringLiteral(".part");
    if (!ExtractResource(QStringLiteral("ModelTrz"), QStringLiteral("MODEL"), part))
        throw std::runtime_error(
            QStringLiteral("Modelul tabelului trezoreriei nu poate fi scris in %1").arg(part).toStdString());
    try {
        ui.progressShow(QStringLiteral("Creez DBF-ul..."), int(payments.size() / 50));
        std::vector<dbf::Record> records;
        records.reserve(payments.size());
        const dbf::Value date = dbf::Value::fromDate(v.year(), v.month(), v.day());
        const std::string codJud = s.codJud.toStdString(), codFisc = FiscalDigits(s.codFiscal).toStdString();
        for (std::size_t i = 0; i < payments.size(); ++i) {
            if ((i + 1) % 50 == 0)
                ui.progressStep();
            const Payment &p = payments[i];
            records.push_back(
                {dbf::Value::fromText(codJud), dbf::Value::fromText(codFisc), dbf::Value::fromText(p.cnp.toStdString()),
                 dbf::Value::fromText(kAidCode.toStdString()), dbf::Value::fromText(treasuryText(p.name).toStdString()),
                 dbf::Value::fromNumber(double(p.persons)), dbf::Value::fromNumber(p.amount), date, date});
        }
        dbf::DbfTable(part.toStdString()).appendMany(records);
        ui.progressHide();
        RenameOver(part, path);
    } catch (...) {
        ui.progressHide();
        QFile::remove(part);
        throw;
    }
}

void writeAnnex2(const QString &path, const ExportSettings &s, const QDate &v, std::vector<Payment> payments, Ui &ui)
{
    const QString tmpl = NewTempFile(QStringLiteral("Anx2"), QStringLiteral(".xls"));
    if (tmpl.isEmpty() || !ExtractResource(QStringLiteral("TrezAnx2"), QStringLiteral("Model"), tmpl))
        throw std::runtime_error("Modelul anexei 2 nu poate fi scris in directorul temporar");
    std::stable_sort(payments.begin(), payments.end(),
                     [](const Payment &a, const Payment &b) { return a.name.toStdString() < b.name.toStdString(); });
    MemoryRows rows;
    rows.addColumn("NUMEPREN", xls::ColumnKind::Text);
    rows.addColumn("NRPERS", xls::ColumnKind::Number);
    rows.addColumn("CNP", xls::ColumnKind::Text);
    rows.addColumn("SUMA", xls::ColumnKind::Number);
    for (const Payment &p : payments)
        rows.addRow({MemoryRows::text(p.name), MemoryRows::number(double(p.persons)), MemoryRows::text(p.cnp),
                     MemoryRows::number(p.amount)});
    xls::WorkbookFiller filler(FillerHooks(ui));
    filler.OpenTemplate(tmpl.toStdString());
    auto text = [](const QString &t) { return xls::XValue::Text(t.toStdString()); };
    filler.ReplaceText("#JUDETUL",
                       text(QStringLiteral("JUDETUL: ") + s.codJud + QStringLiteral("  JUDETUL ") + s.judet));
    filler.ReplaceText("#UAT",
                       text(s.codFiscal + QStringLiteral("  ") + s.uat + QStringLiteral("  ") + s.localit.toUpper()));
    filler.ReplaceText("[SITUATIA]",
                       text(QStringLiteral("SITUATIA ") + kTreasurySupplement + QLatin1Char(' ') + kTreasuryLaw));
    filler.ReplaceText("[PRIMAR]", text(s.primar));
    filler.ReplaceText("[NRPERS]", xls::XValue::Number(double(payments.size())));
    filler.ReplaceText("[DATA]", text(QStringLiteral("in ziua ") + v.toString(QStringLiteral("dd")) +
                                      QStringLiteral(" luna ") + v.toString(QStringLiteral("MM")) +
                                      QStringLiteral(" anul ") + v.toString(QStringLiteral("yyyy"))));
    filler.FillRows(&rows);
    filler.CloseResult(false);
    QFile::remove(tmpl);
    MoveInto(QString::fromStdString(filler.outputName()), path);
}

void writeAnnex3(const QString &path, const ExportSettings &s, const QDate &v, const std::vector<Payment> &payments)
{
    const QString tmpl = NewTempFile(QStringLiteral("Anx3"), QStringLiteral(".rtf"));
    if (tmpl.isEmpty() || !ExtractResource(QStringLiteral("TrezAnx3"), QStringLiteral("Model"), tmpl))
        throw std::runtime_error("Modelul anexei 3 nu poate fi scris in directorul temporar");
    // Every payment counts as paid in cash; each amount is rounded to whole lei first.
    qint64 n1 = qint64(payments.size()), s1 = 0;
    for (const Payment &p : payments)
        s1 += RoundedWhole(p.amount);
    const qint64 n2 = 0, s2 = 0;
    const QString part =
        QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName() + QStringLiteral(".part");
    rtf::TRTFReplace doc;
    doc.RTFSursa = tmpl.toStdString();
    doc.RTFDest = part.toStdString();
    if (!doc.BeginDocument())
        throw std::runtime_error("Modelul anexei 3 nu poate fi citit");
    auto add = [&doc](const char *key, const QString &value) { doc.AddValue(key, value.toStdString()); };
    add("[CODJUD]", s.codJud);
    add("[DENUMJUD]", s.judet);
    add("[CODUNIT]", s.codFiscal);
    add("[DENUMUNIT]", s.uat + QLatin1Char(' ') + s.localit);
    add("[CODAJUTOR]", kAidCode);
    add("[DENUMIREAJUTOR]", kTreasurySupplement.mid(6) + QLatin1Char(' ') + kTreasuryLaw);
    add("[Primar]", s.primar);
    add("[NR1]", QString::number(n1));
    add("[SUMA1]", QString::number(s1));
    add("[NR2]", QString::number(n2));
    add("[SUMA2]", QString::number(s2));
    add("[NR]", QString::number(n1 + n2));
    add("[SUMA]", QString::number(s1 + s2));
    add("[DATA]", v.toString(QStringLiteral("dd.MM.yyyy")));
    try {
        doc.EmitBody(1);
        doc.EndDocument();
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    QFile::remove(tmpl);
    RenameOver(part, path);
}

} // namespace

QString TreasuryTableName(const ExportSettings &s, const QDate &v)
{
    QString j = s.codJud;
    if (j.size() < 2)
        j.prepend(QLatin1Char('0'));
    return j + FiscalDigits(s.codFiscal) + QLatin1Char('_') + v.toString(QStringLiteral("dd-MM-yyyy")) +
           QStringLiteral(".dbf");
}

QByteArray TreasuryStatement(const ExportSettings &s, const QDate &v, qint64 count, double total)
{
    const QString t = QString::number(qint64(Amount::fromDouble(total).truncated())) + QStringLiteral(".00");
    const QString n = QString::number(count);
    const QString rule(70, QLatin1Char('_'));
    const QStringList lines{
        QLatin1Char(' ') + s.codJud + QLatin1Char(' ') + s.codFiscal + QStringLiteral("    ") + s.tipLoc +
            QLatin1Char(' ') + s.localit.toUpper(),
        QStringLiteral(" Data Trezor:  ") + v.toString(QStringLiteral("dd-MM-yyyy")),
        QStringLiteral(" "),
        QStringLiteral(" "),
        QStringLiteral("   Cod      Nr      Suma totala"),
        QStringLiteral(" Ajutor  titulari    / ajutor          Denumire ajutor"),
        rule,
        QStringLiteral(" 074") + rightAligned(n, 12) + rightAligned(t, 15) + QStringLiteral("   -") +
            kTreasurySupplement + QLatin1Char(' ') + kTreasuryLaw,
        rule,
        QStringLiteral(" Total:") + rightAligned(n, 9) + rightAligned(t, 15),
    };
    std::string bytes;
    for (const QString &line : lines)
        bytes += text::utf8ToCp1250(line.toStdString()) + "\r\n";
    return QByteArray::fromStdString(bytes);
}

bool TreasuryReady(Ui &ui)
{
    return SettingsReady(ui);
}

TreasuryResult CreateTreasuryReport(Ui &ui, const TreasuryChoice &choice)
{
    TreasuryResult result;
    const ExportSettings s = LoadExportSettings();
    const std::vector<Payment> payments = selectPayments(choice);
    if (auto refusal = checkWidths(s, payments)) {
        ui.message(kTitle, refusal->message, MessageKind::Error, MessageButton::OK);
        result.refused = refusal;
        return result;
    }

    QString chosen;
    if (!ui.chooseFolder(QStringLiteral("Unde punem Raportarea?"), chosen) || chosen.isEmpty())
        return result;
    const QString d = QDir::cleanPath(chosen) + QStringLiteral("/Termica_Trezorerie");
    const QString shown = QDir::toNativeSeparators(d);
    if (QFileInfo::exists(d)) {
        if (ui.message(kTitle,
                       QStringLiteral("\rDirectorul ") + shown + QStringLiteral(" exista!") + QStringLiteral("\r") +
                           QStringLiteral("Il inlocuim?"),
                       MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
            return result;
        DeleteFolder(d);
        if (QFileInfo::exists(d)) {
            ui.message(kTitle,
                       QStringLiteral("\rDirectorul ") + shown + QStringLiteral(" este in utilizare!") +
                           QStringLiteral("\r") +
                           QStringLiteral("Inchideti fisierele deschise sau stergeti-l manual si reinncercati!"),
                       MessageKind::Error, MessageButton::OK);
            return result;
        }
    }
    // The four files are written into a hidden folder beside the output folder, which takes
    // the folder's name only when all of them are complete: a failure half-way never
    // leaves a table without its annexes where the treasury's files are looked for.
    const QString stage = QDir::cleanPath(chosen) + QStringLiteral("/.Termica_Trezorerie.part");
    if (QFileInfo::exists(stage))
        DeleteFolder(stage);
    if (!QDir().mkpath(stage))
        throw std::runtime_error(QStringLiteral("Directorul %1 nu poate fi creat").arg(stage).toStdString());

    const QDate v = choice.transferDate;
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("DATAV"), v.toString(QStringLiteral("dd.MM.yyyy")));
    const QString tableName = TreasuryTableName(s, v);
    const QStringList names{tableName, QStringLiteral("Anexa2_Supliment_Lemne.xls"),
                            QStringLiteral("Anexa3_Supliment_Lemne.rtf"),
                            QStringLiteral("StatTo_") + tableName.left(tableName.size() - 3) + QStringLiteral("txt")};
    try {
        writeTable(stage + QLatin1Char('/') + names[0], s, v, payments, ui);
        writeAnnex2(stage + QLatin1Char('/') + names[1], s, v, payments, ui);
        writeAnnex3(stage + QLatin1Char('/') + names[2], s, v, payments);
        Amount total;
        for (const Payment &p : payments)
            total += Amount::fromDouble(p.amount);
        CommitFile(stage + QLatin1Char('/') + names[3],
                   TreasuryStatement(s, v, qint64(payments.size()), total.toDouble()));
        if (!QDir().rename(stage, d))
            throw std::runtime_error(QStringLiteral("Directorul %1 nu poate fi creat").arg(d).toStdString());
    } catch (...) {
        DeleteFolder(stage);
        throw;
    }
    result.folder = d;
    for (const QString &n : names)
        result.files << d + QLatin1Char('/') + n;

    ui.openDocument(d);
    result.done = true;
    return result;
}

} // namespace focaris::exports
