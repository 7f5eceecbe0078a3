// The single disposition: the check of the number, the counts of sheet 1 and the rows of
// the two annexes, each read once, and the workbook filled through the template filler.
#include "documents/SingleDisposition.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "documents/DocumentValues.h"
#include "documents/QueryRows.h"
#include "documents/WorkbookOutput.h"
#include "engines/xls/WorkbookFiller.h"

namespace focaris::documents {

namespace {

const QString kTitle = QStringLiteral("Listare Dispozitie Unica");
const QString kSection = QStringLiteral("DISPCUM");
const QString kGrant = QStringLiteral("AND STATUT=\"APROBAT\" AND (CUMODIF<>\"X\" OR CUMODIF IS NULL)");

// The lines every statement of the disposition shares after its select list.
QStringList statement(const QString &select, const QString &number, const QStringList &more)
{
    QStringList s{select, QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                  QStringLiteral("WHERE CAST(NR_DISP AS FLOAT)=") + number,
                  QStringLiteral("AND LUNACRT=") + QString::number(WorkingMonthCode())};
    return s + more;
}

const QString kAnnexColumns =
    QStringLiteral("SELECT SUBSEMN AS TITULAR, CNP, (\"loc.\"+LOCALIT+\", \"+ADRESA) AS ADRESA, NR_MEMBRI, CUANTUM, "
                   "NR_LUNI, SUMAL, SUMAG, SUMAE, SUMAT, DATADISP, DATACERE, TARIF, VALMAX");

xls::XValue text(const QString &t)
{
    return xls::XValue::Text(t.toStdString());
}

// The value of a column in the first row of a result, or NULL when it has none.
sql::Value first(const sql::ResultSet &rows, const char *column)
{
    return rows.empty() ? sql::Value::null() : rows.value(0, column);
}

} // namespace

void LoadSingleDispositionTexts(SingleDispositionFields &f)
{
    f.period = ReadSetting(kSection, QStringLiteral("PERIOADA"));
    f.paymentDate = ReadSetting(kSection, QStringLiteral("DATAP"));
    f.court = ReadSetting(kSection, QStringLiteral("TRIBUNAL"));
}

void SaveSingleDispositionTexts(const SingleDispositionFields &f)
{
    WriteSetting(kSection, QStringLiteral("PERIOADA"), f.period);
    WriteSetting(kSection, QStringLiteral("DATAP"), f.paymentDate);
    WriteSetting(kSection, QStringLiteral("TRIBUNAL"), f.court);
}

Outcome ConfirmSingleDisposition(SingleDispositionFields &f)
{
    const QString whole = WholeNumberText(f.number);
    if (whole.toLongLong() < 1)
        return Outcome::Refused(QStringLiteral("NrDisp"),
                                QStringLiteral("De emotie, ati uitat sa scrieti numarul de Dispozitie de listat!"));
    f.number = whole;
    SaveSingleDispositionTexts(f);
    return {};
}

Outcome PrintSingleDisposition(Ui &ui, const SingleDispositionFields &f, const QString &out)
{
    // A number typed with leading zeros or decimals is the same disposition.
    const QString n = WholeNumberText(f.number);
    const sql::ResultSet approved =
        QuerySql(statement(QStringLiteral("SELECT *"), n, {kGrant, QStringLiteral("ORDER BY SUBSEMN")}));
    if (approved.empty()) {
        ui.message(kTitle, QStringLiteral("\rNu exista Dipozitia Aprobata cu nr.") + n + QStringLiteral(" !"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    const sql::ResultSet aid = QuerySql(statement(
        QStringLiteral("SELECT Count(*) AS NRX, MAX(NR_CERE) AS NR0, MIN(NR_CERE) AS NR1, MAX(NR_LUNI) AS NRLUNI"), n,
        {kGrant, QStringLiteral("AND CUAJUT=\"X\"")}));
    const sql::ResultSet sup =
        QuerySql(statement(QStringLiteral("SELECT Count(*) AS NRX"), n,
                           {QStringLiteral("AND STATUT=\"APROBAT\" AND SUMAL+SUMAG+SUMAE+SUMAT>0")}));
    const sql::ResultSet annex1 = QuerySql(
        statement(kAnnexColumns, n, {kGrant, QStringLiteral("AND CUAJUT=\"X\""), QStringLiteral("ORDER BY TITULAR")}));
    const sql::ResultSet annex2 =
        QuerySql(statement(kAnnexColumns, n,
                           {QStringLiteral("AND STATUT=\"APROBAT\" AND (SUMAL+SUMAG+SUMAE+SUMAT)>0"),
                            QStringLiteral("ORDER BY TITULAR")}));

    WorkbookOutput output(ui, kTitle, out);
    xls::WorkbookFiller &book = output.filler();
    if (!output.openTemplate(DataFile(QStringLiteral("StabilireU.xls"))))
        return {};
    ProgressScope progress(ui, QStringLiteral("Dispozitie unica"), 3);
    const Office office = LoadOffice();

    // A disposition of supplements only has no heating-aid row: its date, year and month
    // come from its first approved row instead, so that sheet 1 is never left without them.
    const sql::Value dispDate = annex1.empty() ? first(approved, "DATADISP") : first(annex1, "DATADISP");
    const QDate requestDate = DateOf(annex1.empty() ? first(approved, "DATACERE") : first(annex1, "DATACERE"));
    const QString dispDateText = DateText(dispDate);
    auto count = [](const sql::ResultSet &r, const char *c) { return r.empty() ? QString() : TextOf(r.value(0, c)); };

    book.SelectSheet(1);
    const std::pair<const char *, QString> sheet1[] = {
        {"[JUDET]", office.judet},
        {"[PRIMAR]", office.primar},
        {"[SECRETAR]", office.secretar},
        {"[TIPLOC]", office.tipLoc},
        {"[LOC]", office.localit},
        {"[DISPNR]", n},
        {"[DISPDATA]", dispDateText},
        {"[ANUL]", requestDate.isValid() ? QString::number(requestDate.year()) : QString()},
        {"[LUNA]", requestDate.isValid() ? MonthName(requestDate.month()) : QString()},
        {"[NR0]", count(aid, "NR0")},
        {"[NR1]", count(aid, "NR1")},
        {"[NRLUNI]", count(aid, "NRLUNI")},
        {"[NRSUP]", count(sup, "NRX")},
        {"[NRCERERI]", count(aid, "NRX")},
        {"[DATASTART]", f.start.toString(QStringLiteral("dd.MM.yyyy"))},
        {"[PERIOADA]", f.period},
        {"[NRAPROB]", QString::number(annex1.rowCount())},
        {"[DATAPLATII]", f.paymentDate},
        {"[TRIBUNAL]", f.court},
    };
    for (const auto &[marker, value] : sheet1)
        book.ReplaceText(marker, text(value));
    progress.step();

    book.SelectSheet(2);
    book.ReplaceText("[DISPNR]", text(n));
    book.ReplaceText("[DISPDATA]", text(dispDateText));
    book.ReplaceText("[INTOCMIT]", text(office.intocmit));
    const QueryRows rows1(annex1);
    book.FillRows(&rows1);
    progress.step();

    book.SelectSheet(3);
    book.ReplaceText("[DISPNR]", text(n));
    book.ReplaceText("[DISPDATA]",
                     text(DateText(annex2.empty() ? first(approved, "DATADISP") : first(annex2, "DATADISP"))));
    book.ReplaceText("[INTOCMIT]", text(office.intocmit));
    const QueryRows rows2(annex2);
    book.FillRows(&rows2);
    progress.step();

    book.SelectSheet(1);
    return output.finish();
}

} // namespace focaris::documents
