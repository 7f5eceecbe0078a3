// The month's list of applications.
#include "applications/ApplicationList.h"

#include "core/DataStore.h"
#include "core/Months.h"
#include "core/TextRules.h"

#include <algorithm>

namespace focaris {

const std::vector<ListColumn> &ListColumns()
{
    static const std::vector<ListColumn> columns = [] {
        const char *pairs[][2] = {{"Nr.", "NR_CERE"},
                                  {"Data", "DATACERE"},
                                  {"Incepand cu luna", kFirstMonthColumn},
                                  {"Nr. luni", "NR_LUNI"},
                                  {"Nume si prenume", "SUBSEMN"},
                                  {"CNP", "CNP"},
                                  {"Titular", "TITT"},
                                  {"Localitatea", "LOCALIT"},
                                  {"Adresa", "ADRESA"},
                                  {"Nr.", "NR_DISP"},
                                  {"Data", "DATADISP"},
                                  {"Cu modif.", "CUMODIF"},
                                  {"Statut", "STATUT"},
                                  {"Nr. membri", "NR_MEMBRI"},
                                  {"Total venit", "TVENIT"},
                                  {"Venit mediu", "VENITM"},
                                  {"Compen- sare(%)", "CUANTUM"},
                                  {"Ajutor maxim", "VALMAX"},
                                  {"Cu ajutor", "CUAJUT"},
                                  {"Lemne", "SUMAL"},
                                  {"Gaze", "SUMAG"},
                                  {"Termica", "SUMAT"},
                                  {"Electrica", "SUMAE"},
                                  {"Furnizor", "FURNT"},
                                  {"Asociatia", "ASOC"},
                                  {"Tarif CGal", "TARIF"},
                                  {"Nr.contract", "NRCONT"},
                                  {"Cod de client", "CODCLT"},
                                  {"VMG (L416)", "L416"},
                                  {"ASF", "ASF"},
                                  {"Stare civila", "STCIV"},
                                  {"Situatie scolara", "SITSCOL"},
                                  {"Numar camere", "NRCAM"},
                                  {"Asigurare locuinta", "ASIG"},
                                  {"Situatie profesionala", "SITPROF"},
                                  {"0-14 ani", "COPII14"},
                                  {"14-18 ani", "COPII18"}};
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
    // The names as the search compares them: without diacritics, so that "TA" finds
    // ŢĂRANU whichever letters were stored.
    searchNames_.assign(rows_.rowCount(), std::string());
    for (std::size_t r = 0; nameIndex_ >= 0 && r < rows_.rowCount(); ++r) {
        const auto c = static_cast<std::size_t>(nameIndex_);
        if (rows_.kind(r, c) == sql::Value::Text) {
            const std::string_view name = rows_.text(r, c);
            searchNames_[r] = WithoutDiacritics(QString::fromUtf8(name.data(), qsizetype(name.size()))).toStdString();
        }
    }
    order_.resize(rows_.rowCount());
    for (std::size_t r = 0; r < order_.size(); ++r)
        order_[r] = static_cast<int>(r);
    applySearch();
}

bool ApplicationList::Sortable(int column)
{
    return column >= 0 && column < static_cast<int>(ListColumns().size()) &&
           ListColumns()[column].column != QLatin1String(kFirstMonthColumn);
}

namespace {

// The order of values in a sorted query: NULL first, then numbers, texts and dates.
int rank(sql::Value::Kind kind)
{
    switch (kind) {
    case sql::Value::Null: return 0;
    case sql::Value::Integer:
    case sql::Value::Real: return 1;
    case sql::Value::Text: return 2;
    case sql::Value::Date: return 3;
    }
    return 4;
}

// Cell (x, c) before cell (y, c), read in place.
bool before(const sql::ResultSet &rows, std::size_t x, std::size_t y, std::size_t c)
{
    const sql::Value::Kind a = rows.kind(x, c);
    const int ra = rank(a), rb = rank(rows.kind(y, c));
    if (ra != rb)
        return ra < rb;
    switch (a) {
    case sql::Value::Integer:
    case sql::Value::Real: return rows.number(x, c) < rows.number(y, c);
    case sql::Value::Text: return rows.text(x, c) < rows.text(y, c);
    case sql::Value::Date: return rows.date(x, c) < rows.date(y, c);
    default: return false;
    }
}

bool startsWith(const std::string &name, const std::string &prefix)
{
    return name.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

bool ApplicationList::sortBy(int column)
{
    if (!Sortable(column))
        return false;
    const int c = columnIndex_[column];
    if (c < 0)
        return false;
    std::stable_sort(order_.begin(), order_.end(), [&](int x, int y) {
        return before(rows_, static_cast<std::size_t>(x), static_cast<std::size_t>(y), static_cast<std::size_t>(c));
    });
    sort_ = ListColumns()[column].column;
    applySearch();
    return true;
}

void ApplicationList::setSearch(const QString &typed)
{
    // Both sides without diacritics: the typed comma-below letters, the cedilla letters of
    // the Windows-1250 tables and the plain letters all meet.
    const QString text = WithoutDiacritics(WithCedillaLetters(typed));
    // A text that only grows keeps a subset of what is listed: look at those rows only.
    const bool narrower = !search_.isEmpty() && text.startsWith(search_);
    search_ = text;
    if (narrower)
        narrowSearch();
    else
        applySearch();
}

void ApplicationList::applySearch()
{
    visible_.clear();
    visible_.reserve(order_.size());
    const std::string prefix = search_.toStdString();
    for (int r : order_)
        if (prefix.empty() || (nameIndex_ >= 0 && startsWith(searchNames_[static_cast<std::size_t>(r)], prefix)))
            visible_.push_back(r);
}

void ApplicationList::narrowSearch()
{
    const std::string prefix = search_.toStdString();
    std::vector<int> kept;
    for (int r : visible_)
        if (nameIndex_ >= 0 && startsWith(searchNames_[static_cast<std::size_t>(r)], prefix))
            kept.push_back(r);
    visible_.swap(kept);
}

QString ApplicationList::text(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= static_cast<int>(columnIndex_.size()))
        return {};
    const std::size_t r = static_cast<std::size_t>(visible_[row]);
    if (ListColumns()[column].column == QLatin1String(kFirstMonthColumn)) {
        if (firstMonthIndex_ < 0 || rows_.kind(r, static_cast<std::size_t>(firstMonthIndex_)) == sql::Value::Null)
            return {};
        return MonthText(static_cast<int>(rows_.value(r, static_cast<std::size_t>(firstMonthIndex_)).toInt()));
    }
    const int c = columnIndex_[column];
    if (c < 0)
        return {};
    // Texts go straight from the result's buffer; only the others are formatted.
    if (rows_.kind(r, static_cast<std::size_t>(c)) == sql::Value::Text) {
        const std::string_view t = rows_.text(r, static_cast<std::size_t>(c));
        return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    }
    return QString::fromStdString(rows_.value(r, static_cast<std::size_t>(c)).toString());
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
