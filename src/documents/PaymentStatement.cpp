// The payment statement: one read of the approved rows, the letter range applied to the
// names, and the three sheets filled from that one read.
#include "documents/PaymentStatement.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "documents/DocumentValues.h"
#include "documents/QueryRows.h"
#include "documents/WorkbookOutput.h"

namespace focaris::documents {

namespace {

const QString kTitle = QStringLiteral("Situatie Plati");

xls::XValue text(const QString &t)
{
    return xls::XValue::Text(t.toStdString());
}

} // namespace

const QStringList &StatementLetters()
{
    static const QStringList letters =
        QStringLiteral("A B C D E F G H I J K L M N O P R S T U V Z").split(QLatin1Char(' '));
    return letters;
}

QStringList StatementLocalities()
{
    QStringList items{kAllLocalities};
    FillDistinct(items, TablePath(QStringLiteral("Cereri.dbf")),
                 QStringLiteral("LUNACRT=") + QString::number(WorkingMonthCode()), QStringLiteral("LOCALIT"));
    return items;
}

QString RememberedStatementMonth()
{
    return ReadSetting(QStringLiteral("CONST"), QStringLiteral("PERSTAT"));
}

Outcome ConfirmStatementSelection(const StatementSelection &s)
{
    if (!StatementLetters().contains(s.fromLetter))
        return Outcome::Refused(QStringLiteral("Lit1"), QStringLiteral("Alegeti o litera din lista!"));
    if (!StatementLetters().contains(s.toLetter))
        return Outcome::Refused(QStringLiteral("Lit2"), QStringLiteral("Alegeti o litera din lista!"));
    WriteSetting(QStringLiteral("CONST"), QStringLiteral("PERSTAT"), s.monthText);
    return {};
}

QStringList PaymentStatementStatement(const StatementSelection &s, int monthCode)
{
    QStringList q{QStringLiteral("SELECT NR_CERE,SUBSEMN AS TITULAR, CNP, NR_DISP+\"/\" AS NRDISP, DATADISP, ADRESA, "
                                 "LOCALIT, CUANTUM,NR_LUNI,TOTAL, SUMAL, SUMAG, SUMAT, SUMAE"),
                  QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                  QStringLiteral("WHERE LUNACRT=") + QString::number(monthCode),
                  QStringLiteral("AND STATUT=\"APROBAT\"")};
    if (!s.locality.isEmpty() && s.locality != kAllLocalities)
        q << QStringLiteral("AND LOCALIT=") + SqlText(s.locality);
    q << QStringLiteral("ORDER BY TITULAR");
    return q;
}

// The names compared by their first letter only: a name from "M" up to "PZZ" is one
// that begins with M, N, O or P, and a name beginning with Ă belongs with the A names
// (compared as bytes, "BĂLAN" would sort after "BZZ" and fall out of A-B).
bool InLetterRange(const QString &name, const QString &from, const QString &to)
{
    const QChar initial = PlainInitial(name);
    if (initial.isNull() || from.isEmpty() || initial < from.at(0))
        return false;
    return to == QLatin1String("Z") || to.isEmpty() || initial <= to.at(0);
}

Outcome PrintPaymentStatement(Ui &ui, const StatementSelection &s, const QString &out)
{
    const sql::ResultSet all = QuerySql(PaymentStatementStatement(s, WorkingMonthCode()));
    const int name = all.columnIndex("TITULAR"), total = all.columnIndex("TOTAL");
    const int sums[] = {all.columnIndex("SUMAL"), all.columnIndex("SUMAG"), all.columnIndex("SUMAT"),
                        all.columnIndex("SUMAE")};
    // The rows of the three sheets as positions in the one read, in its order.
    std::vector<std::size_t> chosen, withAid, withSupplements;
    for (std::size_t i = 0; i < all.rowCount(); ++i) {
        const auto &row = all.row(i);
        if (!InLetterRange(TextOf(row[std::size_t(name)]), s.fromLetter, s.toLetter))
            continue;
        chosen.push_back(i);
        if (NumberOf(row[std::size_t(total)]) > 0)
            withAid.push_back(i);
        double sum = 0;
        for (int c : sums)
            sum += NumberOf(row[std::size_t(c)]);
        if (sum > 0)
            withSupplements.push_back(i);
    }

    WorkbookOutput output(ui, kTitle, out);
    xls::WorkbookFiller &book = output.filler();
    if (!output.openTemplate(DataFile(QStringLiteral("Stat.xls"))))
        return {};
    const Office o = LoadOffice();
    const bool accountant = !o.contabil.trimmed().isEmpty();
    const bool director = !o.director.trimmed().isEmpty();
    const bool preparer = !o.intocmit.trimmed().isEmpty();
    const QString blank = QStringLiteral(" ");
    // "#PRIMARIA" before "#PRIMAR": the markers are replaced inside texts too.
    const std::pair<const char *, QString> markers[] = {
        {"#JUDET", QStringLiteral("Judet   ") + o.codJud + QStringLiteral(" - ") + o.judet},
        {"#PRIMARIA", QStringLiteral("Primaria   ") + o.codFiscal + QStringLiteral(" - ") + o.localit},
        {"#LUNA", s.monthText},
        {"#C1", accountant ? QStringLiteral("Contabil,") : blank},
        {"#C2", accountant ? o.contabil : blank},
        {"#P1", director ? QStringLiteral("DIRECTOR,") : QStringLiteral("PRIMAR,")},
        {"#PRIMAR", director ? o.director : o.primar},
        {"#I1", preparer ? QStringLiteral("Intocmit,") : blank},
        {"#I2", preparer ? o.intocmit : blank},
    };
    const std::vector<std::size_t> *sheets[] = {&chosen, &withAid, &withSupplements};
    ProgressScope progress(ui, kTitle, 3);
    for (int i = 1; i <= 3; ++i) {
        book.SelectSheet(i);
        for (const auto &[marker, value] : markers)
            book.ReplaceText(marker, text(value));
        const QueryRows rows(all, sheets[i - 1]);
        book.FillRows(&rows);
        progress.step();
    }
    book.SelectSheet(1);
    return output.finish();
}

} // namespace focaris::documents
