// What the report operations share about the files they write: file names made from
// supplier names, the templates they open (and the message when one is missing), files
// and whole output folders that appear only when complete, and rows built in memory that
// fill a workbook template.
#pragma once

#include "core/Ui.h"
#include "engines/common/FileChanges.h"
#include "engines/xls/RowSource.h"
#include "engines/xls/WorkbookFiller.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace focaris::reports {

// Names of files and folders made from names typed by the clerk (suppliers, fiscal
// codes). Folder separators, "..", control characters and the characters Windows refuses
// ( < > : " | ? * ) become "_", as do trailing dots and blanks and the reserved device
// names (CON, NUL, COM1 ...). The same typed name always gets the same file name; a
// second typed name that cleans to a name already given (compared without regard to
// case, as Windows compares them) gets "_2", a third "_3".
class SafeFileNames {
public:
    QString nameFor(const QString &typed);
    // The cleaning alone, without the collision rule.
    static QString clean(const QString &typed);

private:
    QHash<QString, QString> given_; // typed name -> file name
    QHash<QString, int> used_;      // file name in lower case -> how many typed names
};

// Opens a workbook template. When it does not exist or cannot be read, shows
// `title`: "\rNu exista modelul " + path + "!" (error, OK) and returns false.
bool OpenReportTemplate(Ui &ui, xls::WorkbookFiller &filler, const QString &path, const QString &title);

// The filler's hooks for reports: outputs named in the temporary folder; nothing is
// handed to the person (reports copy their outputs where the person chose); pending
// events are processed now and then while rows are filled.
xls::WorkbookFiller::Hooks ReportFillerHooks();

// Calls write(temporary) for a file beside `target` and renames it onto `target` when
// write returned normally; a throw or a failed rename leaves `target` as it was and
// removes the temporary file. The temporary file is noted for the start-up
// (OutsideNote), so that a crash leaves no scratch file behind. Throws std::runtime_error (Romanian message) when the
// rename fails.
void WriteThroughTemp(const QString &target, const std::function<void(const QString &)> &write);

// An OutsideWrite for `target` noted in the program folder (none without one).
std::unique_ptr<files::OutsideWrite> OutsideNote(const QString &target);

// The folder a report writes (for instance TERMICA_AJPIS in the folder the person chose).
// prepare() asks before replacing an existing one and refuses one that has a file open;
// the files are then written into a staging folder beside it, and commit() puts the
// staging folder in its place. A report that fails or is abandoned leaves the old folder
// (or none) untouched and removes the staging folder, so no half-made set looks complete.
class ReportFolder {
public:
    ReportFolder() = default;
    ~ReportFolder();
    ReportFolder(const ReportFolder &) = delete;
    ReportFolder &operator=(const ReportFolder &) = delete;

    // `parent` + the platform separator + `name`. On an existing folder asks
    // title: "\rDirectorul D exista deja!\rIl inlocuim?" (warning, Da + Nu); any answer
    // but Da, or a folder with a file in use ("... nu poate fi inlocuit! ..." error),
    // gives false and changes nothing. True when the staging folder is ready.
    bool prepare(Ui &ui, const QString &title, const QString &parent, const QString &name);
    // The start of a report: the municipality's settings checked (SettingsReady), the
    // parent folder asked with `caption`, then prepare(). False when any of them stops it.
    bool choose(Ui &ui, const QString &title, const QString &caption, const QString &name);

    const QString &target() const { return target_; }
    const QString &staging() const { return staging_; }
    // A path inside the staging folder (relative parts joined with "/").
    QString staged(const QString &relative) const;
    // The same path once committed, as the person will find it.
    QString final(const QString &relative) const;

    // Replaces the old folder by the staging folder. On failure shows the "nu poate fi
    // inlocuit" message and returns false; the old folder stays.
    bool commit(Ui &ui, const QString &title);

private:
    QString target_, staging_, aside_;
    bool committed_ = false;
    // The staging folder and the old folder's place aside, noted in the program folder so
    // that a start after a crash puts the old folder back and removes the staging one.
    std::unique_ptr<files::OutsideWrite> note_;
};

// Rows built by the report itself (addresses joined, amounts added), seen as the query
// the filler repeats its data row for.
class ReportRows : public xls::RowSource {
public:
    void addColumn(const std::string &name, xls::ColumnKind kind);
    void addRow(std::vector<xls::FieldValue> row) { rows_.push_back(std::move(row)); }
    static xls::FieldValue text(const QString &t);
    static xls::FieldValue number(double n);

    int columnCount() const override { return int(columns_.size()); }
    std::string columnName(int c) const override { return columns_[std::size_t(c)].first; }
    xls::ColumnKind columnKind(int c) const override { return columns_[std::size_t(c)].second; }
    std::size_t rowCount() const override { return rows_.size(); }
    xls::FieldValue value(std::size_t r, int c) const override { return rows_[r][std::size_t(c)]; }

private:
    std::vector<std::pair<std::string, xls::ColumnKind>> columns_;
    std::vector<std::vector<xls::FieldValue>> rows_;
};

// The highest row an .xls sheet can hold.
inline constexpr int kXlsMaxRows = 65536;

// True when `rows` records fit the active sheet of `filler` once its data row is repeated
// (the sheet's last used row grows by rows - 1). Otherwise shows title: "\rAnexa ANNEX
// nu incape intr-o foaie .xls: N randuri, cel mult 65536!" (error) and returns false.
bool RowsFit(Ui &ui, xls::WorkbookFiller &filler, std::size_t rows, const QString &annex, const QString &title);

} // namespace focaris::reports
