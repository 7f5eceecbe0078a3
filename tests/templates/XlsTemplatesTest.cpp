// Opens every built-in workbook with the program's workbook component and checks the
// cells the documents and reports rely on: sheet names, markers replaced by value, the
// data row that is repeated per record (and that it is the first "#DBF" of its sheet),
// total formulas under it, and the grids whose cells the reports write by position.
#include "TemplateFiles.h"
#include "TestSupport.h"

#include "engines/xls/XCell.h"

#include <gtest/gtest.h>

#include <functional>

using focaris::xls::CellValue;
using focaris::xls::XCell;
using namespace focaris::test;

namespace {

struct Ref {
    int row, col;
};

Ref cellRef(const std::string &a1)
{
    Ref r{0, 0};
    size_t i = 0;
    for (; i < a1.size() && a1[i] >= 'A' && a1[i] <= 'Z'; ++i)
        r.col = r.col * 26 + (a1[i] - 'A' + 1);
    r.row = std::stoi(a1.substr(i));
    return r;
}

class Book {
public:
    explicit Book(const std::string &name) : name_(name), x_(XCell::open((modelDir() / name).string())) {}

    void sheets(const std::vector<std::string> &names)
    {
        ASSERT_EQ(x_.sheetCount(), int(names.size())) << name_;
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(x_.sheetName(int(i) + 1), names[i]) << name_;
    }
    Book &sheet(int n)
    {
        EXPECT_TRUE(x_.setActiveSheet(n)) << name_ << " sheet " << n;
        sheet_ = n;
        return *this;
    }
    CellValue at(const std::string &a1) const
    {
        const Ref r = cellRef(a1);
        return x_.value(r.row, r.col);
    }
    std::string where(const std::string &a1) const { return name_ + " sheet " + std::to_string(sheet_) + " " + a1; }
    // The cell's text is `text` (markers) or contains it (placeholders inside a sentence).
    void text(const std::string &a1, const std::string &text, bool whole = true)
    {
        const CellValue v = at(a1);
        EXPECT_EQ(v.type, CellValue::Type::Text) << where(a1);
        if (whole)
            EXPECT_EQ(v.text, text) << where(a1);
        else
            EXPECT_NE(v.text.find(text), std::string::npos) << where(a1) << ": " << v.text;
    }
    // Somewhere on the sheet (markers whose position is free).
    void somewhere(const std::string &text)
    {
        bool found = false;
        for (const auto &c : x_.cells())
            found = found || (c.value.type == CellValue::Type::Text && c.value.text.find(text) != std::string::npos);
        EXPECT_TRUE(found) << name_ << " sheet " << sheet_ << ": no " << text;
    }
    void formula(const std::string &a1) { EXPECT_TRUE(at(a1).formula) << where(a1) << " should hold a formula"; }
    // The data row: markers from column A (empty entries skipped), "#DBF" in dbfCol,
    // and no earlier "#DBF" on the sheet.
    void dataRow(int row, const std::vector<std::string> &markers, const std::string &dbfCol)
    {
        for (size_t i = 0; i < markers.size(); ++i) {
            if (markers[i].empty())
                continue;
            const std::string a1 = std::string(1, char('A' + i)) + std::to_string(row);
            if (markers[i] == "=")
                formula(a1);
            else
                text(a1, markers[i]);
        }
        const Ref dbf = cellRef(dbfCol + std::to_string(row));
        for (const auto &c : x_.cells()) {
            if (c.value.type == CellValue::Type::Text && c.value.text == "#DBF") {
                EXPECT_EQ(c.row, dbf.row) << name_ << " first #DBF";
                EXPECT_EQ(c.col, dbf.col) << name_ << " first #DBF";
                return;
            }
        }
        ADD_FAILURE() << name_ << " sheet " << sheet_ << ": no #DBF";
    }
    // A grid written by position: plain numbers where the report writes, "x" where it
    // never does (so a count never lands on a label or a formula).
    void grid(int row0, int row1, int col0, int col1, const std::function<bool(int, int)> &skipped)
    {
        for (int r = row0; r <= row1; ++r)
            for (int c = col0; c <= col1; ++c) {
                const CellValue v = x_.value(r, c);
                const std::string a1 = where(std::to_string(r) + ":" + std::to_string(c));
                if (skipped(r, c)) {
                    EXPECT_EQ(v.type, CellValue::Type::Text) << a1;
                } else {
                    EXPECT_EQ(v.type, CellValue::Type::Number) << a1;
                    EXPECT_FALSE(v.formula) << a1;
                }
            }
    }

private:
    std::string name_;
    XCell x_;
    int sheet_ = 1;
};

} // namespace

TEST(XlsTemplates, PaymentStatement)
{
    Book b("Stat.xls");
    b.sheets({"Cumulat", "Ajutoare", "Suplimente"});
    const std::vector<std::string> head = {"%NRCRT", "#Titular", "#CNP", "#NRDISP", "#DATADISP", "#ADRESA"};
    for (int s = 1; s <= 3; ++s) {
        b.sheet(s);
        b.text("A1", "R O M A N I A");
        b.text("A2", "#Judet");
        b.text("A3", "#Primaria");
        b.text("A4", "SITUATIE PLATI");
        b.text("A6", "#Luna");
        b.text("E15", "#P1");
        b.text("E16", "#PRIMAR");
        b.text("H15", "#C1");
        b.text("H16", "#C2");
        b.text("G18", "#I1");
        b.text("G19", "#I2");
        b.text("A8", "Nr. crt.");
        b.text("B8", "Beneficiarul ajutorului");
        b.text("F8", "Adresa beneficiarului");
    }
    auto with = [&](std::vector<std::string> tail) {
        std::vector<std::string> all = head;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    b.sheet(1).dataRow(11, with({"#CUANTUM", "#NR_LUNI", "#SUMAL", "#SUMAG", "#SUMAT", "#SUMAE", "="}), "O");
    b.text("G8", "Compensare procentuala");
    b.text("M8", "TOTAL VALOARE SUPLIMENTE");
    b.text("F12", "TOTAL GENERAL");
    for (const char *c : {"I12", "J12", "K12", "L12", "M12"})
        b.formula(c);
    b.sheet(2).dataRow(11, with({"#CUANTUM", "#NR_LUNI"}), "J");
    b.text("G8", "Cuantumul lunar al ajutorului stabilit prin dispozitia primarului");
    b.sheet(3).dataRow(11, with({"#SUMAL", "#SUMAG", "#SUMAT", "#SUMAE", "="}), "M");
    b.text("K8", "TOTAL VALOARE ACORDATA");
    b.text("F12", "TOTAL GENERAL");
    for (const char *c : {"G12", "H12", "I12", "J12", "K12"})
        b.formula(c);
}

TEST(XlsTemplates, SingleDisposition)
{
    Book b("StabilireU.xls");
    b.sheets({"Dispozitie", "Anexa 1", "Anexa 2"});
    b.sheet(1);
    b.text("C2", "[JUDET]", false);
    b.text("C3", "UAT [Loc]"); // the heading every disposition has
    b.text("C4", "[PRIMAR]", false);
    b.text("A26", "[PRIMAR]", false);
    for (const char *p : {"[DispNr]", "[DispData]"})
        b.text("E6", p, false);
    for (const char *p : {"[TipLoc]", "[Loc]", "[Perioada]"})
        b.text("A8", p, false);
    for (const char *p : {"[Anul]", "[Luna]"})
        b.text("A9", p, false);
    for (const char *p : {"[DataStart]", "[NrLuni]", "[NrCereri]"})
        b.text("B17", p, false);
    for (const char *p : {"[DataStart]", "[NrSup]"})
        b.text("B18", p, false);
    for (const char *p : {"[Loc]", "[Judet]"})
        b.text("B21", p, false);
    b.text("J23", "Data azi,");
    b.text("J24", "[Dispdata]");
    b.text("A31", "SECRETAR GENERAL,");
    b.text("A32", "[SECRETAR]");

    b.sheet(2);
    b.text("A2", "LA DISPOZITIA PRIMARULUI NR. [DispNr] / [DispData]");
    const std::vector<std::string> titles = {
        "Nr. crt.",  "Nume si prenume", "CNP", "Adresa", "Nr. pers.", "Procent compensare %", "Valoare maxima ajutor",
        "Numar luni"};
    for (size_t i = 0; i < titles.size(); ++i)
        b.text(std::string(1, char('A' + i)) + "4", titles[i]);
    b.dataRow(5, {"%NRCRT", "#TITULAR", "#CNP", "#ADRESA", "#NR_MEMBRI", "#CUANTUM", "#VALMAX", "#NR_LUNI"}, "I");
    b.text("D6", "TOTAL");
    b.formula("E6");
    b.text("D8", "[Intocmit]");

    b.sheet(3);
    b.text("A2", "LA DISPOZITIA PRIMARULUI NR. [DispNr] / [DispData]");
    b.text("F4", "Supliment de energie lunar");
    b.text("F5", "Combustibili solizi/petrolieri");
    b.text("G5", "Gaze naturale");
    b.text("H5", "Energie electrica");
    b.text("I5", "Energie termica");
    b.dataRow(6, {"%NRCRT", "#TITULAR", "#CNP", "#ADRESA", "#NR_MEMBRI", "#SUMAL", "#SUMAG", "#SUMAE", "#SUMAT"}, "J");
    b.text("D7", "TOTAL");
    for (const char *c : {"E7", "F7", "G7", "H7", "I7"})
        b.formula(c);
    b.text("D9", "[Intocmit]");
}

TEST(XlsTemplates, CountyAgencyAnnex1And21)
{
    Book b("AJPIS.xls");
    b.sheets({"5luni", "4luni", "3luni", "2luni", "1luna", "RapStat"});
    const std::vector<std::string> titles = {"Nr. crt.",
                                             "Titular",
                                             "CNP",
                                             "Adresa",
                                             "Nr. membri in familie",
                                             "Cod furnizor client",
                                             "Venit lunar /membru de familie",
                                             "Valoare maxima ajutor",
                                             "Numar dispozitie primar",
                                             "Nivel compens (%)",
                                             "Cuantum maxim ajutor (lei)"};
    for (int s = 1; s <= 5; ++s) {
        b.sheet(s);
        if (s == 1) {
            b.text("B2", "[JUDET]");
            b.text("B5", "[CIF]");
            b.text("D5", "[UAT]");
            b.text("D16", "[Primar]");
        } else {
            // Shown from sheet 1, where the markers are replaced.
            for (const char *c : {"B2", "B5", "D5", "D16"})
                b.formula(c);
        }
        EXPECT_NE(b.at("C9").type, CellValue::Type::Empty) << "month of sheet " << s;
        EXPECT_NE(b.at("E9").type, CellValue::Type::Empty) << "year of sheet " << s;
        for (size_t i = 0; i < titles.size(); ++i)
            b.text(std::string(1, char('A' + i)) + "11", titles[i]);
        b.dataRow(12,
                  {"%NRCRT", "#SUBSEMN", "#CNP", "#ADRESA", "#NR_MEMBRI", "#CODCLT", "#VENITM", "#VALMAX", "#NR_DISP",
                   "#CUANTUM"},
                  "L");
        EXPECT_NE(b.at("K12").type, CellValue::Type::Text) << "column K has no marker";
    }
    b.sheet(6);
    b.text("G76", "[Intocmit]");
    b.formula("B76");
    // Counts go to row k*5-m+7, column c+4; never (bracket 10, singles) nor
    // (bracket 11, families).
    b.grid(7, 61, 5, 10, [](int r, int c) {
        const int k = (r - 2) / 5;
        return (k == 10 && c == 10) || (k == 11 && c < 10);
    });
    for (int r = 7; r <= 66; ++r)
        b.formula("D" + std::to_string(r));
    for (int r = 62; r <= 66; ++r)
        for (char c = 'E'; c <= 'J'; ++c)
            b.formula(std::string(1, c) + std::to_string(r));
}

TEST(XlsTemplates, CountyAgencyAnnexes22To25)
{
    {
        Book b("Anexa22.xls");
        b.sheets({"Raport"});
        b.sheet(1);
        b.text("B1", "[UAT]");
        b.text("L70", "[Intocmit]");
        // Sums go to row k*5-m+8, column 2y+5 (families) or 2y+6 (single persons).
        b.grid(8, 62, 5, 22, [](int r, int c) {
            const int k = (r - 3) / 5;
            return (k == 11 && c % 2 == 1) || (k == 10 && c % 2 == 0);
        });
        for (int r = 63; r <= 67; ++r)
            b.formula("E" + std::to_string(r));
    }
    for (const char *name : {"Anexa23.xls", "Anexa24.xls"}) {
        Book b(name);
        b.sheet(1);
        for (const char *m : {"[UAT]", "[TIPS]", "[Intocmit]"})
            b.somewhere(m);
        b.somewhere(std::string(name) == "Anexa23.xls" ? "NUMAR BENEFICIARI SUPLIMENT PENTRU ENERGIE"
                                                       : "SUME PLATITE SUPLIMENT PENTRU ENERGIE");
        b.text("D6", "0-200");
        b.text("M6", "1280,1-1386");
        b.text("N6", "1280,1-2053");
        // Families in row 2c+7, single persons in row 2c+8, bracket k in column k+3.
        b.grid(9, 32, 4, 14, [](int r, int c) { return (r % 2 == 1 && c == 14) || (r % 2 == 0 && c == 13); });
        b.text("A9", "Ianuarie");
        b.text("A31", "Decembrie");
        for (int r = 7; r <= 32; ++r)
            b.formula("O" + std::to_string(r));
        for (char c = 'D'; c <= 'N'; ++c) {
            b.formula(std::string(1, c) + "7");
            b.formula(std::string(1, c) + "8");
        }
    }
    Book b("Anexa25.xls");
    b.sheet(1);
    for (const char *m :
         {"Judetul [JUDET]", "Primarul comunei/orasului/municipiului [Localit]", "[Furnizor]", "[Luna]"})
        b.somewhere(m);
    b.text("D11", "Plati efectuate in luna raportata (lei)");
    b.dataRow(12, {"%NRCRT", "#SUBSEMN", "#CNP", "#SUMAT"}, "E");
    b.formula("D13");
}

TEST(XlsTemplates, SupplementAnnexes)
{
    const std::vector<std::string> common = {"%NRCRT", "#TITULAR", "#CNP", "#ADRESA"};
    struct Annex {
        const char *file;
        std::vector<std::string> tail;
        const char *dbf, *total;
    };
    const Annex annexes[] = {
        {"Anexa14.xls", {"#CODCLT", "#NR_MEMBRI", "#VENITM", "#SUMAT", "#NR_DISP"}, "J", nullptr},
        {"Anexa15.xls", {"#CODCLG", "#PODG", "#NR_MEMBRI", "#VENITM", "#NR_DISP", "#SUMAG"}, "K", "J11"},
        {"Anexa16.xls", {"#CODCLE", "#PODE", "#NR_MEMBRI", "#VENITM", "#NR_DISP", "#SUMAE"}, "K", "J11"},
        {"Anexa17.xls", {"#NR_DISP", "#NR_MEMBRI", "#VENITM", "#SUMAL"}, "I", "H11"},
    };
    for (const Annex &a : annexes) {
        Book b(a.file);
        b.sheet(1);
        for (const char *m : {"Judetul [JUDET]", "Primarul comunei/orasului/municipiului [Localit]",
                              "luna [luna] / anul [anul]", "[Primar]", "[Intocmit]"})
            b.somewhere(m);
        std::vector<std::string> markers = common;
        markers.insert(markers.end(), a.tail.begin(), a.tail.end());
        b.dataRow(10, markers, a.dbf);
        if (a.total)
            b.formula(a.total);
    }
    Book b("Anexa1.xls");
    b.sheet(1);
    for (const char *m : {"[JUDET]", "[CIF]", "[UAT]", "[LUNA]", "[ANUL]", "[Primar]", "[Intocmit]"})
        b.somewhere(m);
    b.dataRow(12,
              {"%NRCRT", "#SUBSEMN", "#CNP", "#ADRESA", "#NR_MEMBRI", "#CODCLT", "#VENITM", "#VALMAX", "#NR_DISP",
               "#CUANTUM"},
              "L");
}

TEST(XlsTemplates, TreasuryAndControlLists)
{
    {
        Book b("TrezAnx2.xls");
        b.sheets({"Anexa2"});
        b.sheet(1);
        b.text("A1", "#JUDETUL");
        b.text("C2", "#UAT");
        b.text("A3", "[Situatia]");
        b.text("A5", "[data]");
        b.dataRow(9, {"%NRCRT", "#NUMEPREN", "#NRPERS", "#CNP", "#SUMA"}, "F");
        b.text("B8", "Nume si prenume");
        b.text("C8", "Numar membri familie/copii");
        b.text("D8", "Cod numeric personal");
        b.text("E8", "Plati efectuate in luna raportata (lei)");
        b.text("B10", "TOTAL");
        b.formula("C10");
        b.formula("E10");
        b.somewhere("[NrPers] persoane");
        b.somewhere("Ordonator de credite,");
        b.somewhere("[Primar]");
    }
    {
        Book b("ListaPers.xls");
        b.sheets({"ListaPers"});
        b.sheet(1);
        b.somewhere("LISTA PERSOANELOR BENEFICIARE DE AJUTOARE DE CALDURA");
        b.somewhere("la data de");
        b.dataRow(6, {"%NRCRT", "#TITULAR", "#CNP", "#VENIT", "#CALITATE", "=", "="}, "H");
        b.text("D5", "Venit lunar       -lei-");
        b.text("F5", "Varsta");
        b.text("G5", "Data nasterii");
    }
    {
        Book b("SitMem.xls");
        b.sheets({"Situatia Membrilor"});
        b.sheet(1);
        b.somewhere("SITUATIA MEMBRILOR DIN DOSARELE DE AJUTOARE INCALZIRE "
                    "LEMNE/TERMIC/GAZE/ELECTRIC");
        b.dataRow(4, {"%NRCRT", "#NUMET", "#PRENUMET", "#CNPT", "#NUMEM", "#PRENUMEM", "#CNPM", "#LOC"}, "I");
        b.text("B3", "NUME TITULAR");
        b.text("H3", "LOCALITATE");
    }
    Book b("CONTROL.xls");
    b.sheets({"CSL"});
    b.sheet(1);
    b.dataRow(6,
              {"%NRCRT", "#TITULAR", "#CNP", "#ADRESA", "#CODTIT", "#NR_MEMBRI", "#VENITM", "#NR_DISP", "#CUANTUM", "",
               "#JUD", "#PRIMARIE", "#LUNA", "#AN", "#STCIV", "#SITSCOL", "#TVENIT", "#NRCAM"},
              "S");
    b.text("J5", "Buget local");
}
