// One read of the applications for the agency and supplier reports.
#include "reports/AjpisRows.h"

#include "core/DataStore.h"

#include <QDate>

namespace focaris::reports {

namespace {

const char *const kColumns =
    "NRCRT, LUNACRT, STATUT, SUBSEMN, CNP, LOCALIT, ADRESA, NR_MEMBRI, NR_LUNI, VENITM, CUANTUM, VALMAX, "
    "TOTAL, SUMAL, SUMAG, SUMAE, SUMAT, NR_DISP, DATADISP, FURNT, CODCLT, TITG, FURNG, CODCLG, PODG, "
    "TITE, FURNE, CODCLE, PODE";

QString text(const sql::Value &v)
{
    return v.isNull() ? QString() : ToQString(v).trimmed();
}
Amount amount(const sql::Value &v)
{
    return v.isNull() ? Amount() : Amount::fromDouble(v.toDouble());
}
int whole(const sql::Value &v)
{
    return v.isNull() ? 0 : int(v.toInt());
}

} // namespace

bool ApplicationRow::active() const
{
    return !statut.isEmpty() && statut != QLatin1String("RESPINS") && statut != QLatin1String("INCETAT");
}

std::vector<ApplicationRow> ReadApplications(int from, int to, int also)
{
    const sql::ResultSet rs = QuerySql(
        QStringList{QStringLiteral("SELECT ") + QLatin1String(kColumns),
                    QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                    QStringLiteral("WHERE (LUNACRT>=%1 AND LUNACRT<=%2) OR LUNACRT=%3").arg(from).arg(to).arg(also),
                    QStringLiteral("ORDER BY SUBSEMN, NRCRT")});
    std::vector<ApplicationRow> rows;
    rows.reserve(rs.rowCount());
    for (const auto &v : rs.rows()) {
        ApplicationRow r;
        r.nrcrt = v[0].isNull() ? 0 : v[0].toInt();
        r.month = whole(v[1]);
        r.statut = text(v[2]);
        r.subsemn = text(v[3]);
        r.cnp = text(v[4]);
        r.localit = text(v[5]);
        r.adresa = text(v[6]);
        r.members = whole(v[7]);
        r.months = whole(v[8]);
        r.venitm = amount(v[9]);
        r.cuantum = amount(v[10]);
        r.valmax = amount(v[11]);
        r.total = amount(v[12]);
        r.sumal = amount(v[13]);
        r.sumag = amount(v[14]);
        r.sumae = amount(v[15]);
        r.sumat = amount(v[16]);
        r.nrDisp = text(v[17]);
        r.hasDispDate = v[18].kind == sql::Value::Date;
        r.dispDate = r.hasDispDate ? v[18].date : 0;
        r.furnt = text(v[19]);
        r.codclt = text(v[20]);
        r.titg = text(v[21]);
        r.furng = text(v[22]);
        r.codclg = text(v[23]);
        r.podg = text(v[24]);
        r.tite = text(v[25]);
        r.furne = text(v[26]);
        r.codcle = text(v[27]);
        r.pode = text(v[28]);
        rows.push_back(std::move(r));
    }
    return rows;
}

QString JoinedAddress(const ApplicationRow &row, int width)
{
    return (row.localit + QLatin1Char(' ') + row.adresa).trimmed().left(width).trimmed();
}

QString DispositionText(const ApplicationRow &row)
{
    if (row.nrDisp.isEmpty())
        return {};
    if (!row.hasDispDate)
        return row.nrDisp;
    return row.nrDisp + QLatin1Char('/') +
           QDate(1970, 1, 1).addDays(row.dispDate).toString(QStringLiteral("dd.MM.yyyy"));
}

IncomeBrackets::IncomeBrackets(const AidParameters &p)
{
    for (int k = 1; k <= 11; ++k) {
        lower_[k - 1] = k == 1 ? Amount(-1) : k == 11 ? p.lim[8] : p.lim[k - 2];
        upper_[k - 1] = p.lim[k - 1];
    }
}

bool IncomeBrackets::contains(int k, Amount income) const
{
    return income > lower_[k - 1] && income <= upper_[k - 1];
}

} // namespace focaris::reports
