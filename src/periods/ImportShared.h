// What the two register imports share: the rows they bring in, the address and the role
// of a member as the registers write them, the rebuilding of the members table, and the
// common course of an import (unpacking, checking the archive, the save before the
// previous import is replaced, the writing of the rows, the log entry and the messages).
#pragma once

#include "periods/Imports.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace focaris::periods {

// One application of the register as it will be stored (the defaults of an imported
// application are added when it is written).
struct ImportedApplication {
    QString subsemn, cnp, localit, adresa, stciv, sitscol, l416, asf, asig;
    double nrMembri = 0, tvenit = 0, nrCam = 0, nrCere = 0;
    std::optional<std::int32_t> dataCere;
};

// One member, attached to the application at position `application` of the plan.
struct ImportedMember {
    std::size_t application = 0;
    QString titular, cnp, calitate;
    double venit = 0;
};

// Everything an import will write, in the order it is written.
struct ImportPlan {
    std::vector<ImportedApplication> applications;
    std::vector<ImportedMember> members;
};

// 1 "beneficiar"; 2 or 3 "partener"; 4 "copil"; anything else (blank included) "adult".
QString RoleFromRelationCode(double code, bool blank);

// "str." street, " nr." number, " bl." block, " sc." staircase, " et." floor, " ap."
// apartment, each only when given, then cleaned and in capitals.
QString ImportedAddress(const QString &street, const QString &number, const QString &block, const QString &staircase,
                        const QString &floor, const QString &apartment);

// Keeps in Oameni.dbf only the members whose application is still in Cereri.dbf: they are
// marked deleted and the table is packed, which builds the new table complete beside the
// old one and renames it over it, so that at every moment the folder holds a whole members
// table (never none). Nothing is written when every member still has its application.
void RebuildMembersTable();
// Called when the members to drop are marked, just before the packed table replaces the
// old one (tests stop the rebuilding there).
std::function<void()> &BeforeMembersTableReplaced();

// The description of one register's import.
struct RegisterImport {
    QString folderPrefix;                      // "VMG", "ASF": the unpacked copy's folder in the temporary folder
    QString defectTitle;                       // "Preluare L416"
    QString doneTitle;                         // "Import din Legea 416"
    QString logText;                           // "Import date din L416."
    int monthCode = 0;                         // 1 or 2
    int applicationStep = 10, memberStep = 20; // rows per step of the bar
    bool keepUnpacked = false;
    // Reads the unpacked tables and selects what is imported; returns why the archive
    // cannot be used (a missing table or column) without changing anything.
    std::function<std::optional<QString>(const QString &folder, ImportPlan &plan)> read;
};

// The course of an import from an archive already chosen.
ImportResult RunRegisterImport(Ui &ui, const RegisterImport &kind, const QString &archivePath);

} // namespace focaris::periods
