// Row reading, the reasons list file and the member copy of the editor's operations.
#include "applications/EditorRows.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace focaris {

sql::Value RowReader::value(const char *column) const
{
    return rows_.value(row_, column);
}

QString RowReader::text(const char *column) const
{
    QString t = ToQString(value(column));
    while (!t.isEmpty() && t.back() == ' ')
        t.chop(1);
    return t;
}

QString RowReader::number(const char *column) const
{
    return FormatNumber(amount(column));
}

qint64 RowReader::whole(const char *column) const
{
    return value(column).toInt();
}

Amount RowReader::amount(const char *column) const
{
    return Amount::fromDouble(value(column).toDouble());
}

QDate RowReader::date(const char *column) const
{
    const sql::Value &v = value(column);
    if (v.kind == sql::Value::Date)
        return QDate(1970, 1, 1).addDays(v.date);
    return ParseDate(ToQString(v));
}

static QString reasonsFile()
{
    const auto found = files::resolveCaseInsensitive((ProgramFolder() + "/Motive.lst").toStdString());
    return QString::fromStdString(found.string());
}

QStringList ReadReasons()
{
    QFile file(reasonsFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromStdString(text::cp1250ToUtf8(std::string_view(bytes.constData(), bytes.size())));
    QStringList out;
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            out << line;
    }
    return out;
}

void WriteReasons(const QStringList &reasons)
{
    QString text;
    for (const QString &r : reasons)
        text += r + "\r\n";
    const std::string bytes = text::utf8ToCp1250(text.toStdString());
    // Written beside the file and renamed over it, so that a failure leaves the old list.
    QSaveFile file(reasonsFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) ||
        !file.commit())
        throw std::runtime_error("Nu se poate scrie lista de motive Motive.lst.");
}

std::vector<MonthMember> MembersInMonth(const QString &cnp, int monthCode, qint64 exceptNrom, bool skipBeneficiaries)
{
    QStringList lines{"SELECT NRCRT, TITULAR FROM " + Quoted(TablePath("Oameni.dbf")), "WHERE CNP=" + SqlText(cnp)};
    if (exceptNrom > 0)
        lines << "AND (NROM IS NULL OR NROM<>" + QString::number(exceptNrom) + ")";
    if (skipBeneficiaries)
        lines << "AND (CALITATE IS NULL OR CALITATE<>" + SqlText("beneficiar") + ")";
    lines << "ORDER BY NROM";
    const sql::ResultSet members = QuerySql(lines);
    std::vector<MonthMember> out;
    if (members.empty())
        return out;
    QStringList keys;
    for (std::size_t i = 0; i < members.rowCount(); ++i)
        keys << QString::number(RowReader(members, i).whole("NRCRT"));
    const sql::ResultSet apps =
        QuerySql(QStringList{"SELECT NRCRT, NR_CERE, DATACERE FROM " + Quoted(TablePath("Cereri.dbf")),
                             "WHERE NRCRT IN (" + keys.join(",") + ")", "AND LUNACRT=" + QString::number(monthCode)});
    for (std::size_t i = 0; i < members.rowCount(); ++i) {
        const qint64 key = RowReader(members, i).whole("NRCRT");
        for (std::size_t j = 0; j < apps.rowCount(); ++j) {
            const RowReader app(apps, j);
            if (app.whole("NRCRT") == key)
                out.push_back({app.number("NR_CERE"), app.date("DATACERE"), RowReader(members, i).text("TITULAR")});
        }
    }
    return out;
}

int CopyMembers(const QString &membersTable, qint64 fromKey, qint64 toKey)
{
    ExecSql("DELETE FROM " + Quoted(membersTable));
    const sql::ResultSet r =
        QuerySql(QStringList{"SELECT TITULAR, CNP, VENIT, CALITATE FROM " + Quoted(TablePath("Oameni.dbf")),
                             "WHERE NRCRT=" + QString::number(fromKey), "ORDER BY NROM"});
    if (r.empty())
        return 0;
    // One key per member, taken from the counter in one step.
    const qint64 first = TakeKeys("NROM", qint64(r.rowCount())).truncated();
    QStringList lines{"INSERT INTO " + Quoted(membersTable) + " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                      "VALUES"};
    for (std::size_t i = 0; i < r.rowCount(); ++i) {
        const RowReader row(r, i);
        lines << QString("(%1, %2, %3, %4, %5, %6)%7")
                     .arg(first + qint64(i))
                     .arg(toKey)
                     .arg(SqlText(row.text("TITULAR")), SqlText(row.text("CNP")), row.number("VENIT"),
                          SqlText(row.text("CALITATE")), i + 1 < r.rowCount() ? "," : "");
    }
    ExecSql(lines);
    return int(r.rowCount());
}

} // namespace focaris
