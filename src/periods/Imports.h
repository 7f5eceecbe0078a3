// The imports of the households of the two other registers of the office: the
// guaranteed-minimum-income register ("VMG", archives ".416", month code 1) and the
// family-allowance register ("ASF", archives ".as2", month code 2). Each import replaces
// the previous import of its kind; the rows belong to no working month and the editor's
// CNP look-up offers them.
#pragma once

#include <QString>

namespace focaris {
class Ui;
}

namespace focaris::periods {

// What an import did. `imported` is false when the person cancelled the file dialog,
// the archive was damaged or incomplete (the tables are then exactly as they were) or
// the save before replacing failed.
struct ImportResult {
    bool imported = false;
    qint64 applications = 0, members = 0;
    QString savedTo;    // the dated save of the data folder made before the replacement
    QString unpackedTo; // the unpacked copy of the archive (VMG: kept until the run ends)
};

// The menu items "Import din VMG" and "Import din ASF": the file dialog, then the import.
ImportResult ImportFromVmg(Ui &ui);
ImportResult ImportFromAsf(Ui &ui);

// The same with the archive already chosen (the tool, the tests).
ImportResult ImportVmgArchive(Ui &ui, const QString &archivePath);
ImportResult ImportAsfArchive(Ui &ui, const QString &archivePath);

} // namespace focaris::periods
