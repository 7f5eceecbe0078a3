// focaris-tool xls: list the sheets of a workbook, print a sheet's cells, fill a template
// the way the program's documents do, and copy a workbook through the engine.
#include "tool/Command.h"

#include "documents/QueryRows.h"
#include "engines/localsql/Engine.h"
#include "engines/xls/WorkbookFiller.h"
#include "engines/xls/XCell.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace focaris::tool {
namespace {

using xls::CellValue;

const char *kUsage = "xls sheets FILE | xls dump FILE [--sheet N] | xls copy FILE OUTPUT [--rewrite] | "
                     "xls fill TEMPLATE OUTPUT [--sheet N] [--replace MARKER VALUE]... [--zero] "
                     "[--data FOLDER --query STATEMENT]";

int sheetNumber(Args &args)
{
    const std::string s = takeOption(args, "--sheet", "1");
    int n = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || p != s.data() + s.size() || n < 1)
        throw std::runtime_error("--sheet needs a sheet number from 1");
    return n;
}

// Whole numbers in plain digits, others in their shortest exact decimal form.
std::string number(double v)
{
    char buf[64];
    if (v == std::trunc(v) && std::fabs(v) < 1e17) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
        return buf;
    }
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, p);
}

// Line breaks and backslashes are escaped so that every cell stays on one line.
std::string oneLine(const std::string &t)
{
    std::string out;
    for (char c : t) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

int dump(Args args)
{
    const int sheet = sheetNumber(args);
    expectCount(args, 1, "xls dump FILE [--sheet N]");
    xls::XCell book = xls::XCell::open(args[0]);
    if (!book.setActiveSheet(sheet))
        throw std::runtime_error("the workbook has " + std::to_string(book.sheetCount()) + " sheets");
    for (const auto &e : book.cells()) {
        const CellValue &v = e.value;
        std::string type, value;
        switch (v.type) {
        case CellValue::Type::Text:
            type = "s";
            value = oneLine(v.text);
            break;
        case CellValue::Type::Number:
            type = "n";
            value = number(v.number);
            break;
        case CellValue::Type::Bool:
            type = "b";
            value = v.number ? "TRUE" : "FALSE";
            break;
        case CellValue::Type::Error:
            type = "e";
            value = v.text;
            break;
        case CellValue::Type::Empty: continue;
        }
        if (v.formula)
            type = "f";
        std::cout << e.row << ',' << e.col << ',' << type << ',' << value << '\n';
    }
    return 0;
}

int sheets(Args args)
{
    expectCount(args, 1, "xls sheets FILE");
    xls::XCell book = xls::XCell::open(args[0]);
    for (int i = 1; i <= book.sheetCount(); ++i)
        std::cout << book.sheetName(i) << '\n';
    return 0;
}

int copy(Args args)
{
    const bool rewrite = takeFlag(args, "--rewrite");
    expectCount(args, 2, "xls copy FILE OUTPUT [--rewrite]");
    xls::XCell book = xls::XCell::open(args[0]);
    if (rewrite)
        book.rewriteAll();
    book.save(args[1]);
    return 0;
}

int fill(Args args)
{
    const int sheet = sheetNumber(args);
    const bool zero = takeFlag(args, "--zero");
    const std::string folder = takeOption(args, "--data");
    const std::string query = takeOption(args, "--query");
    std::vector<std::pair<std::string, std::string>> replacements;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] != "--replace") {
            ++i;
            continue;
        }
        if (i + 2 >= args.size())
            throw std::runtime_error("--replace needs a marker and a value");
        replacements.emplace_back(args[i + 1], args[i + 2]);
        args.erase(args.begin() + long(i), args.begin() + long(i) + 3);
    }
    expectCount(args, 2, kUsage);
    if (folder.empty() != query.empty())
        throw std::runtime_error("--data and --query go together");

    const std::string output = args[1];
    xls::WorkbookFiller filler({[&] { return output; }, nullptr, nullptr});
    if (!filler.OpenTemplate(args[0], false))
        throw std::runtime_error("template \"" + args[0] + "\" does not exist");
    filler.SelectSheet(sheet);
    for (const auto &[marker, value] : replacements)
        filler.ReplaceText(marker, xls::XValue::Text(value));
    if (zero)
        filler.ZeroValue = xls::XValue::Number(0);
    if (!query.empty()) {
        sql::Engine engine(folder);
        const documents::ResultRows rows(engine.query(query));
        filler.FillRows(&rows);
    }
    filler.CloseResult(false);
    return 0;
}

int xlsCommand(const Args &all)
{
    if (all.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
    Args rest(all.begin() + 1, all.end());
    if (all[0] == "dump")
        return dump(rest);
    if (all[0] == "sheets")
        return sheets(rest);
    if (all[0] == "copy")
        return copy(rest);
    if (all[0] == "fill")
        return fill(rest);
    throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
}

Registration r("xls", kUsage, xlsCommand);

} // namespace
} // namespace focaris::tool
