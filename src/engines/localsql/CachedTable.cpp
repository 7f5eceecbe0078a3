// The in-memory copies of the tables and the conversion of values to and from fields.
#include "engines/localsql/CachedTable.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"
#include "engines/localsql/SqlError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

namespace focaris::sql {

namespace {

std::string_view rtrim(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

bool isNumericField(char t)
{
    return t == 'N' || t == 'F' || t == 'I' || t == 'Y' || t == 'B' || t == 'O';
}

std::uint64_t mix(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

} // namespace

std::uint64_t CachedTable::textKey(std::string_view text)
{
    return std::hash<std::string_view>{}(rtrim(text));
}
std::uint64_t CachedTable::numberKey(double value)
{
    if (value == 0)
        value = 0; // -0 and 0 are one key
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return mix(bits);
}
std::uint64_t CachedTable::dateKey(std::int32_t days)
{
    return mix(static_cast<std::uint64_t>(days) + 0x9e3779b97f4a7c15ULL);
}

int CachedTable::fieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (text::equalsIgnoreAsciiCase(fields_[i].name, name))
            return static_cast<int>(i);
    return -1;
}

void CachedTable::refresh()
{
    dbf::Stamp now;
    try {
        // A table this process writes has its file open already: looking through it is
        // cheaper than opening the file again.
        now = writer_ ? writer_->stamp() : dbf::stampOf(path_);
    } catch (const std::exception &) {
        // The file is gone (a temporary table deleted after use): free the copy.
        loaded_ = false;
        rows_ = dbf::RecordSet();
        alive_.clear();
        indexes_.clear();
        throw SqlError("Table does not exist: " + path_.string());
    }
    if (loaded_ && now == stamp_)
        return;
    load();
}

void CachedTable::load()
{
    loaded_ = false;
    staged_.clear();
    indexes_.clear();
    writer_.reset();
    try {
        dbf::DbfTable table(path_, true);
        stamp_ = table.stamp();
        adoptFields(table.fields());
        rows_ = table.readAll();
    } catch (const SqlError &) {
        throw;
    } catch (const std::exception &e) {
        throw SqlError(std::string("Cannot read table: ") + e.what());
    }
    alive_.assign(rows_.size(), 1);
    indexes_.resize(fields_.size());
    loaded_ = true;
}

void CachedTable::adoptFields(std::vector<dbf::Field> fields)
{
    bool same = fields.size() == fields_.size();
    for (std::size_t i = 0; same && i < fields.size(); ++i)
        same = fields[i].name == fields_[i].name && fields[i].type == fields_[i].type &&
               fields[i].length == fields_[i].length && fields[i].decimals == fields_[i].decimals;
    if (!same || layoutVersion_ == 0) {
        fields_ = std::move(fields);
        ++layoutVersion_;
    }
}

std::int64_t CachedTable::deleteAll()
{
    staged_.clear();
    try {
        dbf::stampOf(path_);
    } catch (const std::exception &) {
        invalidate();
        throw SqlError("Table does not exist: " + path_.string());
    }
    try {
        if (!writer_)
            writer_ = std::make_unique<dbf::DbfTable>(path_, false);
        const std::uint32_t deleted = writer_->markAllDeleted();
        // Whatever the copy held, and whatever other processes wrote before the marks,
        // no live row is left: the copy is the empty table as of that moment.
        adoptFields(writer_->fields());
        rows_ = dbf::RecordSet();
        rows_.columns_ = fields_.size();
        alive_.clear();
        indexes_.clear();
        indexes_.resize(fields_.size());
        stamp_ = writer_->lastWrite().after;
        loaded_ = true;
        return deleted;
    } catch (const SqlError &) {
        invalidate();
        throw;
    } catch (const std::exception &e) {
        invalidate();
        throw SqlError(std::string("Cannot write table: ") + e.what());
    }
}

std::optional<std::uint64_t> CachedTable::cellKey(std::size_t row, std::size_t col) const
{
    switch (rows_.kind(row, col)) {
    case dbf::ValueKind::Text: {
        const std::string_view t = rtrim(rows_.text(row, col));
        if (t.empty())
            return std::nullopt;
        return textKey(t);
    }
    case dbf::ValueKind::Number: return numberKey(rows_.number(row, col));
    case dbf::ValueKind::Date: return dateKey(rows_.date(row, col));
    case dbf::ValueKind::Logical: return numberKey(rows_.logical(row, col) ? 1 : 0);
    default: return std::nullopt;
    }
}

CachedTable::Index &CachedTable::indexFor(std::size_t col)
{
    if (!indexes_[col]) {
        auto index = std::make_unique<Index>();
        index->reserve(rows_.size());
        for (std::size_t r = 0; r < rows_.size(); ++r)
            if (alive_[r])
                if (auto k = cellKey(r, col))
                    index->emplace(*k, static_cast<std::uint32_t>(r));
        indexes_[col] = std::move(index);
    }
    return *indexes_[col];
}

void CachedTable::lookup(std::size_t col, std::uint64_t key, std::vector<std::uint32_t> &out)
{
    out.clear();
    const Index &index = indexFor(col);
    auto [a, b] = index.equal_range(key);
    for (auto it = a; it != b; ++it)
        if (alive_[it->second])
            out.push_back(it->second);
    // File order, as a scan would give them.
    std::sort(out.begin(), out.end());
}

void CachedTable::stageInsert(dbf::Record values)
{
    staged_.push_back({Staged::Insert, 0, std::move(values)});
}
void CachedTable::stageUpdate(std::size_t row, dbf::Record values)
{
    staged_.push_back({Staged::Update, row, std::move(values)});
}
void CachedTable::stageDelete(std::size_t row)
{
    staged_.push_back({Staged::Delete, row, {}});
}

void CachedTable::indexRemove(std::size_t row)
{
    for (std::size_t c = 0; c < indexes_.size(); ++c) {
        if (!indexes_[c])
            continue;
        const auto k = cellKey(row, c);
        if (!k)
            continue;
        auto [a, b] = indexes_[c]->equal_range(*k);
        for (auto it = a; it != b; ++it)
            if (it->second == row) {
                indexes_[c]->erase(it);
                break;
            }
    }
}

void CachedTable::indexAdd(std::size_t row)
{
    for (std::size_t c = 0; c < indexes_.size(); ++c)
        if (indexes_[c])
            if (const auto k = cellKey(row, c))
                indexes_[c]->emplace(*k, static_cast<std::uint32_t>(row));
}

void CachedTable::setCell(std::size_t row, std::size_t col, const dbf::Value &v)
{
    const std::size_t i = row * rows_.columns_ + col;
    dbf::RecordSet::Payload &p = rows_.values_[i];
    p = dbf::RecordSet::Payload{};
    rows_.kinds_[i] = v.kind;
    switch (v.kind) {
    case dbf::ValueKind::Text:
    case dbf::ValueKind::Blob:
        p.text.offset = static_cast<std::uint32_t>(rows_.textBuffer_.size());
        p.text.length = static_cast<std::uint32_t>(v.text.size());
        rows_.textBuffer_ += v.text;
        break;
    case dbf::ValueKind::Number:
    case dbf::ValueKind::DateTime: p.number = v.number; break;
    case dbf::ValueKind::Date: p.date = v.date; break;
    case dbf::ValueKind::Logical: p.logical = v.logical; break;
    default: break;
    }
}

void CachedTable::commitStaged()
{
    if (staged_.empty())
        return;
    std::vector<Staged> work = std::move(staged_);
    staged_.clear();
    try {
        // The copy stays valid only if nobody else wrote the file since it was read: each
        // batch must find the file as the copy last knew it (the stamps are taken under the
        // batch's lock), and our appends must land where the copy expects them.
        bool consistent = loaded_;
        if (!writer_)
            writer_ = std::make_unique<dbf::DbfTable>(path_, false);
        // Keeping the hash indexes up to date costs a walk over the rows of equal value
        // for each changed or deleted row; for a large batch of those it is cheaper to
        // build them again when next needed. New rows are simply added.
        const auto rewrites =
            std::count_if(work.begin(), work.end(), [](const Staged &w) { return w.op != Staged::Insert; });
        if (rewrites > 256)
            for (auto &index : indexes_)
                index.reset();
        // Consecutive writes of one kind go to the file as one batch (one lock, one
        // header update); a statement normally stages writes of a single kind, so it
        // writes each table once.
        std::vector<std::uint32_t> numbers;
        std::vector<dbf::Record> records;
        for (std::size_t begin = 0; begin < work.size();) {
            const Staged::Op op = work[begin].op;
            std::size_t end = begin;
            while (end < work.size() && work[end].op == op)
                ++end;
            numbers.clear();
            records.clear();
            for (std::size_t i = begin; i < end; ++i) {
                if (op != Staged::Insert)
                    numbers.push_back(rows_.recordNumber(work[i].row));
                if (op != Staged::Delete)
                    records.push_back(std::move(work[i].values));
            }
            // Called right after each batch's write.
            auto followed = [&] {
                const dbf::DbfTable::WriteStamps &ws = writer_->lastWrite();
                consistent = consistent && ws.before == stamp_;
                stamp_ = ws.after;
                return consistent;
            };
            switch (op) {
            case Staged::Insert: {
                // Our records must land right after those the copy knows.
                const std::uint32_t expected = stamp_.headerRecords + 1;
                const std::uint32_t first = writer_->appendMany(records);
                if (!followed() || first != expected) {
                    consistent = false;
                    break;
                }
                const std::size_t firstRow = rows_.size();
                const std::size_t cols = rows_.columns_;
                rows_.kinds_.resize(rows_.kinds_.size() + records.size() * cols, dbf::ValueKind::Null);
                rows_.values_.resize(rows_.values_.size() + records.size() * cols);
                alive_.resize(alive_.size() + records.size(), 1);
                for (std::size_t k = 0; k < records.size(); ++k) {
                    const std::size_t row = firstRow + k;
                    rows_.recordNumbers_.push_back(first + static_cast<std::uint32_t>(k));
                    for (std::size_t c = 0; c < cols; ++c)
                        setCell(row, c, c < records[k].size() ? records[k][c] : dbf::Value());
                    indexAdd(row);
                }
                break;
            }
            case Staged::Update:
                writer_->overwriteMany(numbers, records);
                if (!followed())
                    break;
                for (std::size_t k = 0; k < records.size(); ++k) {
                    const std::size_t row = work[begin + k].row;
                    indexRemove(row);
                    for (std::size_t c = 0; c < rows_.columns_; ++c)
                        setCell(row, c, c < records[k].size() ? records[k][c] : dbf::Value());
                    indexAdd(row);
                }
                break;
            case Staged::Delete:
                writer_->markDeletedMany(numbers);
                if (!followed())
                    break;
                for (std::size_t i = begin; i < end; ++i) {
                    indexRemove(work[i].row);
                    alive_[work[i].row] = 0;
                }
                break;
            }
            begin = end;
        }
        if (!consistent)
            loaded_ = false;
        // The text buffer only grows with updates; re-read when the dead text outweighs
        // the table, so that memory stays near the size of the file.
        if (rows_.textBuffer_.size() > (64u << 20) && rows_.textBuffer_.size() > 4 * rows_.values_.size() * 8)
            loaded_ = false;
        // Its offsets are 32-bit.
        if (rows_.textBuffer_.size() > 0xC0000000u)
            loaded_ = false;
    } catch (const SqlError &) {
        loaded_ = false;
        throw;
    } catch (const std::exception &e) {
        loaded_ = false;
        throw SqlError(std::string("Cannot write table: ") + e.what());
    }
}

TableCache &TableCache::instance()
{
    static TableCache cache;
    return cache;
}

std::shared_ptr<CachedTable> TableCache::table(const std::filesystem::path &resolved)
{
    auto &slot = tables_[resolved.string()];
    if (!slot)
        slot = std::make_shared<CachedTable>(resolved);
    return slot;
}

void TableCache::forget(const std::filesystem::path &resolved)
{
    auto it = tables_.find(resolved.string());
    if (it != tables_.end()) {
        it->second->invalidate();
        tables_.erase(it);
    }
}

// ---------------------------------------------------------------------------------------

namespace {

// Cuts UTF-8 text to at most `width` characters (the table's code pages hold one byte per
// character).
std::string cutToWidth(std::string_view s, int width)
{
    std::size_t i = 0;
    int count = 0;
    while (i < s.size() && count < width) {
        text::nextCodePoint(s, i);
        ++count;
    }
    return std::string(s.substr(0, i));
}

[[noreturn]] void wrongType(const dbf::Field &f, const Value &v, const char *expected)
{
    throw SqlError("Value \"" + v.toString() + "\" is not " + expected + " for column " + f.name);
}

} // namespace

dbf::Value toFieldValue(const dbf::Field &field, const Value &value)
{
    if (value.isNull())
        return dbf::Value::null();
    if (field.type == 'C' || field.type == 'M') {
        std::string t = value.toString();
        std::string_view trimmed = rtrim(t);
        if (trimmed.empty())
            return dbf::Value::null();
        return dbf::Value::fromText(field.type == 'C' ? cutToWidth(trimmed, field.length) : std::string(trimmed));
    }
    if (field.type == 'D') {
        if (value.kind == Value::Date)
            return dbf::Value::fromDate(value.date);
        if (value.kind == Value::Text) {
            const std::string t(rtrim(value.text));
            if (t.empty())
                return dbf::Value::null();
            std::int32_t days;
            if (parseDate(t, days))
                return dbf::Value::fromDate(days);
        }
        wrongType(field, value, "a date");
    }
    if (field.type == 'L') {
        if (value.isNumber())
            return dbf::Value::fromLogical(value.toDouble() != 0);
        const std::string t = text::asciiUpper(rtrim(value.text));
        if (t == "T" || t == "Y" || t == "TRUE" || t == "1")
            return dbf::Value::fromLogical(true);
        if (t == "F" || t == "N" || t == "FALSE" || t == "0")
            return dbf::Value::fromLogical(false);
        wrongType(field, value, "a logical value");
    }
    if (isNumericField(field.type)) {
        double d = 0;
        if (value.isNumber()) {
            d = value.toDouble();
        } else if (value.kind == Value::Text) {
            std::string t(rtrim(value.text));
            std::size_t start = t.find_first_not_of(' ');
            if (start == std::string::npos)
                return dbf::Value::null();
            t = t.substr(start);
            char *end = nullptr;
            d = std::strtod(t.c_str(), &end);
            if (end != t.c_str() + t.size())
                wrongType(field, value, "a number");
        } else {
            wrongType(field, value, "a number");
        }
        if (!std::isfinite(d))
            wrongType(field, value, "a finite number");
        if (field.type == 'N' || field.type == 'F') {
            // The value as the column will hold it (rounded as the table engine rounds),
            // whose text must fit the column's width. Whole numbers keep their value and
            // only their width is counted (the common case, and formatting is slow).
            const double given = d;
            int width = 0;
            if (d == std::trunc(d) && std::fabs(d) < 1e15) {
                width = d < 0 ? 2 : 1;
                for (double rest = std::fabs(d); rest >= 10; rest = std::floor(rest / 10))
                    ++width;
                if (field.decimals > 0)
                    width += field.decimals + 1;
                if (d == 0)
                    d = 0; // no negative zero
            } else {
                const std::string stored = dbf::numberText(d, field.decimals);
                width = static_cast<int>(stored.size());
                d = std::strtod(stored.c_str(), nullptr);
            }
            if (width > field.length)
                throw SqlError("Value " + formatNumber(given) + " does not fit column " + field.name + " (" +
                               std::to_string(field.length) + " characters, " + std::to_string(field.decimals) +
                               " decimals)");
        } else if (field.type == 'I' && (d < -2147483648.0 || d > 2147483647.0)) {
            throw SqlError("Value " + formatNumber(d) + " does not fit column " + field.name);
        }
        return dbf::Value::fromNumber(d);
    }
    throw SqlError("Column " + field.name + " cannot be written");
}

Value fromFieldValue(const dbf::Field &field, const dbf::Value &v)
{
    switch (v.kind) {
    case dbf::ValueKind::Text: {
        const std::string_view t = rtrim(v.text);
        return t.empty() ? Value::null() : Value::fromText(std::string(t));
    }
    case dbf::ValueKind::Number:
        if (field.decimals == 0 && (field.type == 'N' || field.type == 'I') && std::fabs(v.number) < 9e15)
            return Value::fromInteger(static_cast<std::int64_t>(std::llround(v.number)));
        return Value::fromReal(v.number);
    case dbf::ValueKind::Date: return Value::fromDate(v.date);
    case dbf::ValueKind::Logical: return Value::fromInteger(v.logical ? 1 : 0);
    case dbf::ValueKind::DateTime: return Value::fromReal(v.number);
    default: return Value::null();
    }
}

} // namespace focaris::sql
