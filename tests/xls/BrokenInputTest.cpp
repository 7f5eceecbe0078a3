// Damaged and hostile workbooks end in a clear error, never a crash or a hang.
#include "XlsTestSupport.h"

#include "TestSupport.h"
#include "engines/xls/Bytes.h"
#include "engines/xls/XCell.h"

#include <gtest/gtest.h>

#include <map>

using namespace focaris::xls;

TEST(BrokenInput, EachDamagedWorkbookGivesItsError)
{
    const std::map<std::string, std::string> expected = {
        {"bad-sector-size.xls", "unsupported sector size"},
        {"biff5-version.xls", "not in the Excel 97-2003 format"},
        {"encrypted-filepass.xls", "password"},
        {"looping-sector-chain.xls", "chain loops"},
        {"not-a-compound-file.xls", "no compound file signature"},
        {"record-longer-than-stream.xls", "longer than the stream"},
        {"sst-count-too-low.xls", "refers to string 3 of a table of 3"},
        {"truncated-file.xls", "beyond the end of the file"},
    };
    const auto files = test::workbooksIn(focaris::test::dataDir() / "broken" / "xls");
    ASSERT_EQ(files.size(), expected.size() + 1);
    for (const auto &f : files) {
        const std::string name = f.filename().string();
        if (name == "sst-count-too-high.xls") {
            // Counts that promise more strings than there are: the strings present are read.
            // A copy written back carries the counts of the strings really held, so
            // that xlrd (which trusts the counts) reads it; also when no string is added.
            XCell book = XCell::open(f.string());
            EXPECT_EQ(book.value(20, 1).text, "text 19");
            focaris::test::TempDir dir;
            const std::string copy = (dir / "copy.xls").string();
            book.save(copy);
            std::string out;
            EXPECT_EQ(test::runPython("check_fill.py", {copy}, &out), 0) << out;
            EXPECT_EQ(XCell::open(copy).value(20, 1).text, "text 19");
            continue;
        }
        try {
            XCell::open(f.string());
            ADD_FAILURE() << name << " was accepted";
        } catch (const XlsError &e) {
            EXPECT_NE(std::string(e.what()).find(expected.at(name)), std::string::npos) << name << ": " << e.what();
        }
    }
}

TEST(BrokenInput, EveryTruncationAndByteFlipOfAGoodWorkbookIsSafe)
{
    // A cheap sweep beside the fuzz target: cut the file at many places and flip bytes
    // in the header, the directory and the first records.
    const std::string good = focaris::test::readFile(test::goodWorkbook("xlwt-basic.xls"));
    int refused = 0;
    for (std::size_t cut = 0; cut < good.size(); cut += 97) {
        try {
            XCell::fromBytes(good.substr(0, cut)).toBytes();
        } catch (const XlsError &) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    for (std::size_t at = 0; at < std::min<std::size_t>(good.size(), 4096); at += 7) {
        std::string bad = good;
        bad[at] = char(~bad[at]);
        try {
            XCell book = XCell::fromBytes(bad);
            book.cells();
            book.insertRowCopies(2, 3);
            book.toBytes();
        } catch (const XlsError &) {
        }
    }
}
