// The column layout of the applications table and a generator of realistic rows, shared
// by the dBase tests and the dBase benchmark.
#pragma once

#include "engines/dbase/DbfTable.h"

#include <sstream>
#include <string>
#include <vector>

namespace focaris::dbf::sample {

inline std::vector<ColumnDef> cereriColumns()
{
    static const char *layout = "NRCRT N 12 0;LUNADEC N 10 0;LUNACRT N 10 0;SUBSEMN C 32;CNP C 13;LOCALIT C 60;"
                                "ADRESA C 60;NR_MEMBRI N 5 0;TVENIT N 10 2;VENITM N 10 2;ASOC C 60;NRCONT C 20;"
                                "L416 C 1;ASF C 1;CUAJUT C 1;SUMAL N 10 2;TITG C 32;CNPG C 13;FURNG C 60;CODCLG C 20;"
                                "PODG C 20;SUMAG N 10 2;TITE C 32;CNPE C 13;FURNE C 60;CODCLE C 20;PODE C 20;"
                                "SUMAE N 10 2;TITT C 32;CNPT C 13;FURNT C 60;CODCLT C 20;SUMAT N 10 2;CUANTUM N 10 2;"
                                "NR_LUNI N 5 0;TOTAL N 10 2;NR_DISP C 16;NR_CERE N 10 0;DATACERE D;DATADISP D;"
                                "STATUT C 7;CUMODIF C 1;MOTIVR C 80;STCIV C 2;SITSCOL C 2;NRCAM N 6 0;TARIF N 10 4;"
                                "VALMAX N 10 4;ASIG C 1;COPII14 N 6 0;COPII18 N 6 0;SITPROF C 24";
    std::vector<ColumnDef> columns;
    std::stringstream all(layout);
    std::string item;
    while (std::getline(all, item, ';')) {
        std::stringstream one(item);
        std::string name;
        char type;
        int length = 8, decimals = 0;
        one >> name >> type;
        if (type != 'D')
            one >> length >> decimals;
        columns.push_back(ColumnDef{name, type, length, decimals});
    }
    return columns;
}

// Row i of a city-sized month: names with Romanian letters, amounts, dates, flags, a few
// blank columns as real rows have.
inline Record cereriRecord(int i)
{
    static const char *names[] = {"POPESCU ION", "IONESCU MARIA",       "ŞTEFĂNESCU ŢĂRAN",
                                  "DUMITRU ANA", "CONSTANTIN GHEORGHE", "MUREŞAN ELENA"};
    static const char *streets[] = {"Str. Mihai Viteazu nr. 12", "Bd. Independenţei 4, bl. A3", "Str. Florilor 7",
                                    "Aleea Teilor 19, ap. 3"};
    static const std::vector<ColumnDef> columns = cereriColumns();
    Record r(columns.size());
    auto set = [&](const char *name, Value v) {
        for (std::size_t k = 0; k < columns.size(); ++k)
            if (columns[k].name == name)
                r[k] = std::move(v);
    };
    set("NRCRT", Value::fromNumber(i + 1));
    set("LUNADEC", Value::fromNumber(24287 + i % 3));
    set("LUNACRT", Value::fromNumber(24288));
    set("SUBSEMN", Value::fromText(names[i % 6]));
    set("CNP", Value::fromText(std::to_string(1800101400000LL + i)));
    set("LOCALIT", Value::fromText("BRAŞOV"));
    set("ADRESA", Value::fromText(streets[i % 4]));
    set("NR_MEMBRI", Value::fromNumber(1 + i % 5));
    set("TVENIT", Value::fromNumber(1250.5 + i % 700));
    set("VENITM", Value::fromNumber((1250.5 + i % 700) / (1 + i % 5)));
    set("CUAJUT", Value::fromText(i % 2 ? "X" : ""));
    set("SUMAL", Value::fromNumber(i % 3 ? 0 : 320));
    set("FURNG", Value::fromText(i % 4 ? "" : "DISTRIGAZ SUD"));
    set("SUMAG", Value::fromNumber(i % 4 ? 0 : 262));
    set("CUANTUM", Value::fromNumber(10 * (i % 10)));
    set("NR_LUNI", Value::fromNumber(5));
    set("TOTAL", Value::fromNumber(1234.56));
    set("NR_DISP", Value::fromText(std::to_string(1000 + i)));
    set("NR_CERE", Value::fromNumber(i + 100));
    set("DATACERE", Value::fromDate(2023, 11, 1 + i % 28));
    set("DATADISP", Value::fromDate(2023, 12, 1 + i % 28));
    set("STATUT", Value::fromText(i % 7 ? "APROBAT" : "RESPINS"));
    set("STCIV", Value::fromText("C"));
    set("NRCAM", Value::fromNumber(2));
    set("TARIF", Value::fromNumber(412.3456));
    set("VALMAX", Value::fromNumber(123.4567));
    set("COPII14", Value::fromNumber(i % 3));
    set("COPII18", Value::fromNumber(0));
    set("SITPROF", Value::fromText("salariat"));
    return r;
}

} // namespace focaris::dbf::sample
