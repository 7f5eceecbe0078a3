// The table cursor.
#include "engines/localsql/TableCursor.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"
#include "engines/localsql/CachedTable.h"
#include "engines/localsql/SqlError.h"

namespace focaris::sql {

TableCursor::TableCursor(const std::filesystem::path &path) : path_(files::resolveCaseInsensitive(path))
{
    try {
        table_ = std::make_unique<dbf::DbfTable>(path_, true);
        fields_ = table_->fields();
        rows_ = table_->readAll();
    } catch (const std::exception &e) {
        if (!std::filesystem::exists(path_))
            throw SqlError("Table does not exist: " + path_.string());
        throw SqlError(std::string("Cannot read table: ") + e.what());
    }
    current_ = rows_.size() ? 0 : rows_.size();
}

TableCursor::~TableCursor() = default;

std::vector<std::string> TableCursor::fieldNames() const
{
    std::vector<std::string> names;
    for (const auto &f : fields_)
        names.push_back(f.name);
    return names;
}

int TableCursor::fieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (text::equalsIgnoreAsciiCase(fields_[i].name, name))
            return static_cast<int>(i);
    return -1;
}

std::size_t TableCursor::column(std::string_view field) const
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw SqlError("Unknown column " + std::string(field) + " in " + path_.string());
    return static_cast<std::size_t>(i);
}

bool TableCursor::first()
{
    post();
    current_ = 0;
    return !atEnd();
}

bool TableCursor::next()
{
    post();
    if (current_ < rows_.size())
        ++current_;
    return !atEnd();
}

bool TableCursor::last()
{
    post();
    current_ = rows_.size() ? rows_.size() - 1 : 0;
    return !atEnd();
}

Value TableCursor::value(std::string_view field) const
{
    const std::size_t c = column(field);
    if (atEnd())
        throw SqlError("The cursor is past the last row of " + path_.string());
    if (modified_)
        return fromFieldValue(fields_[c], edit_[c]);
    if (auto it = posted_.find(current_); it != posted_.end())
        return fromFieldValue(fields_[c], it->second[c]);
    return fromFieldValue(fields_[c], rows_.value(current_, c));
}

void TableCursor::setValue(std::string_view field, const Value &value)
{
    const std::size_t c = column(field);
    if (atEnd())
        throw SqlError("The cursor is past the last row of " + path_.string());
    if (!modified_) {
        auto it = posted_.find(current_);
        edit_ = it != posted_.end() ? it->second : rows_.record(current_);
        modified_ = true;
    }
    edit_[c] = toFieldValue(fields_[c], value);
}

void TableCursor::post()
{
    if (!modified_)
        return;
    try {
        if (!writable_) {
            table_ = std::make_unique<dbf::DbfTable>(path_, false);
            writable_ = true;
        }
        table_->overwrite(rows_.recordNumber(current_), edit_);
        posted_[current_] = edit_;
    } catch (const std::exception &e) {
        modified_ = false;
        throw SqlError(std::string("Cannot write table: ") + e.what());
    }
    modified_ = false;
}

void TableCursor::pack(const std::filesystem::path &path)
{
    const std::filesystem::path resolved = files::resolveCaseInsensitive(path);
    try {
        dbf::DbfTable::pack(resolved);
    } catch (const std::exception &e) {
        TableCache::instance().forget(resolved);
        throw SqlError(std::string("Cannot pack table: ") + e.what());
    }
    TableCache::instance().forget(resolved);
}

} // namespace focaris::sql
