// A scratch data folder for the editor's tests: the three tables, a working month, and
// helpers that write earlier applications and members the way the program stores them.
#pragma once

#include "FakeUi.h"
#include "SqlRows.h"
#include "TestSupport.h"
#include "applications/ApplicationEditor.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/Tables.h"

#include "core/Keys.h"

#include <gtest/gtest.h>

namespace focaris::test {

// A valid CNP from its first 12 digits (the control digit computed).
inline QString Cnp(const QString &first12)
{
    static const int weights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i].unicode() - '0') * weights[i];
    const int r = sum % 11;
    return first12 + QString::number(r == 10 ? 1 : r);
}

class EditorFixture : public ::testing::Test {
protected:
    static constexpr const char *kMonth = "11.2025";

    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        InitContextForTests(tmp.qpath() + "/prog");
        CreateTables();
        SetWorkingMonth(kMonth);
        WriteSetting("VARIABILE", "LUNA_LUCRU", kMonth);
    }

    int month() const { return MonthCode(kMonth); }

    // One stored application with the columns the editor reads; the rest blank.
    void addApplication(qint64 nrcrt, int lunacrt, const QString &cnp, const QString &name, qint64 nrCere,
                        const QString &date = "05.10.2025", const QString &extra = {}, const QString &extraValues = {})
    {
        ExecSql(QStringList{
            "INSERT INTO " + Quoted(TablePath("Cereri.dbf")) +
                " (NRCRT, LUNACRT, LUNADEC, CNP, SUBSEMN, TITT, CNPT, LOCALIT, ADRESA, FURNT, CODCLT, ASOC, NRCONT,"
                " NR_MEMBRI, TVENIT, NR_CERE, DATACERE, STATUT, CUAJUT, TARIF, NRCAM, NR_LUNI" +
                extra + ")",
            QString("VALUES (%1, %2, %3, \"%4\", \"%5\", \"%5\", \"%4\", \"ORAS\", \"STR. MARE 1\", \"TERMO SA\","
                    " \"C1\", \"ASOC 1\", \"K7\", 2, 900, %6, \"%7\", \"APROBAT\", \"X\", 310.5, 2, 5%8)")
                .arg(nrcrt)
                .arg(lunacrt)
                .arg(lunacrt)
                .arg(cnp, name)
                .arg(nrCere)
                .arg(date, extraValues)});
        // As the start-up would: the counter never gives a key already in the table.
        RaiseKey("NRCRT", nrcrt);
    }

    void addMember(qint64 nrom, qint64 nrcrt, const QString &name, const QString &cnp, const QString &venit = "450",
                   const QString &role = "beneficiar")
    {
        ExecSql("INSERT INTO " + Quoted(TablePath("Oameni.dbf")) +
                QString(" (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE) VALUES (%1, %2, \"%3\", \"%4\", %5, \"%6\")")
                    .arg(nrom)
                    .arg(nrcrt)
                    .arg(name, cnp, venit, role));
    }

    Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    QString cereri() const { return Quoted(TablePath("Cereri.dbf")); }
    QString oameni() const { return Quoted(TablePath("Oameni.dbf")); }

    // Fills the fields of an opened editor with a complete, acceptable application.
    static void fillValid(ApplicationEditor &e, const QString &cnp)
    {
        ApplicationFields &f = e.fields();
        f.CNPSol = cnp;
        f.SubSemn = "POPESCU ION";
        f.TitT = "POPESCU ION";
        f.CNPT = cnp;
        f.Nr_Cere = "17";
        f.DataCereD = QDate(2025, 11, 3);
        f.AnulDec = "2025";
        f.LunaDec = "11";
        f.Nr_Luni = "5";
        f.Localit = "ORAS";
        f.Adresa = "STR. MICA 2";
        f.NrMembri = "3";
        f.VenitTotal = "1200";
        f.Furnizor = "TERMO SA";
        f.Tarif = "300";
        f.NrCam = "2";
        f.StCiv = "Casatorit /a";
        f.SitScol = "Studii medii";
        f.CuAjut = true;
    }

    TempDir tmp;
    FakeUi ui;
};

} // namespace focaris::test
