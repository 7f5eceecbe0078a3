// The reports on applications: the statement over the working month and the values of
// each report, queued in the order of the template.
#include "documents/ApplicationReports.h"

#include "core/Amount.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/TempFiles.h"
#include "documents/DocumentValues.h"
#include "documents/PrintedValues.h"
#include "documents/RtfOpen.h"
#include "documents/TemplateDamage.h"
#include "engines/rtf/RTFReplace.h"

namespace focaris::documents {

namespace {
const QString kTitle = QStringLiteral("Listare Referate");
}

QString PlainNumberText(const QString &typed)
{
    const auto a = Amount::parse(typed.trimmed().toStdString());
    return QString::fromStdString(a ? a->toString() : std::string("0"));
}

Outcome CheckReportRange(ReportRange &range)
{
    range.from = PlainNumberText(range.from);
    range.to = PlainNumberText(range.to);
    if (ParseNumber(range.to) < ParseNumber(range.from))
        return Outcome::Refused(QStringLiteral("Cere0"), QStringLiteral("Interval incorect!"));
    return {};
}

QStringList ReportsStatement(const QString &from, const QString &to, int monthCode)
{
    return {QStringLiteral("SELECT * FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
            QStringLiteral("WHERE LUNACRT=") + QString::number(monthCode),
            QStringLiteral("AND NR_CERE>=") + from + QStringLiteral(" AND NR_CERE<=") + to,
            QStringLiteral("AND STATUT=\"APROBAT\""), QStringLiteral("ORDER BY NR_CERE")};
}

Outcome PrintReports(Ui &ui, const ReportRange &given, const QString &out)
{
    // Only plain numbers go into the statement, whoever filled the range.
    const ReportRange range{PlainNumberText(given.from), PlainNumberText(given.to)};
    const sql::ResultSet rows = QuerySql(ReportsStatement(range.from, range.to, WorkingMonthCode()));
    if (rows.empty()) {
        ui.message(kTitle,
                   QStringLiteral("Nu exista nici o cerere in intervalul ") + range.from + QStringLiteral(" - ") +
                       range.to + QStringLiteral(" !"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    rtf::TRTFReplace doc;
    doc.RTFSursa = DataFile(QStringLiteral("Referat.rtf")).toStdString();
    const QString dest =
        out.isEmpty() ? NewDocumentFile(TempFolder() + QStringLiteral("/TmpFoc/Referat"), QStringLiteral(".rtf")) : out;
    doc.RTFDest = dest.toStdString();
    if (dest.isEmpty() || FileInUse(dest) || !doc.BeginDocument()) {
        const QString model = QString::fromStdString(doc.RTFSursa);
        ui.message(kTitle,
                   RtfTemplateDamaged(model) ? DamagedTemplateMessage(model)
                                             : QStringLiteral("Nu pot scrie pe harddisk!"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    const Office office = LoadOffice();
    const Columns col(rows);
    const int cnp = col["CNP"], name = col["SUBSEMN"], nrCere = col["NR_CERE"], dataCere = col["DATACERE"],
              adresa = col["ADRESA"], localit = col["LOCALIT"], cuantum = col["CUANTUM"], total = col["TOTAL"],
              tarif = col["TARIF"], valmax = col["VALMAX"], sumaL = col["SUMAL"], sumaG = col["SUMAG"],
              sumaE = col["SUMAE"], sumaT = col["SUMAT"];
    auto add = [&doc](const char *key, const QString &value) { doc.AddValue(key, value.toStdString()); };

    ProgressScope progress(ui, QStringLiteral("Listare referate"), int(rows.rowCount()));
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        const auto &row = rows.row(r);
        const QString cnpText = TextOf(row[cnp]);
        const QString number = TextOf(row[nrCere]);
        const QString date = DateText(row[dataCere]);
        add("[JUDET]", office.judet);
        add("[Dlui]", FormOfAddress(cnpText) + QLatin1Char(' '));
        add("[DOMNUL]", NominativeFormOfAddress(cnpText));
        add("[NUME]", TextOf(row[name]));
        add("[NRREF]", number);
        add("[DATAREF]", date);
        add("[NRCERERE]", number);
        add("[DATACERERE]", date);
        add("[Domiciliu]", Domicile(TextOf(row[adresa]), TextOf(row[localit])));
        add("[CNP]", cnpText);
        add("[SUMA]", WholeHalfEven(NumberOf(row[cuantum])));
        add("[TOTAL]", WholeHalfEven(NumberOf(row[total])));
        add("[TARIF]", TwoDecimals(NumberOf(row[tarif])));
        add("[VALMAX]", TwoDecimals(NumberOf(row[valmax])));
        add("[INTOCMIT]", office.intocmit);
        add("[SECRETAR]", office.secretar);
        add("[DIRECTOR]", office.director);
        add("[LOCALIT]", office.localit);
        add("[SUPL]", WholeTruncated(NumberOf(row[sumaL])));
        add("[SUPG]", WholeTruncated(NumberOf(row[sumaG])));
        add("[SUPT]", WholeTruncated(NumberOf(row[sumaT])));
        add("[SUPE]", WholeTruncated(NumberOf(row[sumaE])));
        doc.EmitBody(1);
        if (r + 1 < rows.rowCount())
            doc.PageBreak();
        progress.step();
    }
    doc.EndDocument();
    if (out.isEmpty())
        OpenResult(doc, ui);
    return Outcome::Done(dest);
}

} // namespace focaris::documents
