// What the editor benchmarks type for a new application: valid CNPs and the fields and
// three members of household number `i`, in the month the city folder works in.
#pragma once

#include "applications/ApplicationEditor.h"

#include <QString>

namespace focaris::bench {

// The first 12 digits of a CNP with its control digit.
inline QString validCnp(const QString &first12)
{
    static const int w[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i].unicode() - '0') * w[i];
    return first12 + QString::number(sum % 11 == 10 ? 1 : sum % 11);
}

// Fills the editor, opened in add mode, with a household of three members with 300 lei
// each, heated by `supplier`.
inline void TypeNewApplication(ApplicationEditor &editor, int i, const QString &supplier)
{
    const QString applicant = validCnp(QString("1700101%1").arg(10000 + i, 5, 10, QChar('0')));
    ApplicationFields &f = editor.fields();
    f.CNPSol = applicant;
    f.CNPT = applicant;
    f.SubSemn = "BENCH ION";
    f.TitT = "BENCH ION";
    f.Nr_Cere = QString::number(900000 + i);
    f.AnulDec = "2024";
    f.Localit = "ORAS";
    f.NrMembri = "3";
    f.VenitTotal = "900";
    f.Furnizor = supplier;
    f.Tarif = "300";
    f.NrCam = "2";
    editor.addMember({"BENCH ION", applicant, "300", "beneficiar"});
    editor.addMember(
        {"BENCH ANA", validCnp(QString("2700101%1").arg(20000 + i, 5, 10, QChar('0'))), "300", "partener"});
    editor.addMember({"BENCH MIC", validCnp(QString("5150101%1").arg(30000 + i, 5, 10, QChar('0'))), "300", "copil"});
}

} // namespace focaris::bench
