// Generator of the city-sized data folder.
#include "engines/localsql/CityFolder.h"

#include "engines/dbase/DbfTable.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace focaris::sql {

namespace {

const std::array<const char *, 30> kSurnames = {
    "POPESCU", "IONESCU",  "POPA",       "RADU",     "DUMITRU", "STAN",   "STOICA",   "GHEORGHE", "MATEI",  "CIOBANU",
    "RUSU",    "MUNTEANU", "CONSTANTIN", "MARIN",    "SERBAN",  "TUDOR",  "DINU",     "LUNGU",    "FLOREA", "BARBU",
    "NEAGU",   "CRISTEA",  "ENACHE",     "MOLDOVAN", "OPREA",   "NISTOR", "DRAGOMIR", "ANGHEL",   "COSTEA", "TOMA"};
const std::array<const char *, 20> kMen = {
    "ION",    "GHEORGHE", "VASILE", "CONSTANTIN", "NICOLAE", "MIHAI",    "ANDREI", "ALEXANDRU", "DUMITRU", "STEFAN",
    "FLORIN", "ADRIAN",   "MARIAN", "DANIEL",     "IONUT",   "CRISTIAN", "PETRU",  "GABRIEL",   "LUCIAN",  "OVIDIU"};
const std::array<const char *, 20> kWomen = {
    "MARIA",   "ELENA", "IOANA",    "ANA",      "MIHAELA", "ANDREEA", "CRISTINA", "DANIELA", "GABRIELA", "FLORENTINA",
    "MARIANA", "ALINA", "GEORGETA", "LUMINITA", "RODICA",  "VIORICA", "CARMEN",   "SIMONA",  "LAURA",    "ADRIANA"};
const std::array<const char *, 8> kLocalities = {"SATU MARE", "CAREI", "TASNAD", "NEGRESTI-OAS",
                                                 "LIVADA",    "ARDUD", "HALMEU", "ODOREU"};
const std::array<const char *, 12> kStreets = {"Str. Mihai Eminescu", "Str. Libertatii", "B-dul Independentei",
                                               "Str. Avram Iancu",    "Str. Florilor",   "Str. Unirii",
                                               "Str. Closca",         "Str. Crisan",     "Str. Horea",
                                               "Str. Garii",          "Str. Morii",      "Aleea Salcamilor"};
const std::array<const char *, 4> kGas = {"ENGIE ROMANIA SA", "E.ON ENERGIE ROMANIA SA", "PREMIER ENERGY SRL",
                                          "HIDROCARBURI TRADING SRL"};
const std::array<const char *, 4> kPower = {"ELECTRICA FURNIZARE SA", "ENEL ENERGIE SA", "E.ON ENERGIE ROMANIA SA",
                                            "CEZ VANZARE SA"};
const char *kHeat = "TERMOFICARE SATU MARE SA";

// A valid 13-digit personal code: sex digit, birth date, county 30, serial, check digit.
std::string makeCnp(std::mt19937 &rng, bool male, int birthYear)
{
    std::uniform_int_distribution<int> month(1, 12), day(1, 28), serial(1, 999);
    const int s = birthYear >= 2000 ? (male ? 5 : 6) : (male ? 1 : 2);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d%02d%02d%02d30%03d", s, birthYear % 100, month(rng), day(rng), serial(rng));
    static const int weights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits[i] - '0') * weights[i];
    int check = sum % 11;
    if (check == 10)
        check = 1;
    return std::string(digits, 12) + char('0' + check);
}

struct Member {
    std::string name, cnp, role;
    double income;
};

struct Household {
    std::string applicant, cnp, locality, address, gas, power;
    std::vector<Member> members;
    double income;
    int rooms;
    bool heat;
};

using dbf::ColumnDef;

std::vector<ColumnDef> applicationsLayout()
{
    auto C = ColumnDef::charColumn;
    auto N = ColumnDef::decimalColumn;
    return {N("NRCRT", 12, 0),
            N("LUNADEC", 10, 0),
            N("LUNACRT", 10, 0),
            C("SUBSEMN", 32),
            C("CNP", 13),
            C("LOCALIT", 60),
            C("ADRESA", 60),
            N("NR_MEMBRI", 5, 0),
            N("TVENIT", 10, 2),
            N("VENITM", 10, 2),
            C("ASOC", 60),
            C("NRCONT", 20),
            C("L416", 1),
            C("ASF", 1),
            C("CUAJUT", 1),
            N("SUMAL", 10, 2),
            C("TITG", 32),
            C("CNPG", 13),
            C("FURNG", 60),
            C("CODCLG", 20),
            C("PODG", 20),
            N("SUMAG", 10, 2),
            C("TITE", 32),
            C("CNPE", 13),
            C("FURNE", 60),
            C("CODCLE", 20),
            C("PODE", 20),
            N("SUMAE", 10, 2),
            C("TITT", 32),
            C("CNPT", 13),
            C("FURNT", 60),
            C("CODCLT", 20),
            N("SUMAT", 10, 2),
            N("CUANTUM", 10, 2),
            N("NR_LUNI", 5, 0),
            N("TOTAL", 10, 2),
            C("NR_DISP", 16),
            N("NR_CERE", 10, 0),
            ColumnDef::dateColumn("DATACERE"),
            ColumnDef::dateColumn("DATADISP"),
            C("STATUT", 7),
            C("CUMODIF", 1),
            C("MOTIVR", 80),
            C("STCIV", 2),
            C("SITSCOL", 2),
            N("NRCAM", 6, 0),
            N("TARIF", 10, 4),
            N("VALMAX", 10, 4),
            C("ASIG", 1),
            N("COPII14", 6, 0),
            N("COPII18", 6, 0),
            C("SITPROF", 24)};
}

} // namespace

CityCounts makeCityFolder(const std::filesystem::path &folder, const CityOptions &o)
{
    std::filesystem::create_directories(folder);
    std::mt19937 rng(20211226);
    std::vector<Household> homes(static_cast<std::size_t>(o.applicationsPerMonth));
    std::uniform_int_distribution<int> pick(0, 1 << 20);
    for (Household &h : homes) {
        const bool male = pick(rng) % 2;
        const std::string surname = kSurnames[pick(rng) % kSurnames.size()];
        const std::string given = male ? kMen[pick(rng) % kMen.size()] : kWomen[pick(rng) % kWomen.size()];
        h.applicant = surname + " " + given;
        h.cnp = makeCnp(rng, male, 1940 + pick(rng) % 60);
        h.locality = kLocalities[pick(rng) % kLocalities.size()];
        h.address = std::string(kStreets[pick(rng) % kStreets.size()]) + " nr. " + std::to_string(1 + pick(rng) % 150);
        h.gas = kGas[pick(rng) % kGas.size()];
        h.power = kPower[pick(rng) % kPower.size()];
        h.rooms = 1 + pick(rng) % 4;
        h.heat = pick(rng) % 3 == 0;
        h.income = 0;
        for (int m = 0; m < o.membersPerApplication; ++m) {
            Member mem;
            if (m == 0) {
                mem = {h.applicant, h.cnp, "beneficiar", 0};
            } else if (m == 1) {
                mem = {surname + " " + (male ? kWomen[pick(rng) % kWomen.size()] : kMen[pick(rng) % kMen.size()]),
                       makeCnp(rng, !male, 1940 + pick(rng) % 60), "partener", 0};
            } else {
                const bool boy = pick(rng) % 2;
                mem = {surname + " " + (boy ? kMen[pick(rng) % kMen.size()] : kWomen[pick(rng) % kWomen.size()]),
                       makeCnp(rng, boy, 2005 + pick(rng) % 18), "copil", 0};
            }
            mem.income = m < 2 ? static_cast<double>(pick(rng) % 2500) : 0;
            h.income += mem.income;
            h.members.push_back(mem);
        }
    }

    const auto cereri = folder / "Cereri.dbf";
    const auto oameni = folder / "Oameni.dbf";
    dbf::DbfTable::create(cereri, applicationsLayout());
    dbf::DbfTable::create(oameni, {ColumnDef::decimalColumn("NROM", 10, 0), ColumnDef::decimalColumn("NRCRT", 12, 0),
                                   ColumnDef::charColumn("TITULAR", 32), ColumnDef::charColumn("CNP", 13),
                                   ColumnDef::decimalColumn("VENIT", 10, 2), ColumnDef::charColumn("CALITATE", 12)});
    dbf::DbfTable::create(folder / "LOG.DBF", {ColumnDef::decimalColumn("IDLOG", 10, 0), ColumnDef::dateColumn("DATAL"),
                                               ColumnDef::charColumn("ORA", 12), ColumnDef::charColumn("ACTIUNE", 120),
                                               ColumnDef::charColumn("UTILIZATOR", 16)});
    dbf::DbfTable apps(cereri), mems(oameni);
    CityCounts counts;
    long nrcrt = 0, nrom = 0;
    using dbf::Value;
    for (int month = 0; month < o.months; ++month) {
        const int code = o.firstMonthCode + month;
        const int year = code / 12, mon = code % 12 + 1;
        for (std::size_t i = 0; i < homes.size(); ++i) {
            const Household &h = homes[i];
            ++nrcrt;
            const double perMember = h.income / static_cast<double>(h.members.size());
            const bool approved = i % 17 != 0;
            const double percent = perMember < 500 ? 90 : perMember < 1000 ? 50 : 10;
            const double valmax = h.heat ? 1.34 * h.rooms * percent * 305.5 / 100 : 0;
            dbf::Record r(52);
            r[0] = Value::fromNumber(static_cast<double>(nrcrt));
            r[1] = Value::fromNumber(o.firstMonthCode);
            r[2] = Value::fromNumber(code);
            r[3] = Value::fromText(h.applicant);
            r[4] = Value::fromText(h.cnp);
            r[5] = Value::fromText(h.locality);
            r[6] = Value::fromText(h.address);
            r[7] = Value::fromNumber(static_cast<double>(h.members.size()));
            r[8] = Value::fromNumber(h.income);
            r[9] = Value::fromNumber(std::round(perMember * 100) / 100);
            r[14] = h.heat ? Value::fromText("X") : Value::null();
            r[15] = Value::fromNumber(h.heat ? 0 : (i % 3 == 1 ? 20 : 0));
            r[16] = Value::fromText(h.applicant);
            r[17] = Value::fromText(h.cnp);
            r[18] = Value::fromText(h.gas);
            r[19] = Value::fromText("CL" + std::to_string(100000 + i));
            r[20] = Value::fromText("POD" + std::to_string(500000 + i));
            r[21] = Value::fromNumber(i % 3 == 2 ? 10 : 0);
            r[22] = Value::fromText(h.applicant);
            r[23] = Value::fromText(h.cnp);
            r[24] = Value::fromText(h.power);
            r[25] = Value::fromText("EC" + std::to_string(200000 + i));
            r[26] = Value::fromText("RO" + std::to_string(700000 + i));
            r[27] = Value::fromNumber(30);
            if (h.heat) {
                r[28] = Value::fromText(h.applicant);
                r[29] = Value::fromText(h.cnp);
                r[30] = Value::fromText(kHeat);
                r[31] = Value::fromText("T" + std::to_string(300000 + i));
            }
            r[32] = Value::fromNumber(0);
            r[33] = Value::fromNumber(percent);
            r[34] = Value::fromNumber(5);
            r[35] = Value::fromNumber(std::round(valmax * 5 * 100) / 100);
            r[36] = Value::fromText(std::to_string(i + 1));
            r[37] = Value::fromNumber(static_cast<double>(i + 1));
            r[38] = Value::fromDate(year, mon, 1 + static_cast<int>(i % 27));
            r[39] = Value::fromDate(year, mon, 28);
            r[40] = Value::fromText(approved ? "APROBAT" : "RESPINS");
            if (!approved)
                r[42] = Value::fromText("Venitul depaseste limita");
            r[43] = Value::fromText(h.members.size() > 1 ? "C" : "N");
            r[45] = Value::fromNumber(h.rooms);
            r[46] = Value::fromNumber(h.heat ? 305.5 : 0);
            r[47] = Value::fromNumber(std::round(valmax * 10000) / 10000);
            r[49] = Value::fromNumber(h.members.size() > 2 ? 1 : 0);
            r[50] = Value::fromNumber(0);
            r[51] = Value::fromText(i % 4 == 0 ? "pensionar" : "salariat");
            apps.append(r);
            ++counts.applications;
            for (const Member &m : h.members) {
                mems.append({Value::fromNumber(static_cast<double>(++nrom)),
                             Value::fromNumber(static_cast<double>(nrcrt)), Value::fromText(m.name),
                             Value::fromText(m.cnp), Value::fromNumber(m.income), Value::fromText(m.role)});
                ++counts.members;
            }
        }
    }
    return counts;
}

} // namespace focaris::sql
