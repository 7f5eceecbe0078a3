// Reading the tables of a register archive.
#include "periods/RegisterTable.h"

#include "engines/common/FileNames.h"
#include "engines/localsql/Value.h"

#include <cmath>
#include <cstdlib>

namespace focaris::periods {
namespace {

// A text that reads wholly as a number gives it; anything else gives nothing.
std::optional<double> numberOfText(const std::string &t)
{
    const char *begin = t.c_str();
    while (*begin == ' ')
        ++begin;
    if (!*begin)
        return std::nullopt;
    char *end = nullptr;
    const double d = std::strtod(begin, &end);
    while (end && *end == ' ')
        ++end;
    if (!end || *end || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::string trimmed(const std::string &t)
{
    const auto b = t.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return t.substr(b, t.find_last_not_of(' ') - b + 1);
}

} // namespace

std::optional<QString> RegisterTable::load(const QString &folder, const QString &name, const QStringList &columns)
{
    columns_.clear();
    data_.clear();
    const std::filesystem::path path = (folder + QLatin1Char('/') + name).toStdString();
    try {
        dbf::DbfTable table(path, true);
        std::vector<int> index;
        for (const QString &c : columns) {
            const int i = table.fieldIndex(c.toStdString());
            if (i < 0)
                return QStringLiteral("Tabela ") + name + QStringLiteral(" nu are coloana ") + c + QStringLiteral("!");
            index.push_back(i);
        }
        const dbf::RecordSet all = table.readAll();
        data_.reserve(all.size());
        for (std::size_t r = 0; r < all.size(); ++r) {
            dbf::Record row;
            row.reserve(index.size());
            for (int i : index)
                row.push_back(all.value(r, static_cast<std::size_t>(i)));
            data_.push_back(std::move(row));
        }
    } catch (const std::exception &) {
        data_.clear();
        if (!std::filesystem::exists(files::resolveCaseInsensitive(path)))
            return QStringLiteral("Lipseste tabela ") + name + QStringLiteral("!");
        return QStringLiteral("Tabela ") + name + QStringLiteral(" nu poate fi citita!");
    }
    columns_ = columns;
    return std::nullopt;
}

bool RegisterTable::isNull(std::size_t row, int col) const
{
    const dbf::Value &v = at(row, col);
    return v.isNull() || (v.kind == dbf::ValueKind::Text && trimmed(v.text).empty());
}

QString RegisterTable::text(std::size_t row, int col) const
{
    const dbf::Value &v = at(row, col);
    switch (v.kind) {
    case dbf::ValueKind::Text: return QString::fromStdString(trimmed(v.text));
    case dbf::ValueKind::Number: return QString::fromStdString(sql::formatNumber(v.number));
    case dbf::ValueKind::Date: return QString::fromStdString(sql::formatDate(v.date));
    case dbf::ValueKind::Logical: return v.logical ? QStringLiteral("T") : QStringLiteral("F");
    default: return {};
    }
}

double RegisterTable::number(std::size_t row, int col) const
{
    const dbf::Value &v = at(row, col);
    if (v.kind == dbf::ValueKind::Number)
        return v.number;
    if (v.kind == dbf::ValueKind::Text)
        return numberOfText(v.text).value_or(0.0);
    return 0.0;
}

std::optional<std::int32_t> RegisterTable::date(std::size_t row, int col) const
{
    const dbf::Value &v = at(row, col);
    if (v.kind == dbf::ValueKind::Date)
        return v.date;
    std::int32_t days = 0;
    if (v.kind == dbf::ValueKind::Text && sql::parseDate(trimmed(v.text), days))
        return days;
    return std::nullopt;
}

std::string RegisterTable::key(std::size_t row, int col) const
{
    const dbf::Value &v = at(row, col);
    if (v.kind == dbf::ValueKind::Number)
        return sql::formatNumber(v.number);
    if (v.kind == dbf::ValueKind::Text) {
        const std::string t = trimmed(v.text);
        if (const auto n = numberOfText(t))
            return sql::formatNumber(*n);
        return t;
    }
    return {};
}

} // namespace focaris::periods
