// A small data folder whose every count and sum the report tests work out by hand, and
// the reading of a written workbook through an independent reader (xlrd, openpyxl).
//
// Working month 12.2024 (code 24299); the period 11.2024 .. 03.2025. Default limits
// 200 320 440 560 680 920 1040 1160 1280 1386 2053 and levels 100 90 .. 20 10 10.
//
//  name           month members VENITM NR_LUNI CUANTUM VALMAX TOTAL  status     supplements (supplier)
//  ALBU ANA       12    1       200    5       100     250.5  1252.5 APROBAT    T 10 (TERMO SA)
//  BOBOC ION      12    2       320.01 3       80      100    300    APROBAT    T 11 (TERMO SA), G 10, E 30 (E.ON GAZ)
//  CIOBANU MARIA  12    3       0      1       100     80     80     APROBAT    L 20; blank address, no disposition
//  DAN PETRU      12    7       1386   5       10      40     200    APROBAT    T 12 (O'NEIL ENERGIE), E 70 (ELECTRICA/NORD)
//  ENE VASILE     12    1       1300   3       10      30     90     APROBAT    G 13 (E.ON GAZ), gas holder "POP"
//  FLOREA RADU    12    2       500    5       70      90     450    RESPINS    G 10 (GAZ "NORD")
//  GHEORGHE ION   11    3       440    5       80      120    600    APROBAT    L 21
//  GHEORGHE ION   12    3       440    4       80      120    480    APROBAT    L 22, modified (CUMODIF X)
//  IONESCU DAN    10    2       100    5       100     0      0      APROBAT    G 9 (VECHI GAZ)
#pragma once

#include "GuiFixture.h"
#include "TestSupport.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "documents/TemplateStore.h"

#include <QDir>
#include <QFileInfo>

#include <map>
#include <sstream>
#include <string>
#include <tuple>

namespace focaris::test {

// Cells of a workbook: (sheet, row, column) -> "s:TEXT" or "n:NUMBER".
using Cells = std::map<std::tuple<int, int, int>, std::string>;

inline Cells readCells(const QString &path)
{
    std::string out;
    const std::string script = std::string(FOCARIS_REPORT_TESTS) + "/read_cells.py";
    const int rc = run("/usr/bin/python3 " + shellQuote(script) + " " + shellQuote(path.toStdString()), &out);
    EXPECT_EQ(rc, 0) << "reading " << path.toStdString();
    Cells cells;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream f(line);
        std::string sheet, row, col, kind;
        std::getline(f, sheet, '|');
        std::getline(f, row, '|');
        std::getline(f, col, '|');
        std::getline(f, kind, '|');
        std::string value;
        std::getline(f, value);
        cells[{std::stoi(sheet), std::stoi(row), std::stoi(col)}] = kind + ":" + value;
    }
    return cells;
}

// The cell or "" when empty.
inline std::string at(const Cells &cells, int sheet, int row, int col)
{
    const auto it = cells.find({sheet, row, col});
    return it == cells.end() ? std::string() : it->second;
}

class ReportsTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        CreateTables();
        InstallMissingFiles(DataFolder());
        WriteSetting("SETARI", "PRIMARIA", "TARGU MURES");
        WriteSetting("SETARI", "JUDET", "MURES");
        WriteSetting("SETARI", "CODJUD", "26");
        WriteSetting("SETARI", "SIRUES", "4322637");
        WriteSetting("SETARI", "PRIMAR", "POPESCU ION");
        WriteSetting("SETARI", "INTOCMIT", "MARIN ANA");
        WriteSetting("SETARI", "TIPLOC", "2");
        WriteSetting("VARIABILE", "LUNA_LUCRU", "12.2024");
        SetWorkingMonth("12.2024");
        out = tmp.qpath() + "/out";
        QDir().mkpath(out);
        addRows();
    }

    // One application; `extra` is a list of "COLUMN=value" pairs as statement text.
    void add(int nrcrt, int month, const QString &name, const QString &cnp, const QString &localit,
             const QString &adresa, int members, const QString &venitm, int months, int cuantum, const QString &valmax,
             const QString &total, const QString &statut, const QStringList &extra)
    {
        QStringList cols{"NRCRT",  "LUNACRT", "SUBSEMN", "CNP",    "LOCALIT", "ADRESA", "NR_MEMBRI",
                         "VENITM", "NR_LUNI", "CUANTUM", "VALMAX", "TOTAL",   "STATUT"};
        QStringList values{QString::number(nrcrt),
                           QString::number(month),
                           SqlText(name),
                           SqlText(cnp),
                           SqlText(localit),
                           SqlText(adresa),
                           QString::number(members),
                           venitm,
                           QString::number(months),
                           QString::number(cuantum),
                           valmax,
                           total,
                           SqlText(statut)};
        for (const QString &e : extra) {
            cols << e.section('=', 0, 0);
            values << e.section('=', 1);
        }
        ExecSql(QStringList{"INSERT INTO " + Quoted(TablePath("Cereri.dbf")), "(" + cols.join(", ") + ")",
                            "VALUES (" + values.join(", ") + ")"});
    }

    void addRows()
    {
        const int dec = 24299, nov = 24298, oct = 24297;
        add(1, dec, "ALBU ANA", "2750101260011", "TARGU MURES", "STR. A 1", 1, "200", 5, 100, "250.5", "1252.5",
            "APROBAT",
            {"NR_DISP=\"12\"", "DATADISP=\"05.12.2024\"", "FURNT=\"TERMO SA\"", "CODCLT=\"00123\"", "SUMAT=10"});
        add(2, dec, "BOBOC ION", "1700202260022", "TARGU MURES", "STR. B 2", 2, "320.01", 3, 80, "100", "300",
            "APROBAT",
            {"NR_DISP=\"13\"", "DATADISP=\"06.12.2024\"", "FURNT=\"TERMO SA\"", "CODCLT=\"00124\"", "SUMAT=11",
             "SUMAG=10", "FURNG=\"E.ON GAZ\"", "CODCLG=\"0001\"", "PODG=\"DEG0001\"", "TITG=\"BOBOC ION\"", "SUMAE=30",
             "FURNE=\"E.ON GAZ\"", "CODCLE=\"0002\"", "PODE=\"EMO0002\"", "TITE=\"BOBOC ELENA MARIA\""});
        add(3, dec, "CIOBANU MARIA", "2800303260033", "CRISTESTI", "", 3, "0", 1, 100, "80", "80", "APROBAT",
            {"SUMAL=20"});
        add(4, dec, "DAN PETRU", "1650404260044", "SANCRAIU DE MURES", "NR. 4", 7, "1386", 5, 10, "40", "200",
            "APROBAT",
            {"NR_DISP=\"14\"", "DATADISP=\"07.12.2024\"", "FURNT=\"O'NEIL ENERGIE\"", "CODCLT=\"00125\"", "SUMAT=12",
             "SUMAE=70", "FURNE=\"ELECTRICA/NORD\"", "CODCLE=\"0770\"", "PODE=\"EMO0770\"", "TITE=\"DAN PETRU\""});
        add(5, dec, "ENE VASILE", "1600505260055", "TARGU MURES", "STR. E 5", 1, "1300", 3, 10, "30", "90", "APROBAT",
            {"NR_DISP=\"15\"", "SUMAG=13", "FURNG=\"E.ON GAZ\"", "CODCLG=\"0005\"", "PODG=\"0000123\"",
             "TITG=\"POP\""});
        add(6, dec, "FLOREA RADU", "1550606260066", "TARGU MURES", "STR. F 6", 2, "500", 5, 70, "90", "450", "RESPINS",
            {"SUMAG=10", "FURNG='GAZ \"NORD\"'"});
        add(7, nov, "GHEORGHE ION", "1450707260077", "CRISTESTI", "NR. 7", 3, "440", 5, 80, "120", "600", "APROBAT",
            {"NR_DISP=\"9\"", "DATADISP=\"04.11.2024\"", "SUMAL=21"});
        add(8, dec, "GHEORGHE ION", "1450707260077", "CRISTESTI", "NR. 7", 3, "440", 4, 80, "120", "480", "APROBAT",
            {"NR_DISP=\"16\"", "DATADISP=\"08.12.2024\"", "SUMAL=22", "CUMODIF=\"X\""});
        add(9, oct, "IONESCU DAN", "1500808260088", "TARGU MURES", "STR. I 9", 2, "100", 5, 100, "0", "0", "APROBAT",
            {"SUMAG=9", "FURNG=\"VECHI GAZ\""});
    }

    QString out;
};

} // namespace focaris::test
