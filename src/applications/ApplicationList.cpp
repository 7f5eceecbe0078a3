// The month's list of applications.
#include "applications/ApplicationList.h"

#include "core/DataStore.h"
#include "core/Months.h"

namespace focaris {

const std::vector<ListColumn> &ListColumns()
{
    static const std::vector<ListColumn> columns = [] {
        const char *pairs[][2] = {
            {"Nr.", "NR_CERE"}, {"Data", "DATACERE"}, {"Incepand cu luna", kFirstMonthColumn},
            {"Nr. luni", "NR_LUNI"}, {"Nume si prenume", "SUBSEMN"}, {"CNP", "CNP"},
            {"Titular", "TITT"}, {"Localitatea", "LOCALIT"}, {"Adresa", "ADRESA"},
            {"Nr.", "NR_DISP"}, {"Data", "DATADISP"}, {"Cu modif.", "CUMODIF"},
            {"Statut", "STATUT"}, {"Nr. membri", "NR_MEMBRI"}, {"Total venit", "TVENIT"},
            {"Venit mediu", "VENITM"}, {"Compen- sare(%)", "CUANTUM"}, {"Ajutor maxim", "VALMAX"},
            {"Cu ajutor", "CUAJUT"}, {"Lemne", "SUMAL"}, {"Gaze", "SUMAG"}, {"Termica", "SUMAT"},
            {"Electrica", "SUMAE"}, {"Furnizor", "FURNT"}, {"Asociatia", "ASOC"},
            {"Tarif CGal", "TARIF"}, {"Nr.contract", "NRCONT"}, {"Cod de client", "CODCLT"},
            {"VMG (L416)", "L416"}, {"ASF", "ASF"}, {"Stare civila", "STCIV"},
            {"Situatie scolara", "SITSCOL"}, {"Numar camere", "NRCAM"},
            {"Asigurare locuinta", "ASIG"}, {"Situatie profesionala", "SITPROF"},
            {"0-14 ani", "COPII14"}, {"14-18 ani", "COPII18"}};
        std::vector<ListColumn> out;
        for (const auto &p : pairs)
            out.push_back({QString::fromLatin1(p[0]), QString::fromLatin1(p[1])});
        return out;
    }();
    return columns;
}

QStringList ApplicationList::Statement(int monthCode, const QString &sortColumn)
{
    return {QStringLiteral("SELECT * FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
            QStringLiteral("WHERE LUNACRT=") + QString::number(monthCode),
            QStringLiteral("ORDER BY ") + (sortColumn.isEmpty() ? QStringLiteral("SUBSEMN") : sortColumn)};
}

void ApplicationList::open(int monthCode, const QString &sortColumn)
{
    // Only the table's own columns can order the query; anything else keeps the name order.
    QString sort = QStringLiteral("SUBSEMN");
    for (const ListColumn &c : ListColumns())
        if (c.column == sortColumn && c.column != QLatin1String(kFirstMonthColumn))
            sort = c.column;
    sql::ResultSet rows = QuerySql(Statement(monthCode, sort));
    month_ = monthCode;
    sort_ = sort;
    rows_ = std::move(rows);
    columnIndex_.clear();
    numeric_.clear();
    for (const ListColumn &c : ListColumns()) {
        const int i = rows_.columnIndex(c.column.toStdString());
        columnIndex_.push_back(i);
        numeric_.push_back(i >= 0 && rows_.columnType(static_cast<std::size_t>(i)) == sql::ColumnType::Number);
    }
    keyIndex_ = rows_.columnIndex("NRCRT");
    nameIndex_ = rows_.columnIndex("SUBSEMN");
    firstMonthIndex_ = rows_.columnIndex("LUNADEC");
    applySearch();
}

bool ApplicationList::Sortable(int column)
{
    return column >= 0 && column < static_cast<int>(ListColumns().size())
           && ListColumns()[column].column != QLatin1String(kFirstMonthColumn);
}

bool ApplicationList::sortBy(int column)
{
    if (!Sortable(column))
        return false;
    open(month_, ListColumns()[column].column);
    return true;
}

void ApplicationList::setSearch(const QString &text)
{
    search_ = text;
    applySearch();
}

void ApplicationList::applySearch()
{
    visible_.clear();
    const std::size_t n = rows_.rowCount();
    visible_.reserve(n);
    const std::string prefix = search_.toStdString();
    for (std::size_t r = 0; r < n; ++r) {
        if (!prefix.empty()) {
            if (nameIndex_ < 0)
                continue;
            const sql::Value &v = rows_.value(r, static_cast<std::size_t>(nameIndex_));
            if (v.kind != sql::Value::Text || v.text.compare(0, prefix.size(), prefix) != 0)
                continue;
        }
        visible_.push_back(static_cast<int>(r));
    }
}

QString ApplicationList::text(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= static_cast<int>(columnIndex_.size()))
        return {};
    const std::size_t r = static_cast<std::size_t>(visible_[row]);
    if (ListColumns()[column].column == QLatin1String(kFirstMonthColumn)) {
        if (firstMonthIndex_ < 0 || rows_.value(r, firstMonthIndex_).isNull())
            return {};
        return MonthText(static_cast<int>(rows_.value(r, firstMonthIndex_).toInt()));
    }
    const int c = columnIndex_[column];
    return c < 0 ? QString() : QString::fromStdString(rows_.value(r, static_cast<std::size_t>(c)).toString());
}

sql::Value ApplicationList::value(int row, const char *column) const
{
    const int c = rows_.columnIndex(column);
    if (row < 0 || row >= count() || c < 0)
        return {};
    return rows_.value(static_cast<std::size_t>(visible_[row]), static_cast<std::size_t>(c));
}

qint64 ApplicationList::key(int row) const
{
    if (row < 0 || row >= count() || keyIndex_ < 0)
        return 0;
    return rows_.value(static_cast<std::size_t>(visible_[row]), static_cast<std::size_t>(keyIndex_)).toInt();
}

int ApplicationList::rowOfKey(qint64 key) const
{
    for (int i = 0; i < count(); ++i)
        if (this->key(i) == key)
            return i;
    return -1;
}

} // namespace focaris
