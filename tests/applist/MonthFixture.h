// A data folder with the three tables and a small month of applications built row by row,
// so that each test states exactly the households it works on.
#pragma once

#include "FakeUi.h"
#include "SqlRows.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/Tables.h"

#include <gtest/gtest.h>

namespace focaris::test {

struct Household {
    qint64 key = 0;
    int month = 0;
    QString name;
    QString cnp;
    int number = 0; // NR_CERE
    QString status = QStringLiteral("APROBAT");
    QString modified;    // CUMODIF: "X" or blank
    int months = 5;      // NR_LUNI
    double valmax = 100; // VALMAX
    double cuantum = 50; // CUANTUM
    int members = 1;     // NR_MEMBRI (and member rows written)
    double income = 500; // TVENIT
};

class MonthFolder : public ::testing::Test {
protected:
    TempDir dir;
    FakeUi ui;
    const int w = MonthCode(QStringLiteral("02.2024")); // the working month
    const int p = MonthCode(QStringLiteral("01.2024")); // the month before

    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        InitContextForTests(dir.qpath());
        CreateTables();
    }
    QString cereri() const { return Quoted(TablePath(QStringLiteral("Cereri.dbf"))); }
    QString oameni() const { return Quoted(TablePath(QStringLiteral("Oameni.dbf"))); }
    Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    qint64 count(const QString &table, const QString &where = {})
    {
        return QuerySql(QStringLiteral("SELECT COUNT(*) AS N FROM ") + table +
                        (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
            .value(0, "N")
            .toInt();
    }
    // The newest log entry's text.
    QString lastLog()
    {
        const auto r = QuerySql(QStringLiteral("SELECT ACTIUNE FROM ") + Quoted(TablePath(QStringLiteral("LOG.DBF"))) +
                                QStringLiteral(" ORDER BY IDLOG DESC"));
        return r.empty() ? QString() : ToQString(r.value(0, 0));
    }

    void add(const Household &h)
    {
        ExecSql(
            QStringLiteral(
                "INSERT INTO %1 (NRCRT, LUNACRT, LUNADEC, SUBSEMN, CNP, NR_CERE, DATACERE, STATUT, CUMODIF, "
                "NR_LUNI, VALMAX, CUANTUM, TOTAL, NR_MEMBRI, TVENIT, VENITM, CUAJUT, NRCAM, TARIF) VALUES "
                "(%2, %3, %3, \"%4\", \"%5\", %6, \"01.02.2024\", \"%7\", \"%8\", %9, %10, %11, %12, %13, %14, %15, "
                "\"X\", 2, 300)")
                .arg(cereri())
                .arg(h.key)
                .arg(h.month)
                .arg(h.name, h.cnp)
                .arg(h.number)
                .arg(h.status, h.modified)
                .arg(h.months)
                .arg(h.valmax)
                .arg(h.cuantum)
                .arg(h.months * h.valmax)
                .arg(h.members)
                .arg(h.income)
                .arg(h.income / h.members));
        for (int m = 0; m < h.members; ++m)
            ExecSql(
                QStringLiteral(
                    "INSERT INTO %1 (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE) VALUES (%2, %3, \"%4\", \"%5\", 100, \"%6\")")
                    .arg(oameni())
                    .arg(h.key * 10 + m)
                    .arg(h.key)
                    .arg(h.name, h.cnp, m == 0 ? QStringLiteral("SOLICITANT") : QStringLiteral("FIU")));
    }
    // A household with a name and key of its own in `month`.
    Household house(qint64 key, int month, const QString &name, int number = 0)
    {
        Household h;
        h.key = key;
        h.month = month;
        h.name = name;
        h.cnp = QStringLiteral("1%1").arg(key, 12, 10, QLatin1Char('0'));
        h.number = number ? number : static_cast<int>(key);
        return h;
    }
};

} // namespace focaris::test
