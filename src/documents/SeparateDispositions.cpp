// The separate dispositions: the statement over the working month, one page group per
// application with the placeholders queued in the order the templates expect.
#include "documents/SeparateDispositions.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/TempFiles.h"
#include "documents/DocumentValues.h"
#include "documents/PrintedValues.h"
#include "documents/RtfOpen.h"
#include "documents/TemplateDamage.h"
#include "engines/rtf/RTFReplace.h"

namespace focaris::documents {

namespace {
const QString kTitle = QStringLiteral("Listare Dispozitii");
}

QDate FirstOfNextMonth(const QDate &today)
{
    const QDate next = today.addMonths(1);
    return QDate(next.year(), next.month(), 1);
}

Outcome CheckDispositionRange(DispositionRange &range)
{
    range.from = WholeNumberText(range.from);
    range.to = WholeNumberText(range.to);
    if (range.to.toLongLong() < range.from.toLongLong())
        return Outcome::Refused(QStringLiteral("Disp0"), QStringLiteral("Intervalul ales este incorect!"));
    return {};
}

QStringList SeparateDispositionsStatement(DispositionKind kind, const QString &from, const QString &to, int monthCode)
{
    QStringList s{QStringLiteral("SELECT * FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf")))};
    if (to != from || from != QLatin1String("0")) {
        s << QStringLiteral("WHERE CAST(NR_DISP AS FLOAT)>=") + from
          << QStringLiteral("AND CAST(NR_DISP AS FLOAT)<=") + to;
    } else {
        // The applications that have no number yet (a blank text equals "").
        s << QStringLiteral("WHERE (NR_DISP=\"\" OR NR_DISP=\"0\")");
    }
    s << QStringLiteral("AND LUNACRT=") + QString::number(monthCode);
    switch (kind) {
    case DispositionKind::Rejection: s << QStringLiteral("AND STATUT<>\"APROBAT\""); break;
    case DispositionKind::Grant:
        s << QStringLiteral("AND STATUT=\"APROBAT\"") << QStringLiteral("AND (CUMODIF<>\"X\" OR CUMODIF IS NULL)");
        break;
    case DispositionKind::Modification:
        s << QStringLiteral("AND STATUT=\"APROBAT\"") << QStringLiteral("AND CUMODIF=\"X\"");
        break;
    }
    s << QStringLiteral("ORDER BY NR_DISP");
    return s;
}

QString DispositionTemplate(DispositionKind kind)
{
    switch (kind) {
    case DispositionKind::Grant: return QStringLiteral("Stabilire.rtf");
    case DispositionKind::Modification: return QStringLiteral("Modificare.rtf");
    case DispositionKind::Rejection: return QStringLiteral("Respingere.rtf");
    }
    return {};
}

Outcome PrintSeparateDispositions(Ui &ui, DispositionKind kind, const DispositionRange &given, const QString &out)
{
    // Only whole numbers go into the statement, whoever filled the range.
    DispositionRange range = given;
    range.from = WholeNumberText(range.from);
    range.to = WholeNumberText(range.to);
    const sql::ResultSet rows = QuerySql(SeparateDispositionsStatement(kind, range.from, range.to, WorkingMonthCode()));
    if (rows.empty()) {
        ui.message(QStringLiteral("Listare dispozitii"),
                   QStringLiteral("\rNu exista nici un numar de dipozitie in intervalul ") + range.from +
                       QStringLiteral(" - ") + range.to + QStringLiteral(" !"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    rtf::TRTFReplace doc;
    bool named = true;
    if (out.isEmpty()) {
        // Each print gets its own file: the one before may still be open.
        const QString dest = NewDocumentFile(TempFolder() + QStringLiteral("/Dispozitie"), QStringLiteral(".rtf"), 100);
        named = !dest.isEmpty();
        doc.RTFDest = dest.toStdString();
    } else if (FileInUse(out))
        named = false;
    else
        doc.RTFDest = out.toStdString();
    const QString model = DataFile(DispositionTemplate(kind));
    doc.RTFSursa = model.toStdString();
    if (!FileExists(model)) {
        ui.message(kTitle, QStringLiteral("Nu exista modelul ") + model + QStringLiteral("!"), MessageKind::Error,
                   MessageButton::OK);
        return {};
    }
    if (!named || !doc.BeginDocument()) {
        ui.message(kTitle,
                   RtfTemplateDamaged(model) ? DamagedTemplateMessage(model)
                                             : QStringLiteral("Nu pot scrie pe harddisk!"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }

    const Office office = LoadOffice();
    const Columns col(rows);
    const int nrDisp = col["NR_DISP"], dataDisp = col["DATADISP"], cnp = col["CNP"], name = col["SUBSEMN"],
              nrCere = col["NR_CERE"], dataCere = col["DATACERE"], adresa = col["ADRESA"], localit = col["LOCALIT"],
              motiv = col["MOTIVR"], cuantum = col["CUANTUM"], luni = col["NR_LUNI"], total = col["TOTAL"],
              tarif = col["TARIF"], valmax = col["VALMAX"], cuajut = col["CUAJUT"], sumaL = col["SUMAL"],
              sumaG = col["SUMAG"], sumaE = col["SUMAE"], sumaT = col["SUMAT"];
    const std::string start = range.start.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    auto add = [&doc](const char *key, const QString &value) { doc.AddValue(key, value.toStdString()); };
    auto supplement = [&](const char *mark, const char *amount, double v) {
        add(mark, v > 0 ? QStringLiteral("X") : QStringLiteral(" "));
        add(amount, v > 0 ? Shortest(v) : QStringLiteral("0"));
    };

    ProgressScope progress(ui, QStringLiteral("Listare dispozitii"), int(rows.rowCount()));
    for (std::size_t r = 0; r < rows.rowCount(); ++r) {
        const auto &row = rows.row(r);
        const QString cnpText = TextOf(row[cnp]);
        const QString percent = WholeHalfEven(NumberOf(row[cuantum]));
        add("[JUDET]", office.judet);
        add("[TIPLOC]", office.tipLoc);
        add("[LOC]", office.localit);
        add("[NR]", DispositionNumber(TextOf(row[nrDisp])));
        add("[DATA]", DateText(row[dataDisp]));
        doc.AddValue("[DATA01]", start);
        add("[DLUI]", FormOfAddress(cnpText));
        add("[DOMNUL]", NominativeFormOfAddress(cnpText));
        add("[NUME]", TextOf(row[name]));
        add("[NRCERERE]", WholeTruncated(NumberOf(row[nrCere])));
        add("[DATACERERE]", DateText(row[dataCere]));
        add("[NRDATACERE]", TextOf(row[nrCere]) + QLatin1Char('/') + DateText(row[dataCere]));
        add("[PRIMAR]", office.primar);
        add("[LOCART]", office.locArt);
        add("[Domiciliu]", Domicile(TextOf(row[adresa]), TextOf(row[localit])));
        add("[CNP]", cnpText);
        add("[Motiv]", TextOf(row[motiv]));
        add("[SECRETAR]", office.secretar);
        add("[CONTABIL]", office.contabil);
        add("[SUMA]", percent);
        add("[LITERA]", CompensationLetter(percent.toInt(), office.params));
        add("[PERIOADA]", WholeHalfEven(NumberOf(row[luni])));
        add("[TOTAL]", WholeHalfEven(NumberOf(row[total])));
        add("[TARIF]", Shortest(NumberOf(row[tarif])));
        add("[VALMAX]", TwoDecimals(NumberOf(row[valmax])));
        add("[CUAJUT]", TextOf(row[cuajut]));
        supplement("[SL]", "[SUMAL]", NumberOf(row[sumaL]));
        supplement("[SG]", "[SUMAG]", NumberOf(row[sumaG]));
        supplement("[SE]", "[SUMAE]", NumberOf(row[sumaE]));
        supplement("[ST]", "[SUMAT]", NumberOf(row[sumaT]));
        doc.EmitBody(1);
        if (r + 1 < rows.rowCount())
            doc.PageBreak();
        progress.step();
    }
    doc.EndDocument();
    const QString file = QString::fromStdString(doc.RTFDest);
    if (out.isEmpty())
        OpenResult(doc, ui);
    return Outcome::Done(file);
}

} // namespace focaris::documents
