// focaris-tool grid export: a statement's rows written as the grid export writes a grid
// ("Export Grila"), in one of its six formats.
#include "tool/Command.h"

#include "documents/GridExport.h"
#include "documents/ResultGrid.h"
#include "engines/localsql/Engine.h"

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

const char *kUsage = "grid export FOLDER STATEMENT --format xls|html|csv|txt|rtf|doc --out FILE"
                     "   a query's rows as the grid export writes them";

int gridExport(const Args &given)
{
    Args args = given;
    const std::string format = takeOption(args, "--format", "xls");
    const std::string out = takeOption(args, "--out");
    expectCount(args, 2, kUsage);
    if (out.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
    GridFormat chosen{};
    bool known = false;
    for (GridFormat f : GridFormats()) {
        if (GridFormatSuffix(f) == QString::fromStdString(format)) {
            chosen = f;
            known = true;
        }
    }
    if (!known)
        throw std::runtime_error("unknown format '" + format + "' (xls, html, csv, txt, rtf, doc)");
    sql::Engine engine(args[0]);
    ResultGrid grid(engine.query(args[1]));
    QString error;
    if (!ExportGrid(grid, AllGridColumns(grid), chosen, QString::fromStdString(out), error)) {
        std::fprintf(stderr, "Export Grila: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("file=%s\nrows=%d\n", out.c_str(), grid.rowCount());
    return 0;
}

Registration r("grid export", kUsage, gridExport);

} // namespace
} // namespace focaris::tool
