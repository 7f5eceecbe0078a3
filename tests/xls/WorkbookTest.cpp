// The workbook component on real workbooks: unchanged round trips checked with
// python3-xlrd, cell writing, row copies with formulas, merged areas, hyperlinks and
// conditional formats, and both compound-file sector sizes.
#include "XlsTestSupport.h"

#include "TestSupport.h"
#include "engines/xls/Bytes.h"
#include "engines/xls/CompoundFile.h"
#include "engines/xls/XCell.h"

#include <gtest/gtest.h>

using namespace focaris::xls;
using namespace focaris::xls::test;
using focaris::test::TempDir;

namespace {

std::string facts(const std::filesystem::path &file)
{
    std::string out;
    EXPECT_EQ(runPython("check_fill.py", {file.string()}, &out), 0) << out;
    return out;
}

bool has(const std::string &text, const std::string &line)
{
    return text.find(line + "\n") != std::string::npos;
}

} // namespace

TEST(Workbook, EveryTestWorkbookSurvivesARoundTripAsXlrdReadsIt)
{
    TempDir dir;
    const auto files = workbooksIn(focaris::test::dataDir() / "good" / "xls");
    ASSERT_GE(files.size(), 4u);
    for (const auto &f : files) {
        for (bool rewrite : {false, true}) {
            const auto copy = dir / ("copy-" + f.filename().string());
            XCell book = XCell::open(f.string());
            if (rewrite)
                book.rewriteAll(); // every cell table written anew, not copied
            book.save(copy.string());
            std::string out;
            EXPECT_EQ(runPython("compare_xls.py", {f.string(), copy.string()}, &out), 0)
                << f << (rewrite ? " rewritten" : "") << "\n"
                << out;
        }
        // Saving the saved copy again gives the same bytes.
        XCell once = XCell::open(f.string());
        const std::string first = once.toBytes();
        EXPECT_EQ(XCell::fromBytes(first).toBytes(), first) << f;
    }
}

TEST(Workbook, ReadsAndWritesBothSectorSizes)
{
    const std::string original = focaris::test::readFile(goodWorkbook("xlwt-many-strings.xls"));
    const CompoundFile cf = CompoundFile::parse(original);
    for (unsigned shift : {9u, 12u}) {
        XCell a = XCell::fromBytes(original), b = XCell::fromBytes(cf.serialize(shift));
        ASSERT_EQ(a.cells().size(), b.cells().size());
        EXPECT_EQ(b.value(800, 1).text, a.value(800, 1).text);
        EXPECT_EQ(b.value(1, 4).text, std::string(9000, 'y'));
    }
}

TEST(Workbook, WrittenCellsReadBackInTheEngineAndInXlrd)
{
    TempDir dir;
    XCell book = XCell::open(goodWorkbook("xlwt-many-strings.xls").string());
    ASSERT_EQ(book.sheetCount(), 1);
    EXPECT_EQ(book.sheetName(1), "Siruri");
    EXPECT_EQ(book.lastRow(), 800);
    EXPECT_EQ(book.lastCol(), 4);
    EXPECT_FALSE(book.setActiveSheet(2));

    book.setText(2, 2, "Ștefănescu Țuțu"); // comma-below letters need Unicode
    book.setNumber(3, 2, 1234567);         // a whole number
    book.setNumber(4, 2, 0.1);             // not an RK number
    book.setText(5, 2, "");                // empties the cell, keeps the format
    book.setText(900, 7, "nou");           // a new row beyond the last
    EXPECT_THROW(book.setNumber(1, 257, 1), XlsError);
    const auto out = dir / "out.xls";
    book.save(out.string());

    XCell back = XCell::open(out.string());
    EXPECT_EQ(back.value(2, 2).text, "Ștefănescu Țuțu");
    EXPECT_EQ(back.value(3, 2).number, 1234567);
    EXPECT_EQ(back.value(4, 2).number, 0.1);
    EXPECT_EQ(back.value(5, 2).type, CellValue::Type::Empty);
    EXPECT_EQ(back.value(900, 7).text, "nou");
    EXPECT_EQ(back.value(799, 1).text, XCell::open(goodWorkbook("xlwt-many-strings.xls").string()).value(799, 1).text);

    // xlrd sees exactly the cells written as different; every other cell and format is
    // the same although the string table was written anew.
    std::string diff;
    EXPECT_EQ(runPython("compare_xls.py", {goodWorkbook("xlwt-many-strings.xls").string(), out.string()}, &diff), 1);
    EXPECT_NE(diff.find("Siruri!R2C2 (1, 'plain 7', 17) != (1, 'Ștefănescu Țuțu', 17)"), std::string::npos) << diff;
    EXPECT_NE(diff.find("Siruri!R3C2 (1, 'plain 14', 17) != (2, 1234567.0, 17)"), std::string::npos) << diff;
    EXPECT_NE(diff.find("Siruri!R5C2 (1, 'plain 28', 17) != (6, '', 17)"), std::string::npos) << diff;
    EXPECT_EQ(std::count(diff.begin(), diff.end(), '\n'), 5) << diff;
}

TEST(Workbook, RowCopiesMoveFormulasMergesLinksAndConditionalFormats)
{
    TempDir dir;
    XCell book = XCell::open(goodWorkbook("stat.xls").string());
    book.insertRowCopies(11, 2);
    book.setActiveSheet(3);
    book.insertRowCopies(11, 1);
    const auto out = dir / "out.xls";
    book.save(out.string());
    const std::string f = facts(out);

    // The copies keep the row's formula, following their own row.
    EXPECT_TRUE(has(f, "Cumulat formula R11C13 I11+J11+K11+L11")) << f;
    EXPECT_TRUE(has(f, "Cumulat formula R12C13 I12+J12+K12+L12")) << f;
    EXPECT_TRUE(has(f, "Cumulat formula R13C13 I13+J13+K13+L13")) << f;
    // The total row moved down and sums every copy.
    EXPECT_TRUE(has(f, "Cumulat formula R14C9 SUM(I11:I13)")) << f;
    EXPECT_TRUE(has(f, "Cumulat formula R14C13 SUM(M11:M13)")) << f;
    // Merged area, hyperlink and conditional format below moved with their rows.
    EXPECT_TRUE(has(f, "Cumulat merged R23C1:R23C3")) << f;
    EXPECT_TRUE(has(f, "Cumulat link R24C1 https://example.org/plati")) << f;
    EXPECT_TRUE(has(f, "Cumulat condfmt R22C1:R22C3")) << f;
    // Another sheet's reference into the moved total follows it; that sheet's own
    // insertion moved its rows too.
    EXPECT_TRUE(has(f, "Suplimente formula R26C2 Cumulat!M14:M14")) << f;
    EXPECT_TRUE(has(f, "Suplimente formula R13C7 SUM(G11:G12)")) << f;

    XCell back = XCell::open(out.string());
    EXPECT_EQ(back.value(13, 1).text, "%NRCRT");
    EXPECT_EQ(back.value(14, 6).text, "TOTAL GENERAL");
    EXPECT_EQ(back.value(17, 5).text, "#P1");
    EXPECT_EQ(back.value(21, 7).text, "#I2");
}

TEST(Workbook, RowCopiesRefuseToPushRowsOffTheSheet)
{
    XCell book = XCell::open(goodWorkbook("stat.xls").string());
    EXPECT_THROW(book.insertRowCopies(11, 65530), XlsError);
    EXPECT_EQ(book.value(12, 6).text, "TOTAL GENERAL"); // nothing moved
    book.insertRowCopies(11, 0);
    EXPECT_EQ(book.value(12, 6).text, "TOTAL GENERAL");
}
