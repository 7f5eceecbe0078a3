// Reference moving inside formula expressions: the rules a spreadsheet follows when rows
// are inserted below a row and when a row is copied.
#include "XlsTestSupport.h"

#include "TestSupport.h"
#include "engines/xls/Bytes.h"
#include "engines/xls/FormulaRefs.h"
#include "engines/xls/XCell.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

using namespace focaris::xls;

namespace {

// Area token (class reference) with both rows relative.
std::string area(uint16_t r1, uint16_t r2, uint16_t c = 8, bool relative = true)
{
    std::string f(1, '\x25');
    const uint16_t flags = relative ? 0xC000 : 0;
    app16(f, r1);
    app16(f, r2);
    app16(f, uint16_t(c | flags));
    app16(f, uint16_t(c | flags));
    return f;
}

std::string ref(uint16_t r, uint16_t c = 8)
{
    std::string f(1, '\x24');
    app16(f, r);
    app16(f, uint16_t(c | 0xC000));
    return f;
}

} // namespace

TEST(FormulaRefs, InsertionMovesRowsBelowAndWidensRangesEndingAtTheRow)
{
    const RowInsert ins{10, 2}; // two copies below row 11
    RefChange c;
    c.insert = &ins;
    c.sameSheet = true;

    // SUM(I11:I11) in the total row → I11:I13; a sum of rows 12-15 moves whole; a sum of
    // rows 1-5 stays; a single reference to row 11 stays, to row 12 moves.
    std::string f = area(10, 10) + area(11, 14) + area(0, 4) + ref(10) + ref(11) + "\x19\x10\x00\x00"s;
    ASSERT_TRUE(adjustFormula(f, c));
    EXPECT_EQ(f, area(10, 12) + area(13, 16) + area(0, 4) + ref(10) + ref(13) + "\x19\x10\x00\x00"s);

    // The copied row's own ranges keep to one row.
    c.widen = false;
    f = area(10, 10);
    ASSERT_TRUE(adjustFormula(f, c));
    EXPECT_EQ(f, area(10, 10));

    // A whole column stays whole; a reference pushed off the sheet becomes #REF!.
    c.widen = true;
    f = area(0, 65535) + ref(65535);
    ASSERT_TRUE(adjustFormula(f, c));
    EXPECT_EQ(f.substr(0, 9), area(0, 65535));
    EXPECT_EQ(uint8_t(f[9]), 0x2A);

    // References of another sheet are left alone; 3-D ones to this sheet move.
    c.sameSheet = false;
    std::string r3d = "\x3A\x00\x00"s;
    app16(r3d, 20);
    app16(r3d, 0);
    c.sheetOf3d = [](uint16_t ixti) { return ixti == 0; };
    f = ref(20) + r3d;
    ASSERT_TRUE(adjustFormula(f, c));
    EXPECT_EQ(rd16(f, 1), 20);
    EXPECT_EQ(rd16(f, 8), 22);
}

TEST(FormulaRefs, CopiesFollowTheirRowAndUnknownTokensStopTheWalk)
{
    RefChange copy;
    copy.copyOffset = 3;
    std::string f = area(10, 10) + area(0, 4, 8, false);
    ASSERT_TRUE(adjustFormula(f, copy));
    EXPECT_EQ(f, area(13, 13) + area(0, 4, 8, false)); // absolute rows stay

    std::string bad = ref(1) + "\x1A";
    EXPECT_FALSE(adjustFormula(bad, copy));
    bad = ref(1) + "\x19\x04"; // an attribute cut short
    EXPECT_FALSE(adjustFormula(bad, copy));

    // A shared formula's relative tokens become the cell's own references.
    std::string shared(1, '\x2C');
    app16(shared, uint16_t(-1));            // one row up
    app16(shared, uint16_t(0xC000 | 0xFF)); // one column left
    ASSERT_TRUE(sharedToCell(shared, 7, 4));
    EXPECT_EQ(uint8_t(shared[0]), 0x24);
    EXPECT_EQ(rd16(shared, 1), 6);
    EXPECT_EQ(rd16(shared, 3) & 0xFF, 3);
}

TEST(FormulaRefs, SharedFormulasOfALibreOfficeWorkbookSurviveRowCopies)
{
    focaris::test::TempDir dir;
    XCell book = XCell::open(test::goodWorkbook("mixed.xls").string());
    book.insertRowCopies(5, 2);
    const auto out = dir / "out.xls";
    book.save(out.string());
    std::string facts;
    ASSERT_EQ(test::runPython("check_fill.py", {out.string()}, &facts), 0) << facts;
    for (const char *line : {"Foaie formula R5C5 B5+C5\n", "Foaie formula R7C5 B7+C7\n", "Foaie formula R8C5 B8+C8\n",
                             "Foaie formula R406C5 B406+C406\n", "Foaie formula R8C6 'Al doilea'!A1:A1*6.0\n"})
        EXPECT_NE(facts.find(line), std::string::npos) << line << facts;
    XCell back = XCell::open(out.string());
    EXPECT_EQ(back.value(8, 2).number, 6); // the old row 6
    EXPECT_EQ(back.value(406, 2).number, 404);
}
