// The municipality's identity and officials as kept in section "SETARI" of the shared
// settings file, the county list with its abbreviations and codes, the fiscal-code check,
// the paragraph letter of a percentage and the check that the settings needed by every
// list and report are present.
#pragma once

#include "admin/AidParameters.h"
#include "core/Ui.h"

#include <QString>
#include <QStringList>

namespace focaris {

struct Municipality {
    QString uat = "U.A.T."; // UAT: kind of authority, one of UatKinds()
    QString primaria;       // PRIMARIA: name, at most 32 characters, in capitals
    QString sirues;         // SIRUES: fiscal code, at most 16 characters
    QString judet = "ALBA"; // JUDET: one of Counties(), upper case
    QString codJud;         // CODJUD: county code, at most 16 characters
    QString primar, viceprimar, contabil, intocmit, director;
    int tipLoc = 0; // TIPLOC: index into LocalityKinds()
};

// "U.A.T.", "Comuna", "Primaria", "Orasul", "Municipiul".
const QStringList &UatKinds();
// "COMUNA", "ORASUL", "MUNICIPIUL".
const QStringList &LocalityKinds();
// The 48 counties in the window's order ("ALBA" .. "SECTOR 6").
const QStringList &Counties();
// 1..48 for a county of the list (compared in upper case), 0 otherwise.
int CountyPosition(const QString &county);
// The abbreviation at the county's position ("AB", .. "B"), empty for an unknown county.
QString JudAbr(const QString &county);
// The code derived from the county when none is typed: its position with two digits
// ("01" for ALBA, "42" for BUCURESTI); empty for an unknown county.
QString DerivedCountyCode(const QString &county);

// Reads the identity from the shared settings file over the defaults above: texts as
// stored (empty when absent), UAT and JUDET only when they name an item of their list
// (JUDET compared in upper case; an unknown county leaves it empty), TIPLOC as a number
// (0 when absent or not a number).
Municipality LoadMunicipality();
// Writes the identity as texts (TIPLOC as its index).
void SaveMunicipality(const Municipality &m);

// The Romanian fiscal code with its control digit; a prefix such as "RO" and blanks are
// ignored, the digits are padded on the left with zeros to ten.
bool CheckFiscalCode(const QString &code);

// The paragraph letter of a percentage: "a" + (k − 1) for the first k in 1..11 whose Cu k
// equals it, "j" when none does.
QString CompensationLetter(int percent, const AidParameters &params);

// The message for the first setting missing for lists and reports (each beginning with a
// line break), or the empty text when everything is present.
QString SettingsReady(const Municipality &m, const QString &workingMonth);
// The same check on the settings in force and the working month; shows the message
// (title "Raport AJPIS", error, OK) and returns false when something is missing.
bool SettingsReady(Ui &ui);

} // namespace focaris
