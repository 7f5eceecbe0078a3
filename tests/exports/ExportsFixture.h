// A small data folder for the export tests: the municipality's settings, working month
// 01.2024 and a handful of applications chosen for what the files must get right (an
// address with "&" and "<", a one-word name, a child, an adult turning 18 on the day, a
// member entered twice, a rejected application, supplements of every kind).
#pragma once

#include "FakeUi.h"
#include "TestSupport.h"
#include "admin/AidParameters.h"
#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/Tables.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <map>

namespace focaris::test {

class ExportsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        InitContextForTests(tmp.qpath() + "/prog");
        CreateTables();
        Municipality m;
        m.uat = "Comuna";
        m.primaria = "SAT NOU";
        m.sirues = "RO 4562345";
        m.judet = "ALBA";
        m.codJud = "1";
        m.primar = "ION VOICU";
        m.tipLoc = 0;
        SaveMunicipality(m);
        SetWorkingMonth("01.2024");
        out = tmp.qpath() + "/out";
        QDir().mkpath(out);
    }

    static QString table(const char *name) { return Quoted(TablePath(name)); }

    // One application of the working month (24288 = 01.2024) with the given columns.
    void addApp(std::map<QString, QString> values)
    {
        values.try_emplace("LUNACRT", "24288");
        values.try_emplace("STATUT", "'APROBAT'");
        QStringList cols, vals;
        for (const auto &[c, v] : values) {
            cols << c;
            vals << v;
        }
        ExecSql(QStringList{"INSERT INTO " + table("Cereri.dbf"), "(" + cols.join(",") + ")",
                            "VALUES (" + vals.join(",") + ")"});
    }
    void addMember(int nrcrt, int nrom, const QString &name, const QString &cnp, const QString &income,
                   const QString &role)
    {
        ExecSql(QStringList{
            "INSERT INTO " + table("Oameni.dbf") + " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
            QString("VALUES (%1, %2, '%3', '%4', %5, '%6')").arg(nrom).arg(nrcrt).arg(name, cnp, income, role)});
    }

    // The folder of the whole-file tests.
    void addSmallFolder()
    {
        addApp({{"NRCRT", "1"},
                {"NR_CERE", "12"},
                {"SUBSEMN", "'POPESCU ION'"},
                {"CNP", "'1800101123456'"},
                {"LOCALIT", "'SAT NOU'"},
                {"ADRESA", "'STR. MORII & <CASA> NR 5'"},
                {"NR_MEMBRI", "4"},
                {"TVENIT", "900"},
                {"VENITM", "225"},
                {"CUAJUT", "'X'"},
                {"SUMAL", "12.6"},
                {"SUMAG", "10"},
                {"CNPG", "'1800101123456'"},
                {"FURNG", "'GAZ EST'"},
                {"PODG", "'PG1'"},
                {"CODCLG", "'CG1'"},
                {"SUMAE", "30"},
                {"CNPE", "'1800101123456'"},
                {"FURNE", "'ELECTRICA SA'"},
                {"PODE", "'PE1'"},
                {"CODCLE", "'CE1'"},
                {"SUMAT", "0.4"},
                {"FURNT", "'TERMO \"CALD\"'"},
                {"CODCLT", "'CT1'"},
                {"CNPT", "'1800101123456'"},
                {"TOTAL", "1768.5"},
                {"CUANTUM", "90"},
                {"NR_LUNI", "5"},
                {"NR_DISP", "'101'"},
                {"DATACERE", "'05.01.2024'"},
                {"DATADISP", "'10.01.2024'"},
                {"STCIV", "'C'"},
                {"SITSCOL", "'M'"},
                {"SITPROF", "'pensionar'"},
                {"COPII14", "1"},
                {"COPII18", "0"},
                {"NRCAM", "2"}});
        addMember(1, 1, "POPESCU ION", "1800101123456", "600.5", "beneficiar");
        addMember(1, 2, "POPESCU MARIA", "2850202123456", "299.5", "partener");
        addMember(1, 3, "POPESCU MARIA", "2850202123456", "299.5", "adult");
        addMember(1, 4, "POPESCU ANA", "6100301123456", "0", "copil");
        addApp({{"NRCRT", "2"},
                {"NR_CERE", "7"},
                {"SUBSEMN", "'IONESCU'"},
                {"CNP", "'2750505123456'"},
                {"LOCALIT", "'DEALU'"},
                {"NR_MEMBRI", "3"},
                {"TVENIT", "1000"},
                {"VENITM", "333.33"},
                {"CUAJUT", "'X'"},
                {"SUMAT", "10"},
                {"FURNT", "'TERMO'"},
                {"CNPT", "'2750505123456'"},
                {"TOTAL", "500"},
                {"CUANTUM", "80"},
                {"NR_LUNI", "5"},
                {"NR_DISP", "'102'"},
                {"DATACERE", "'06.01.2024'"},
                {"DATADISP", "'11.01.2024'"},
                {"STCIV", "'V'"},
                {"NRCAM", "1"},
                {"COPII14", "0"},
                {"COPII18", "1"}});
        addMember(2, 5, "IONESCU", "2750505123456", "1000", "beneficiar");
        addMember(2, 6, "IONESCU RADU", "5060115123456", "0", "copil");
        addMember(2, 7, "IONESCU DAN", "5060114123456", "0", "adult");
        addApp({{"NRCRT", "3"},
                {"NR_CERE", "20"},
                {"SUBSEMN", "'GEORGESCU VASILE'"},
                {"CNP", "'1700707123456'"},
                {"LOCALIT", "'SAT NOU'"},
                {"NR_MEMBRI", "1"},
                {"STATUT", "'RESPINS'"},
                {"TOTAL", "0"},
                {"SUMAL", "0"},
                {"MOTIVR", "'venit peste limita'"}});
        addMember(3, 8, "GEORGESCU VASILE", "1700707123456", "3000", "beneficiar");
        addApp({{"NRCRT", "4"},
                {"LUNACRT", "24287"},
                {"NR_CERE", "1"},
                {"SUBSEMN", "'ALTA LUNA'"},
                {"NR_MEMBRI", "1"},
                {"TOTAL", "100"},
                {"SUMAL", "20"}});
        addMember(4, 9, "ALTA LUNA", "1800101123456", "100", "beneficiar");
        addApp({{"NRCRT", "5"},
                {"NR_CERE", "30"},
                {"SUBSEMN", "'BARBU ELENA'"},
                {"CNP", "'2600606123456'"},
                {"LOCALIT", "'DEALU'"},
                {"NR_MEMBRI", "1"},
                {"TOTAL", "0"},
                {"SUMAL", "12.5"}});
    }

    // xmllint's verdict on a file against one of our schemas: empty when valid.
    static QString schemaErrors(const QString &file, const QString &schema)
    {
        QProcess p;
        p.start("xmllint", {"--noout", "--schema", QString(FOCARIS_SCHEMAS) + "/" + schema, file});
        p.waitForFinished(-1);
        if (p.exitCode() == 0)
            return {};
        return QString::fromUtf8(p.readAllStandardError());
    }
    static QByteArray bytesOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray expected(const char *name)
    {
        return bytesOf(QString::fromStdString((dataDir() / "good" / "exports" / name).string()));
    }

    TempDir tmp;
    FakeUi ui;
    QString out;
};

} // namespace focaris::test
