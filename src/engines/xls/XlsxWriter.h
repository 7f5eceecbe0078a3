// The supplier workbooks in the Excel 2007 format (.xlsx): one sheet, the column headers
// in row 1 and one row per application from row 2, numbers stored as numbers.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace focaris::xls {

struct XlsxCell {
    enum class Kind { None, Text, Number };
    Kind kind = Kind::None;
    std::string text;
    double number = 0;
    static XlsxCell Text(std::string t) { return {Kind::Text, std::move(t), 0}; }
    static XlsxCell Number(double n) { return {Kind::Number, {}, n}; }
};

// Writes `headers` into row 1 and `rows` from row 2 to a new file at `path`; cells of
// kind None are left out. Throws XlsError when the file cannot be written.
void writeXlsx(const std::string &path, const std::vector<std::string> &headers,
               const std::vector<std::vector<XlsxCell>> &rows, const std::string &sheetName = "Sheet1");

// The 27 columns of the gas and electricity supplier's import workbook.
const std::vector<std::string> &eonHeaders();

// One application as the supplier workbook needs it; `gas` picks the gas columns
// (amount SUMAG, customer CODCLG, holder TITG, consumption point PODG, client type 1010)
// or the electricity ones (SUMAE, CODCLE, TITE, PODE, 8010), filled by the caller.
struct EonApplication {
    std::string uat; // Localit of the administration
    std::string dispositionNo;
    double amount = 0;
    std::string customerCode;
    std::string holder;
    bool gas = true;
    std::string beneficiary; // SUBSEMN
    std::string cnp;
    std::string county; // CountyName
    std::string postalCode;
    std::string locality;
    std::string address;
    std::string consumptionPoint;
    double members = 0;
    double incomePerMember = 0;
    std::string month; // AAAA + LL, e.g. 202312
};

// The 27 cells of one application's row.
std::vector<XlsxCell> eonRow(const EonApplication &a);

// Splits a name at its first blank: the text before it and the text after it; a name
// without a blank is all first part.
std::pair<std::string, std::string> splitName(const std::string &name);

} // namespace focaris::xls
