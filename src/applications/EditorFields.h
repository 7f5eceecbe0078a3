// The values of the application editor as plain data: every field as the window shows it
// (numbers as their typed text, lists by their texts, boxes as flags), the held gas and
// electricity contract data, one family member, and a refused entry with the field it
// points at. Shared by the editor operation, its store, its windows and the tool.
#pragma once

#include "core/Amount.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace focaris {

enum class EditorMode { Add, Modify };

// A refused entry: the hint text and the name of the field it belongs to (the field
// names of ApplicationFields, or of the member and supplement dialogs: "Titular", "CNP",
// "Venit", "Furnizor", ...). An empty message means nothing was refused.
struct EditorRefusal {
    QString message;
    QString field;
    bool refused() const { return !message.isEmpty(); }
};

// The editor's fields, named as the window names them. Numeric fields hold their text.
struct ApplicationFields {
    QString CNPSol;
    QString SubSemn;
    QString Nr_Cere = QStringLiteral("1");
    bool NewNo = false;
    QDate DataCereD;
    QString LunaDec = QStringLiteral("11"); // "01".."12"
    QString AnulDec;
    QString Nr_Luni = QStringLiteral("5");
    QString Localit;
    QString Adresa;
    QString NrMembri = QStringLiteral("0");
    QString VenitTotal = QStringLiteral("0");
    QString TitT;
    QString CNPT;
    QString Furnizor;
    QString CodClient;
    QString NrCont;
    QString Asoc;
    QString Tarif = QStringLiteral("0");
    QString StatutD = QStringLiteral("APROBAT");
    QString MotivC;
    bool CuModif = false;
    bool L416 = false;
    bool ASF = false;
    QString StCiv;   // text of the civil-status list, empty for no selection
    QString SitScol; // text of the schooling list, empty for no selection
    QString NrCam = QStringLiteral("0");
    bool Asig = false;
    QString SitProf;
    QString Copii14 = QStringLiteral("0");
    QString Copii18 = QStringLiteral("0");
    bool CuAjut = true;
    bool SupL = false;
    bool SupT = false;
    bool Actualizare = false;
};

// The contract data of the gas or the electricity supplement.
struct SupplementData {
    QString Furnizor, CodClient, POD, Titular, CNP;
    bool empty() const
    {
        return Furnizor.isEmpty() && CodClient.isEmpty() && POD.isEmpty() && Titular.isEmpty() && CNP.isEmpty();
    }
};

enum class SupplementKind { Gas, Electricity };
// "G" or "E": the letter that names the kind's columns (FURNG, CODCLE, ...).
QString SupplementLetter(SupplementKind kind);

// One family member as the member dialog shows it (the income as typed text).
struct MemberFields {
    QString Titular, CNP;
    QString Venit = QStringLiteral("0");
    QString Calitate = QStringLiteral("beneficiar");
};

// One row of the members table.
struct MemberRow {
    qint64 nrom = 0;
    qint64 nrcrt = 0;
    QString titular, cnp;
    Amount venit;
    QString calitate;
};

// The fixed lists of the editor and the member dialog, in list order.
const QStringList &CivilStatusTexts(); // "Casatorit /a", ...
const QStringList &CivilStatusCodes(); // "C", "N", "UC", "DF", "V", "D"
const QStringList &SchoolingTexts();   // "Fara studii ", ...
const QStringList &SchoolingCodes();   // "FS", "G", "M", "S", "C"
const QStringList &ProfessionalSituations();
const QStringList &MemberRoles(); // "beneficiar", "partener", "adult", "copil"
const QStringList &StatusTexts(); // "APROBAT", "RESPINS"
// List text <-> stored code; an unknown text gives "", an unknown code gives "".
QString CodeOfText(const QStringList &texts, const QStringList &codes, const QString &text);
QString TextOfCode(const QStringList &texts, const QStringList &codes, const QString &code);

// CleanText with the blank it may leave at an end removed (a double quote at the end of a
// name becomes a blank there), so that a text made only of quotes and blanks is empty.
QString CleanField(const QString &text);

// The value of a numeric field: its text read as a number (a leading decimal separator
// reads with a 0 before it); text that does not parse is 0.
Amount FieldNumber(const QString &text);
// The integer part of a numeric field, as the conversions of field values truncate.
qint64 FieldWhole(const QString &text);

// The widths of the columns the editor's texts are stored in; a field accepts no more
// characters than its column holds, so nothing is cut when it is stored.
int ColumnWidth(const QString &fieldName);

} // namespace focaris
