// What every document of the month shares: the outcome an operation returns, the
// template file of the data folder, the progress window held for the length of a
// document, and the column look-up of a result row.
#pragma once

#include "core/Ui.h"
#include "engines/localsql/ResultSet.h"

#include <QString>

namespace focaris::documents {

// What a document operation did. A refusal names the field it concerns and its hint;
// the window shows it at the field, the tool prints it.
struct Outcome {
    bool written = false; // the document was completed
    QString file;         // the file written
    QString field;        // set with `message` when an entry was refused
    QString message;
    bool refused() const { return !field.isEmpty(); }
    static Outcome Refused(const QString &field, const QString &message) { return {false, {}, field, message}; }
    static Outcome Done(const QString &file) { return {true, file, {}, {}}; }
};

// The data folder's file of that name, found whatever the case of its name (the name as
// given when there is none).
QString DataFile(const QString &name);
// True when the file exists.
bool FileExists(const QString &path);

// The progress window for the length of one document: shown on creation, hidden when
// the document ends, also by an error.
class ProgressScope {
public:
    ProgressScope(Ui &ui, const QString &text, int maximum);
    ~ProgressScope();
    // One step per record; the window is advanced once every `every_` records, so that a
    // document of a city does not spend its time painting.
    void step();

private:
    Ui &ui_;
    int every_ = 1;
    int count_ = 0;
};

// The row of Cereri.dbf with that NRCRT (no row when there is none).
sql::ResultSet ReadApplication(qint64 nrcrt);

// The index of a result column, looked up once per document.
class Columns {
public:
    explicit Columns(const sql::ResultSet &rows) : rows_(rows) {}
    // Throws std::runtime_error naming the column when the result lacks it.
    int operator[](const char *name) const;

private:
    const sql::ResultSet &rows_;
};

} // namespace focaris::documents
