// What the exports for the national agency, the tax agency, the treasury and the office's
// own lists share: the municipality's data they print, the text and number forms of the
// files, names split into family and given names, files written whole or not at all, and
// result rows seen as the rows a workbook template is filled from.
#pragma once

#include "core/Amount.h"
#include "core/Ui.h"
#include "documents/QueryRows.h"
#include "engines/localsql/ResultSet.h"
#include "engines/xls/RowSource.h"
#include "engines/xls/WorkbookFiller.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace focaris::exports {

// The administration data the exports print, read once per export.
struct ExportSettings {
    QString judet;     // county name (JUDET)
    QString codFiscal; // fiscal code as typed (SIRUES)
    QString localit;   // name of the authority (PRIMARIA)
    QString codJud;    // county code as typed (CODJUD)
    QString uat;       // kind of authority ("Comuna", ...)
    QString tipLoc;    // kind of locality ("COMUNA", "ORASUL", "MUNICIPIUL")
    QString primar;    // mayor
    Amount cu1;        // the first compensation level, percent
};
ExportSettings LoadExportSettings();

// A refused entry: the message shown and the field (or the application) it is about.
struct Refusal {
    QString message, field;
};

// What an export did: the files it wrote (in the order written), or why it did not.
struct ExportResult {
    bool done = false;
    QStringList files;
    std::optional<Refusal> refused;
};

// The digits of a fiscal code as the fiscal-code check reads them: blanks and a leading
// prefix such as "RO" dropped. Empty when anything but digits remains.
QString FiscalDigits(const QString &code);

// The text without the characters an XML file cannot hold (controls other than tab, line
// feed and carriage return, unpaired surrogates, U+FFFE and U+FFFF).
QString XmlSafe(const QString &text);

// A number in its shortest decimal form with up to 15 significant digits, "." before the
// decimals and no grouping: 1768.5, 12, 0.6.
QString NumberText(double value);
// Halves to the even number, as the agencies' totals are rounded.
qint64 RoundedWhole(double value);

// The family name is the text before the first blank (empty for a one-word name), the
// given names the rest (the whole name for a one-word name). Blanks around either part
// are dropped.
QString FamilyName(const QString &name);
QString GivenNames(const QString &name);

// Values of a result row: texts trimmed (a blank text reads back as NULL, which is the
// empty text here), numbers as doubles (NULL is 0).
QString TextOf(const sql::Value &value);
double NumberOf(const sql::Value &value);

// Writes a whole file through a temporary file beside it that is renamed into place, so
// that a failure leaves the old file (or none), never a half-written one. Throws
// std::runtime_error with a Romanian message naming the file.
void CommitFile(const QString &path, const QByteArray &bytes);
// Renames a finished temporary file over `target` in one step (the old file, if any, is
// replaced at once). Throws with a Romanian message naming the file.
void RenameOver(const QString &source, const QString &target);
// Moves a finished file to `target` the same way (the source is removed afterwards).
void MoveInto(const QString &source, const QString &target);

// True when `path` lies inside `folder` (or is the folder), after resolving "..",
// symbolic links and the case of the names as the file system sees them.
bool IsInside(const QString &path, const QString &folder);

// A result set seen as the rows of a workbook template.
using documents::ResultRows;

// Rows built by the program itself (names split, addresses joined), for the same use.
class MemoryRows : public xls::RowSource {
public:
    void addColumn(const std::string &name, xls::ColumnKind kind) { columns_.push_back({name, kind}); }
    void addRow(std::vector<xls::FieldValue> row) { rows_.push_back(std::move(row)); }
    static xls::FieldValue text(const QString &t);
    static xls::FieldValue number(double n);
    int columnCount() const override { return int(columns_.size()); }
    std::string columnName(int c) const override { return columns_[std::size_t(c)].name; }
    xls::ColumnKind columnKind(int c) const override { return columns_[std::size_t(c)].kind; }
    std::size_t rowCount() const override { return rows_.size(); }
    xls::FieldValue value(std::size_t r, int c) const override { return rows_[r][std::size_t(c)]; }

private:
    struct Column {
        std::string name;
        xls::ColumnKind kind;
    };
    std::vector<Column> columns_;
    std::vector<std::vector<xls::FieldValue>> rows_;
};

// The filler's hooks: outputs named in the temporary folder, finished workbooks handed
// to the person through `ui`.
xls::WorkbookFiller::Hooks FillerHooks(Ui &ui);

} // namespace focaris::exports
