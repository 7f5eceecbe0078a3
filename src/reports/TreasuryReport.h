// The treasury's files for the wood supplements of a transfer date, in the folder
// "Termica_Trezorerie": the beneficiaries' table in the treasury's fixed layout, annex 2
// (workbook), annex 3 (RTF summary) and the text statement "StatTo_...txt".
#pragma once

#include "core/Ui.h"
#include "reports/ExportCommon.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace focaris::exports {

// The two captions of the report's window, printed in its outputs.
inline const QString kTreasurySupplement = QStringLiteral("074 - Supliment combustibili solizi/petrolieri");
inline const QString kTreasuryLaw = QStringLiteral("- Legea nr.226/2021, art. 25 alin.(1) lit.d) ");
// The first item of the locality list: no restriction.
inline const QString kAllLocalities = QStringLiteral("* toate localitatile *");

// What the selection window gives.
struct TreasuryChoice {
    QDate transferDate;
    QString locality; // empty or kAllLocalities for every locality
    QString firstLetter = QStringLiteral("A");
    QString lastLetter = QStringLiteral("Z");
};

struct TreasuryResult {
    bool done = false; // false: the window stays open (cancelled, refused or in use)
    QString folder;    // the output folder
    QStringList files; // table, annex 2, annex 3, statement
    std::optional<Refusal> refused;
};

// The check the menu command makes before the window opens.
bool TreasuryReady(Ui &ui);

// The window's "Creaza Raport": selects the applications, checks that every value fits the
// treasury's fields, asks for the folder, replaces it after a question and writes the four
// files, each whole; finally hands the folder to the desktop.
TreasuryResult CreateTreasuryReport(Ui &ui, const TreasuryChoice &choice);

// Name of the table: county code (two characters at least) + fiscal code digits + "_" +
// dd-MM-yyyy + ".dbf".
QString TreasuryTableName(const ExportSettings &s, const QDate &transferDate);

// The statement's bytes (Windows-1250, CR LF) for `count` payments of `total` lei.
QByteArray TreasuryStatement(const ExportSettings &s, const QDate &transferDate, qint64 count, double total);

} // namespace focaris::exports
