// Register archives for the import tests, written by an independent writer: a short
// Python script (python3-dbf for the tables, zlib for the container), so that the import
// is checked against files the program did not write itself. Also a few look-ups of the
// rows the import left.
#pragma once

#include <QJsonArray>
#include <QString>

#include <filesystem>
#include <vector>

namespace focaris::test {

struct RegisterTableDef {
    QString name;    // "Cereri.dbf"
    QString fields;  // "IDCERERE N(10,0); NUME C(40); CEREDATA D"
    QJsonArray rows; // one array per row; dates as "YYYY-MM-DD", null for blank
};

// Writes the archive; `cut` > 0 keeps only its first `cut` bytes (a damaged archive).
// False when the writer is not available (python3-dbf missing).
bool WriteRegisterArchive(const std::filesystem::path &archive, const std::vector<RegisterTableDef> &tables,
                          int cut = 0);

// The layouts of the two registers' tables, with only the columns the imports read.
extern const char *kVmgFiles, *kVmgInquiries, *kVmgMembers;
extern const char *kAsfFiles, *kAsfInquiries, *kAsfMembers;

} // namespace focaris::test
