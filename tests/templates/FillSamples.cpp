// Fills every built-in template with realistic records through the program's own engines
// (RTF and workbook), the way the documents and reports call them, and writes the results
// into a folder: the interop check opens them with LibreOffice and renders sample pages.
//
//   templates_fill_samples RESOURCE_FILES OUTPUT_FOLDER
#include "engines/rtf/RTFReplace.h"
#include "engines/xls/WorkbookFiller.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using focaris::rtf::TRTFReplace;
using namespace focaris::xls;

namespace {

fs::path gModels, gOut;

// ----- records ---------------------------------------------------------------------------

struct Person {
    std::string name, cnp, address, locality;
    int members;
    double income, perMember, percent, valmax, total, tariff;
    int months;
    double sumaL, sumaG, sumaE, sumaT;
    std::string disp, dispDate, appNo, appDate, gasSupplier, gasClient, gasPod, powerSupplier, powerClient, powerPod,
        heatSupplier, heatClient;
};

const std::vector<Person> kPeople = {
    {"POPESCU ION VASILE",
     "1670312264511",
     "Str. Morii nr. 12",
     "Sâncraiu de Mureș",
     3,
     1500.00,
     500.00,
     70,
     250.00,
     1250,
     0.35,
     5,
     0,
     10,
     30,
     0,
     "14",
     "15.11.2025",
     "102",
     "03.11.2025",
     "DELGAZ GRID",
     "5001234567",
     "RO001E512345678",
     "ELECTRICA FURNIZARE",
     "7001234567",
     "RO005E123456789",
     "-",
     "-"},
    {"ȘTEFĂNESCU MARIA",
     "2750421264522",
     "Bd. 1 Decembrie 1918 nr. 4, bl. A2, ap. 7",
     "Târgu Mureș",
     1,
     1350.00,
     1350.00,
     10,
     120.00,
     600,
     0.35,
     5,
     0,
     0,
     30,
     10,
     "15",
     "15.11.2025",
     "103",
     "04.11.2025",
     "-",
     "-",
     "-",
     "ELECTRICA FURNIZARE",
     "7002345678",
     "RO005E223456789",
     "TERMO SERV",
     "T-22031"},
    {"ȚURCANU GHEORGHE",
     "1520918264533",
     "Str. Livezii nr. 3",
     "Sâncraiu de Mureș",
     5,
     900.00,
     180.00,
     100,
     320.00,
     1600,
     0.35,
     5,
     20,
     0,
     30,
     0,
     "16",
     "15.11.2025",
     "104",
     "05.11.2025",
     "-",
     "-",
     "-",
     "ELECTRICA FURNIZARE",
     "7003456789",
     "RO005E323456789",
     "-",
     "-"},
};

const std::map<std::string, std::string> kOffice = {
    {"JUDET", "Mureș"},           {"CODJUD", "26"},          {"LOCALIT", "Sâncraiu de Mureș"},
    {"TIPLOC", "COMUNA"},         {"LOCART", "comunei "},    {"PRIMAR", "Vasile Moldovan"},
    {"SECRETAR", "Ana Pop"},      {"CONTABIL", "Ioana Rus"}, {"INTOCMIT", "Elena Sabău"},
    {"DIRECTOR", "Mihai Crișan"}, {"CIF", "4322785"}};

std::string office(const char *k)
{
    return kOffice.at(k);
}

std::string num(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string shortest(double v)
{
    std::string s = num(v, 4);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

bool man(const Person &p)
{
    return p.cnp[0] == '1' || p.cnp[0] == '5';
}
std::string domicile(const Person &p)
{
    return p.address + ", " + p.locality;
}
std::string family(const Person &p)
{
    return p.name.substr(0, p.name.find(' '));
}
std::string given(const Person &p)
{
    return p.name.substr(p.name.find(' ') + 1);
}
std::string mark(double v)
{
    return v > 0 ? "X" : " ";
}

// ----- RTF documents ---------------------------------------------------------------------

void disposition(TRTFReplace &r, const Person &p)
{
    r.AddValue("[JUDET]", office("JUDET"));
    r.AddValue("[TIPLOC]", office("TIPLOC"));
    r.AddValue("[LOC]", office("LOCALIT"));
    r.AddValue("[NR]", p.disp);
    r.AddValue("[DATA]", p.dispDate);
    r.AddValue("[DATA01]", "01.12.2025");
    r.AddValue("[DLUI]", man(p) ? "domnului" : "doamnei");
    r.AddValue("[DOMNUL]", man(p) ? "domnul" : "doamna");
    r.AddValue("[NUME]", p.name == kPeople[0].name ? "Popescu Ion Vasile" : p.name);
    r.AddValue("[NRCERERE]", p.appNo);
    r.AddValue("[DATACERERE]", p.appDate);
    r.AddValue("[NRDATACERE]", p.appNo + "/" + p.appDate);
    r.AddValue("[PRIMAR]", office("PRIMAR"));
    r.AddValue("[LOCART]", office("LOCART"));
    r.AddValue("[Domiciliu]", domicile(p));
    r.AddValue("[CNP]", p.cnp);
    r.AddValue("[Motiv]", "venitul net mediu lunar pe membru de familie depășește limita "
                          "prevăzută de lege");
    r.AddValue("[SECRETAR]", office("SECRETAR"));
    r.AddValue("[CONTABIL]", office("CONTABIL"));
    r.AddValue("[SUMA]", num(p.percent, 0));
    r.AddValue("[LITERA]", "d");
    r.AddValue("[PERIOADA]", std::to_string(p.months));
    r.AddValue("[TOTAL]", num(p.total, 0));
    r.AddValue("[TARIF]", shortest(p.tariff));
    r.AddValue("[VALMAX]", num(p.valmax, 2));
    r.AddValue("[CUAJUT]", "X");
    r.AddValue("[SL]", mark(p.sumaL));
    r.AddValue("[SUMAL]", shortest(p.sumaL));
    r.AddValue("[SG]", mark(p.sumaG));
    r.AddValue("[SUMAG]", shortest(p.sumaG));
    r.AddValue("[SE]", mark(p.sumaE));
    r.AddValue("[SUMAE]", shortest(p.sumaE));
    r.AddValue("[ST]", mark(p.sumaT));
    r.AddValue("[SUMAT]", shortest(p.sumaT));
}

void referat(TRTFReplace &r, const Person &p)
{
    r.AddValue("[JUDET]", office("JUDET"));
    r.AddValue("[Dlui]", man(p) ? "domnului " : "doamnei ");
    r.AddValue("[DOMNUL]", man(p) ? "domnul" : "doamna");
    r.AddValue("[NUME]", p.name);
    r.AddValue("[NRREF]", p.appNo);
    r.AddValue("[DATAREF]", p.appDate);
    r.AddValue("[NRCERERE]", p.appNo);
    r.AddValue("[DATACERERE]", p.appDate);
    r.AddValue("[Domiciliu]", domicile(p));
    r.AddValue("[CNP]", p.cnp);
    r.AddValue("[SUMA]", num(p.percent, 0));
    r.AddValue("[TOTAL]", num(p.total, 0));
    r.AddValue("[TARIF]", num(p.tariff, 2));
    r.AddValue("[VALMAX]", num(p.valmax, 2));
    r.AddValue("[INTOCMIT]", office("INTOCMIT"));
    r.AddValue("[SECRETAR]", office("SECRETAR"));
    r.AddValue("[DIRECTOR]", office("DIRECTOR"));
    r.AddValue("[LOCALIT]", office("LOCALIT"));
    r.AddValue("[SUPL]", num(p.sumaL, 0));
    r.AddValue("[SUPG]", num(p.sumaG, 0));
    r.AddValue("[SUPT]", num(p.sumaT, 0));
    r.AddValue("[SUPE]", num(p.sumaE, 0));
}

void form(TRTFReplace &r, const Person &p)
{
    const bool gas = p.sumaG > 0;
    r.AddValue("[UAT]", office("LOCALIT"));
    r.AddValue("[NUME]", family(p));
    r.AddValue("[PRENUME]", given(p));
    r.AddValue("[CNP]", p.cnp);
    r.AddValue("[TVENIT]", num(p.income, 2));
    r.AddValue("[VENITM]", num(p.perMember, 2));
    r.AddValue("[NUMEP]", p.name);
    r.AddValue("[AI]", "X");
    r.AddValue("[SU]", mark(p.sumaL + p.sumaG + p.sumaE + p.sumaT));
    r.AddValue("[SL]", mark(p.sumaL));
    r.AddValue("[SG]", mark(p.sumaG));
    r.AddValue("[FURNG]", gas ? " " + p.gasSupplier : "-");
    r.AddValue("[CODCLG]", gas ? " " + p.gasClient : "-");
    r.AddValue("[PODG]", gas ? " " + p.gasPod : "-");
    r.AddValue("[SE]", mark(p.sumaE));
    r.AddValue("[ST]", mark(p.sumaT));
    r.AddValue("[FURNTI]", p.heatSupplier);
    r.AddValue("[CODCLTI]", p.heatClient);
    r.AddValue("[FURNT]", " " + p.heatSupplier);
    r.AddValue("[FURNE]", " " + p.powerSupplier);
    r.AddValue("[CODCLT]", " " + p.heatClient);
    r.AddValue("[CODCLE]", " " + p.powerClient);
    r.AddValue("[PODE]", " " + p.powerPod);
    r.AddValue("[DATACERE]", p.appDate);
}

void inquiry(TRTFReplace &r, const Person &p)
{
    r.AddValue("[UAT]", office("LOCALIT"));
    r.AddValue("[TITULAR]", p.name);
    r.AddValue("[NUME]", family(p));
    r.AddValue("[PRENUME]", given(p));
    r.AddValue("[NR_CERE]", p.appNo);
    r.AddValue("[DATAAZI]", "10.11.2025");
    r.AddValue("[DATACERE]", p.appDate);
    r.AddValue("[CNP]", p.cnp);
    r.AddValue("[TVENIT]", num(p.income, 2));
    r.AddValue("[VENITM]", num(p.perMember, 2));
    r.AddValue("[TITULAR]", p.name);
    r.AddValue("[INTOCMIT]", office("INTOCMIT"));
}

void treasury(TRTFReplace &r)
{
    r.AddValue("[CODJUD]", office("CODJUD"));
    r.AddValue("[DENUMJUD]", office("JUDET"));
    r.AddValue("[CODUNIT]", office("CIF"));
    r.AddValue("[DENUMUNIT]", "Comuna " + office("LOCALIT"));
    r.AddValue("[CODAJUTOR]", "074");
    r.AddValue("[DENUMIREAJUTOR]", "Supliment combustibili solizi/petrolieri - Legea "
                                   "nr.226/2021, art. 25 alin.(1) lit.d) ");
    r.AddValue("[Primar]", office("PRIMAR"));
    r.AddValue("[NR1]", "1");
    r.AddValue("[SUMA1]", "20");
    r.AddValue("[NR2]", "0");
    r.AddValue("[SUMA2]", "0");
    r.AddValue("[NR]", "1");
    r.AddValue("[SUMA]", "20");
    r.AddValue("[DATA]", "05.12.2025");
}

template <class Fill>
void rtfDocument(const std::string &model, const std::string &out, int records, Fill fill, bool untilMarker = false)
{
    TRTFReplace r;
    r.RTFSursa = (gModels / model).string();
    r.RTFDest = (gOut / out).string();
    if (!r.BeginDocument())
        throw std::runtime_error("cannot start " + out);
    for (int i = 0; i < records; ++i) {
        fill(r, kPeople[size_t(i) % kPeople.size()]);
        if (untilMarker)
            r.EmitBodyUntil("terminoiu");
        else
            r.EmitBody(1);
        if (i + 1 < records)
            r.PageBreak();
    }
    r.EndDocument();
}

// ----- workbooks -------------------------------------------------------------------------

// A query result as the filler sees it: named columns, rows of values.
class Table : public RowSource {
public:
    Table(std::vector<std::string> names, std::vector<std::vector<FieldValue>> rows)
        : names_(std::move(names)), rows_(std::move(rows))
    {
    }
    int columnCount() const override { return int(names_.size()); }
    std::string columnName(int c) const override { return names_[size_t(c)]; }
    ColumnKind columnKind(int c) const override
    {
        for (const auto &row : rows_)
            if (row[size_t(c)].kind == FieldValue::Kind::Text)
                return ColumnKind::Text;
            else if (row[size_t(c)].kind == FieldValue::Kind::Date)
                return ColumnKind::Date;
        return ColumnKind::Number;
    }
    std::size_t rowCount() const override { return rows_.size(); }
    FieldValue value(std::size_t r, int c) const override { return rows_[r][size_t(c)]; }

private:
    std::vector<std::string> names_;
    std::vector<std::vector<FieldValue>> rows_;
};

FieldValue T(const std::string &s)
{
    return {FieldValue::Kind::Text, s, 0};
}
FieldValue N(double v)
{
    return {FieldValue::Kind::Number, {}, v};
}
FieldValue D(const std::string &ddmmyyyy)
{
    return {FieldValue::Kind::Date,
            {},
            double(daySerial(std::stoi(ddmmyyyy.substr(6)), std::stoi(ddmmyyyy.substr(3, 2)),
                             std::stoi(ddmmyyyy.substr(0, 2))))};
}

// One table of the three people with the columns asked for by name.
Table people(const std::vector<std::string> &cols, bool (*keep)(const Person &) = nullptr)
{
    std::vector<std::vector<FieldValue>> rows;
    for (const Person &p : kPeople) {
        if (keep && !keep(p))
            continue;
        std::vector<FieldValue> row;
        for (const std::string &c : cols) {
            const std::map<std::string, FieldValue> v = {
                {"TITULAR", T(p.name)},      {"SUBSEMN", T(p.name)},
                {"CNP", T(p.cnp)},           {"ADRESA", T(p.locality + " " + p.address)},
                {"NR_MEMBRI", N(p.members)}, {"CUANTUM", N(p.percent)},
                {"NR_LUNI", N(p.months)},    {"VALMAX", N(p.valmax)},
                {"TOTAL", N(p.total)},       {"SUMAL", N(p.sumaL)},
                {"SUMAG", N(p.sumaG)},       {"SUMAE", N(p.sumaE)},
                {"SUMAT", N(p.sumaT)},       {"VENITM", N(p.perMember)},
                {"TVENIT", N(p.income)},     {"NRDISP", T(p.disp + "/")},
                {"DATADISP", D(p.dispDate)}, {"NR_DISP", T(p.disp + "/" + p.dispDate)},
                {"CODCLT", T(p.heatClient)}, {"CODCLG", T(p.gasClient)},
                {"PODG", T(p.gasPod)},       {"CODCLE", T(p.powerClient)},
                {"PODE", T(p.powerPod)},     {"NUMEPREN", T(p.name)},
                {"NRPERS", N(p.members)},    {"SUMA", N(p.sumaL)}};
            row.push_back(v.at(c));
        }
        rows.push_back(row);
    }
    return Table(cols, rows);
}

class Book {
public:
    Book(const std::string &model, const std::string &out)
        : out_((gOut / out).string()), x_({[this] { return out_; }, nullptr, nullptr})
    {
        fs::remove(out_);
        if (!x_.OpenTemplate((gModels / model).string()))
            throw std::runtime_error("no template " + model);
        x_.ZeroValue = XValue::Number(0);
    }
    Book &sheet(int n)
    {
        x_.SelectSheet(n);
        return *this;
    }
    Book &replace(const std::string &m, const std::string &v)
    {
        x_.ReplaceText(m, XValue::Text(v));
        return *this;
    }
    Book &rows(const Table &t)
    {
        x_.FillRows(&t);
        return *this;
    }
    Book &cell(int r, int c, double v)
    {
        x_.SetCell(r, c, XValue::Number(v));
        return *this;
    }
    void close()
    {
        x_.ZeroValue = XValue::Number(0);
        x_.SelectSheet(1);
        x_.CloseResult(false);
    }
    WorkbookFiller &filler() { return x_; }

private:
    std::string out_;
    WorkbookFiller x_;
};

void statement()
{
    Book b("Stat.xls", "Stat.xls");
    b.filler().ZeroValue = XValue::Text("");
    const std::vector<std::string> cols = {"TITULAR", "CNP",   "NRDISP", "DATADISP", "ADRESA", "CUANTUM",
                                           "NR_LUNI", "TOTAL", "SUMAL",  "SUMAG",    "SUMAT",  "SUMAE"};
    for (int s = 1; s <= 3; ++s) {
        b.sheet(s)
            .replace("#JUDET", "Judet   26 - Mureș")
            .replace("#PRIMARIA", "Primaria   4322785 - Sâncraiu de Mureș")
            .replace("#LUNA", "decembrie 2025")
            .replace("#C1", "Contabil,")
            .replace("#C2", office("CONTABIL"))
            .replace("#P1", "PRIMAR,")
            .replace("#PRIMAR", office("PRIMAR"))
            .replace("#I1", "Intocmit,")
            .replace("#I2", office("INTOCMIT"));
        bool (*keep)(const Person &) = nullptr;
        if (s == 2)
            keep = [](const Person &p) { return p.total > 0; };
        if (s == 3)
            keep = [](const Person &p) { return p.sumaL + p.sumaG + p.sumaE + p.sumaT > 0; };
        b.rows(people(cols, keep));
    }
    b.sheet(1).filler().CloseResult(false);
}

void singleDisposition()
{
    Book b("StabilireU.xls", "StabilireU.xls");
    const std::map<std::string, std::string> v = {{"[JUDET]", "Mureș"},
                                                  {"[PRIMAR]", office("PRIMAR")},
                                                  {"[SECRETAR]", office("SECRETAR")},
                                                  {"[TIPLOC]", "COMUNA"},
                                                  {"[LOC]", office("LOCALIT")},
                                                  {"[DISPNR]", "14"},
                                                  {"[DISPDATA]", "15.11.2025"},
                                                  {"[ANUL]", "2025"},
                                                  {"[LUNA]", "noiembrie"},
                                                  {"[NR0]", "104"},
                                                  {"[NR1]", "102"},
                                                  {"[NRLUNI]", "5"},
                                                  {"[NRSUP]", "3"},
                                                  {"[NRCERERI]", "3"},
                                                  {"[DATASTART]", "01.11.2025"},
                                                  {"[PERIOADA]", "2025-2026"},
                                                  {"[NRAPROB]", "3"},
                                                  {"[DATAPLATII]", "20.12.2025"},
                                                  {"[TRIBUNAL]", "Mureș"}};
    b.sheet(1);
    for (const auto &[m, val] : v)
        b.replace(m, val);
    const std::vector<std::string> cols = {"TITULAR", "CNP",   "ADRESA", "NR_MEMBRI", "CUANTUM", "NR_LUNI",
                                           "SUMAL",   "SUMAG", "SUMAE",  "SUMAT",     "VALMAX"};
    for (int s = 2; s <= 3; ++s)
        b.sheet(s)
            .replace("[DISPNR]", "14")
            .replace("[DISPDATA]", "15.11.2025")
            .replace("[INTOCMIT]", office("INTOCMIT"))
            .rows(people(cols));
    b.close();
}

void ajpis()
{
    Book b("AJPIS.xls", "Anexa1_21.xls");
    b.sheet(1)
        .replace("[JUDET]", "Mureș")
        .replace("[UAT]", office("LOCALIT"))
        .replace("[CIF]", office("CIF"))
        .replace("[PRIMAR]", office("PRIMAR"));
    const std::vector<std::string> cols = {"SUBSEMN", "CNP",     "ADRESA", "NR_DISP", "NR_MEMBRI",
                                           "VENITM",  "NR_LUNI", "CODCLT", "CUANTUM", "VALMAX"};
    for (int s = 1; s <= 5; ++s)
        b.sheet(s).rows(s == 1 ? people(cols) : Table(cols, {}));
    b.sheet(6).replace("[INTOCMIT]", office("INTOCMIT"));
    // POPESCU: 3 members, bracket 4, 5 months; STEFANESCU: single, bracket 10 (single
    // persons fall in bracket 11); TURCANU: 5 members, bracket 1.
    b.cell(4 * 5 - 5 + 7, 2 + 4, 1).cell(11 * 5 - 5 + 7, 6 + 4, 1).cell(1 * 5 - 5 + 7, 4 + 4, 1);
    b.close();

    Book a("Anexa22.xls", "Anexa22.xls");
    a.replace("[INTOCMIT]", office("INTOCMIT")).replace("[UAT]", "COMUNA " + office("LOCALIT"));
    a.cell(4 * 5 - 5 + 8, 5, 70).cell(11 * 5 - 5 + 8, 6, 10).cell(1 * 5 - 5 + 8, 5, 100);
    a.close();
}

void supplementAnnexes()
{
    struct A {
        const char *file;
        std::vector<std::string> cols;
        bool (*keep)(const Person &);
    };
    const std::vector<std::string> base = {"TITULAR", "CNP", "ADRESA", "NR_DISP", "NR_MEMBRI", "VENITM"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> c = base;
        c.insert(c.end(), extra.begin(), extra.end());
        return c;
    };
    const A annexes[] = {
        {"Anexa14.xls", with({"CODCLT", "SUMAT"}), [](const Person &p) { return p.sumaT > 0; }},
        {"Anexa15.xls", with({"CODCLG", "PODG", "SUMAG"}), [](const Person &p) { return p.sumaG > 0; }},
        {"Anexa16.xls", with({"CODCLE", "PODE", "SUMAE"}), [](const Person &p) { return p.sumaE > 0; }},
        {"Anexa17.xls", with({"SUMAL"}), [](const Person &p) { return p.sumaL > 0; }},
    };
    for (const A &a : annexes) {
        Book b(a.file, a.file);
        b.replace("[JUDET]", "26   Mureș")
            .replace("[LOCALIT]", office("LOCALIT"))
            .replace("[PRIMAR]", office("PRIMAR"))
            .replace("[INTOCMIT]", office("INTOCMIT"))
            .replace("[LUNA]", "12")
            .replace("[ANUL]", "2025")
            .rows(people(a.cols, a.keep));
        b.close();
    }
    Book s("Anexa1.xls", "Anexa1.xls");
    s.replace("[JUDET]", "Mureș")
        .replace("[UAT]", office("LOCALIT"))
        .replace("[CIF]", office("CIF"))
        .replace("[PRIMAR]", office("PRIMAR"))
        .replace("[INTOCMIT]", office("INTOCMIT"))
        .replace("[LUNA]", "12")
        .replace("[ANUL]", "2025")
        .rows(people({"SUBSEMN", "CNP", "ADRESA", "NR_DISP", "NR_MEMBRI", "VENITM", "CODCLT", "CUANTUM", "VALMAX"}));
    s.close();
    for (int n : {23, 24}) {
        Book b("Anexa" + std::to_string(n) + ".xls", "Anexa" + std::to_string(n) + "_Electrica.xls");
        b.replace("[UAT]", office("LOCALIT"))
            .replace("[INTOCMIT]", office("INTOCMIT"))
            .replace("[TIPS]", "Energie electrica");
        const double one = n == 23 ? 1 : 30;
        // November: a family in bracket 4 and one in bracket 1, a single person in 11.
        const int row = n == 23 ? 2 * 11 + 7 : 2 * 12 + 7;
        b.cell(row, 4 + 3, one).cell(row, 1 + 3, one).cell(row + 1, 11 + 3, one);
        b.close();
    }
    Book f("Anexa25.xls", "Anexa25_ELECTRICA FURNIZARE.xls");
    f.replace("[JUDET]", "26   Mureș")
        .replace("[LOCALIT]", office("LOCALIT"))
        .replace("[LUNA]", "12.2025")
        .replace("[FURNIZOR]", "ELECTRICA FURNIZARE")
        .rows(people({"SUBSEMN", "CNP", "SUMAE"}));
    f.close();
}

void lists()
{
    Book t("TrezAnx2.xls", "Anexa2_Supliment_Lemne.xls");
    t.replace("#JUDETUL", "JUDETUL: 26  JUDETUL Mureș")
        .replace("#UAT", "4322785  Comuna  SÂNCRAIU DE MUREȘ")
        .replace("[SITUATIA]", "SITUATIA 074 - Supliment combustibili solizi/petrolieri - "
                               "Legea nr.226/2021, art. 25 alin.(1) lit.d) ")
        .replace("[PRIMAR]", office("PRIMAR"))
        .replace("[NRPERS]", "1")
        .replace("[DATA]", "in ziua 05 luna 12 anul 2025")
        .rows(people({"NUMEPREN", "NRPERS", "CNP", "SUMA"}, [](const Person &p) { return p.sumaL > 0; }));
    t.close();

    std::vector<std::vector<FieldValue>> members;
    const char *roles[] = {"beneficiar", "sot/sotie", "copil"};
    // Members born in the 2000s (first digit 5 or 6) and a foreign resident (first digit
    // 8, born in the 1900s) show the birth dates and ages the sheet computes.
    const std::map<std::string, std::vector<std::string>> memberCnps = {
        {kPeople[0].cnp, {"2690805264518", "5100512264512"}}, {kPeople[2].cnp, {"8550101264517", "6080330264513"}}};
    for (const Person &p : kPeople) {
        members.push_back({T(p.name), T(p.cnp), N(p.income), T(roles[0])});
        auto more = memberCnps.find(p.cnp);
        for (size_t i = 0; more != memberCnps.end() && i < more->second.size(); ++i)
            members.push_back(
                {T("MEMBRU " + std::to_string(i + 1) + " " + family(p)), T(more->second[i]), N(0), T(roles[i + 1])});
    }
    Book l("ListaPers.xls", "ListaPers.xls");
    l.rows(Table({"TITULAR", "CNP", "VENIT", "CALITATE"}, members));
    l.close();

    std::vector<std::vector<FieldValue>> sit;
    for (const Person &p : kPeople)
        sit.push_back({T(family(p)), T(given(p)), T(p.cnp), T(family(p)), T(given(p)), T(p.cnp), T(p.locality)});
    Book s("SitMem.xls", "SitMem.xls");
    s.rows(Table({"NUMET", "PRENUMET", "CNPT", "NUMEM", "PRENUMEM", "CNPM", "LOC"}, sit));
    s.close();

    std::vector<std::vector<FieldValue>> ctl;
    for (const Person &p : kPeople)
        ctl.push_back({T(p.name), T(p.cnp), T(p.address + " " + p.locality + " JUD Mureș"), T(""), N(p.members),
                       N(p.perMember), T(p.disp), N(p.percent), T("MS"), T("Sancraiu de Mures"), T("12"), N(2025),
                       T("casatorit"), T("-"), N(p.income), N(3)});
    Book c("CONTROL.xls", "Control.xls");
    c.rows(Table({"TITULAR", "CNP", "ADRESA", "CODTIT", "NR_MEMBRI", "VENITM", "NR_DISP", "CUANTUM", "JUD", "PRIMARIE",
                  "LUNA", "AN", "STCIV", "SITSCOL", "TVENIT", "NRCAM"},
                 ctl));
    c.close();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: templates_fill_samples RESOURCE_FILES OUTPUT_FOLDER\n";
        return 2;
    }
    gModels = fs::path(argv[1]) / "MODEL";
    gOut = argv[2];
    fs::create_directories(gOut);
    try {
        rtfDocument("Stabilire.rtf", "Stabilire.rtf", 2, disposition);
        rtfDocument("Modificare.rtf", "Modificare.rtf", 1, disposition);
        rtfDocument("Respingere.rtf", "Respingere.rtf", 1, disposition);
        rtfDocument("Referat.rtf", "Referat.rtf", 2, referat);
        rtfDocument("Cerere.rtf", "ModCerere.rtf", 1, form, true);
        rtfDocument("CerereS.rtf", "ModCerereS.rtf", 1, form, true);
        rtfDocument("Ancheta.rtf", "Ancheta.rtf", 1, inquiry, true);
        rtfDocument("TrezAnx3.rtf", "Anexa3_Supliment_Lemne.rtf", 1,
                    [](TRTFReplace &r, const Person &) { treasury(r); });
        statement();
        singleDisposition();
        ajpis();
        supplementAnnexes();
        lists();
    } catch (const std::exception &e) {
        std::cerr << "templates_fill_samples: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
