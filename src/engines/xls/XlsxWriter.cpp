// The .xlsx writer over libxlsxwriter.
#include "engines/xls/XlsxWriter.h"

#include "engines/xls/Bytes.h"

#include <xlsxwriter.h>

#include <cmath>

namespace focaris::xls {

void writeXlsx(const std::string &path, const std::vector<std::string> &headers,
               const std::vector<std::vector<XlsxCell>> &rows, const std::string &sheetName)
{
    if (rows.size() + 1 > LXW_ROW_MAX)
        throw XlsError("too many rows for one sheet");
    lxw_workbook *wb = workbook_new(path.c_str());
    if (!wb)
        throw XlsError("cannot create \"" + path + "\"");
    lxw_worksheet *ws = workbook_add_worksheet(wb, sheetName.c_str());
    auto put = [&](lxw_row_t r, lxw_col_t c, const XlsxCell &cell) {
        if (cell.kind == XlsxCell::Kind::Text)
            worksheet_write_string(ws, r, c, cell.text.c_str(), nullptr);
        else if (cell.kind == XlsxCell::Kind::Number && std::isfinite(cell.number))
            worksheet_write_number(ws, r, c, cell.number, nullptr);
    };
    for (std::size_t c = 0; c < headers.size(); ++c)
        put(0, lxw_col_t(c), XlsxCell::Text(headers[c]));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            put(lxw_row_t(r + 1), lxw_col_t(c), rows[r][c]);
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR)
        throw XlsError("cannot write \"" + path + "\": " + lxw_strerror(err));
}

const std::vector<std::string> &eonHeaders()
{
    static const std::vector<std::string> headers = {"CRC",
                                                     "Primarie",
                                                     "Nr Dispozitie",
                                                     "Ajutor Total",
                                                     "Ajutor Stat",
                                                     "Ajutor Local",
                                                     "Cod Abonat",
                                                     "Nume Titular",
                                                     "Prenume Titular",
                                                     "Tip Client",
                                                     "Nume Beneficiar",
                                                     "Prenume Beneficiar",
                                                     "CNP Beneficiar",
                                                     "Judet",
                                                     "Cod Loc",
                                                     "Localitate",
                                                     "Cod Str",
                                                     "Strada",
                                                     "Numar",
                                                     "Supliment",
                                                     "Bloc",
                                                     "AP",
                                                     "Punct Consum",
                                                     "Instalatie",
                                                     "Numar Membri",
                                                     "Venit Membru",
                                                     "Luna Ajutor"};
    return headers;
}

std::pair<std::string, std::string> splitName(const std::string &name)
{
    const auto blank = name.find(' ');
    if (blank == std::string::npos)
        return {name, {}};
    return {name.substr(0, blank), name.substr(blank + 1)};
}

std::vector<XlsxCell> eonRow(const EonApplication &a)
{
    std::vector<XlsxCell> row(27);
    auto text = [&](int col, const std::string &t) { row[col - 1] = XlsxCell::Text(t); };
    auto number = [&](int col, double n) { row[col - 1] = XlsxCell::Number(n); };
    const auto holder = splitName(a.holder);
    const auto beneficiary = splitName(a.beneficiary);
    text(2, a.uat);
    text(3, a.dispositionNo);
    number(4, a.amount);
    number(5, a.amount);
    number(6, 0);
    text(7, a.customerCode);
    text(8, holder.first);
    text(9, holder.second);
    number(10, a.gas ? 1010 : 8010);
    text(11, beneficiary.first);
    text(12, beneficiary.second);
    text(13, a.cnp);
    text(14, a.county);
    text(15, a.postalCode);
    text(16, a.locality);
    text(18, a.address);
    text(23, a.consumptionPoint);
    number(25, std::trunc(a.members));
    number(26, a.incomePerMember);
    text(27, a.month);
    return row;
}

} // namespace focaris::xls
