// The template filler on the payment-statement template: markers, the data row repeated
// per record with its totals following, no records, zero values, and the template left
// untouched.
#include "XlsTestSupport.h"

#include "TestSupport.h"
#include "engines/xls/Bytes.h"
#include "engines/xls/WorkbookFiller.h"

#include <gtest/gtest.h>

using namespace focaris::xls;
using namespace focaris::xls::test;
using focaris::test::TempDir;

namespace {

MemoryRows statementRows(std::size_t count)
{
    std::vector<MemoryRows::Column> cols = {
        {"TITULAR", ColumnKind::Text},   {"CNP", ColumnKind::Text},     {"NRDISP", ColumnKind::Text},
        {"DATADISP", ColumnKind::Date},  {"ADRESA", ColumnKind::Text},  {"CUANTUM", ColumnKind::Number},
        {"NR_LUNI", ColumnKind::Number}, {"SUMAL", ColumnKind::Number}, {"SUMAG", ColumnKind::Number},
        {"SUMAT", ColumnKind::Number},   {"SUMAE", ColumnKind::Text}};
    const char *names[] = {"ȘERBAN ION", "POP ANA", "ȚIGĂNUȘ MARIA"};
    std::vector<std::vector<FieldValue>> rows;
    for (std::size_t i = 0; i < count; ++i)
        rows.push_back({text(names[i % 3]), text("1800101123456"), text(std::to_string(10 + i) + "/"),
                        FieldValue{FieldValue::Kind::Date, {}, double(daySerial(2023, 12, 1))},
                        text("Str. Lunga " + std::to_string(i)), num(30), num(5), num(double(i) * 10.5), num(0),
                        FieldValue{}, text("7")});
    return MemoryRows(cols, rows);
}

struct Filler {
    TempDir dir;
    std::string output = (dir / "XLSTmp1.xls").string();
    std::vector<std::string> shown;
    WorkbookFiller x{{[this] { return output; }, [this](const std::string &f) { shown.push_back(f); }, nullptr}};
};

} // namespace

TEST(Fill, ThreeRecordsFillRowsElevenToThirteenAndTheTotalSumsThem)
{
    Filler f;
    const auto tpl = goodWorkbook("stat.xls");
    const std::string before = focaris::test::readFile(tpl);
    ASSERT_TRUE(f.x.OpenTemplate(tpl.string(), false));
    f.x.ReplaceText("#JUDET", XValue::Text("Judet   26 - Mures"));
    f.x.ReplaceText("#PRIMARIA", XValue::Text("Primaria   123 - Reghin"));
    f.x.ReplaceText("#PRIMAR", XValue::Text("PRIMAR, Ion"));
    const MemoryRows q = statementRows(3);
    f.x.FillRows(&q);
    f.x.CloseResult(true);
    EXPECT_EQ(f.shown, std::vector<std::string>{f.output});
    EXPECT_EQ(focaris::test::readFile(tpl), before); // the template is never written

    XCell book = XCell::open(f.output);
    EXPECT_EQ(book.value(2, 1).text, "Judet   26 - Mures"); // "#Judet", whole cell
    EXPECT_EQ(book.value(3, 1).text, "Primaria   123 - Reghin");
    EXPECT_EQ(book.value(16 + 2, 5).text, "PRIMAR, Ion");
    for (int k = 0; k < 3; ++k) {
        const int r = 11 + k;
        EXPECT_EQ(book.value(r, 1).number, k + 1); // %NRCRT
        EXPECT_EQ(book.value(r, 5).number, 45261); // 1 Dec 2023 as day count
        EXPECT_EQ(book.value(r, 9).number, k * 10.5);
        EXPECT_EQ(book.value(r, 10).type, CellValue::Type::Empty); // 0 with empty ZeroValue
        EXPECT_EQ(book.value(r, 11).type, CellValue::Type::Empty); // null number → 0
        EXPECT_EQ(book.value(r, 12).text, "7");                    // text column as it is
        EXPECT_EQ(book.value(r, 15).type, CellValue::Type::Empty); // #DBF emptied
    }
    EXPECT_EQ(book.value(9 + 2, 9).type, CellValue::Type::Empty); // first record: 0 → blank
    EXPECT_EQ(book.value(11, 2).text, "ȘERBAN ION");
    EXPECT_EQ(book.value(13, 2).text, "ȚIGĂNUȘ MARIA");
    EXPECT_EQ(book.value(14, 6).text, "TOTAL GENERAL");

    std::string facts;
    ASSERT_EQ(runPython("check_fill.py", {f.output}, &facts), 0) << facts;
    EXPECT_NE(facts.find("Cumulat formula R14C9 SUM(I11:I13)\n"), std::string::npos) << facts;
    EXPECT_NE(facts.find("Cumulat formula R13C13 I13+J13+K13+L13\n"), std::string::npos) << facts;
    EXPECT_NE(facts.find("Cumulat merged R23C1:R23C3\n"), std::string::npos) << facts;
    EXPECT_NE(facts.find("Cumulat link R24C1 https://example.org/plati\n"), std::string::npos);
    EXPECT_NE(facts.find("Cumulat condfmt R22C1:R22C3\n"), std::string::npos) << facts;
}

TEST(Fill, NoRecordEmptiesTheDataRowAndZeroValueShowsZeros)
{
    Filler f;
    ASSERT_TRUE(f.x.OpenTemplate(goodWorkbook("stat.xls").string()));
    const MemoryRows none = statementRows(0);
    f.x.FillRows(&none);
    f.x.SelectSheet(3);
    f.x.ZeroValue = XValue::Number(0);
    const MemoryRows one = statementRows(1);
    f.x.FillRows(&one);
    f.x.CloseResult(false);
    EXPECT_TRUE(f.shown.empty());

    XCell book = XCell::open(f.output);
    for (int c = 1; c <= 15; ++c)
        EXPECT_FALSE(book.value(11, c).type == CellValue::Type::Text) << c;
    EXPECT_EQ(book.value(12, 6).text, "TOTAL GENERAL"); // nothing inserted
    book.setActiveSheet(3);
    EXPECT_EQ(book.value(11, 8).type, CellValue::Type::Number); // SUMAG 0 → 0
    EXPECT_EQ(book.value(11, 8).number, 0);
    EXPECT_EQ(book.value(11, 7).number, 0); // SUMAL of record 1 is 0
}

TEST(Fill, ReplaceTextWholeCellKeepsNumbersInTextReplacesEveryOccurrence)
{
    Filler f;
    ASSERT_TRUE(f.x.OpenTemplate(goodWorkbook("stat.xls").string()));
    f.x.SetCell(30, 1, XValue::Text("Judetul: #JUDET. si iar #judet"));
    f.x.SetCell(31, 1, XValue::Text("#Judet"));
    f.x.SetCell(32, 1, XValue::Text("#JUDETE"));
    f.x.ReplaceText("#JUDET", XValue::Number(26));
    f.x.ReplaceText("#C1", XValue::Text("#C1#C1")); // the search goes on after the insert
    XCell &b = *f.x.workbook();
    EXPECT_EQ(b.value(30, 1).text, "Judetul: 26. si iar 26");
    EXPECT_EQ(b.value(31, 1).type, CellValue::Type::Number);
    EXPECT_EQ(b.value(31, 1).number, 26);
    EXPECT_EQ(b.value(32, 1).text, "26E");
    EXPECT_EQ(b.value(15, 8).text, "#C1#C1");
}

TEST(Fill, MissingTemplateOrNoDataRowChangeNothing)
{
    Filler f;
    EXPECT_FALSE(f.x.OpenTemplate((f.dir / "Stat.xls").string()));
    EXPECT_THROW(f.x.CloseResult(false), XlsError);
    EXPECT_FALSE(std::filesystem::exists(f.output));

    // Names are found whatever their case, as the program's data folders need.
    ASSERT_TRUE(std::filesystem::copy_file(goodWorkbook("xlwt-basic.xls"), f.dir / "MODEL.XLS"));
    ASSERT_TRUE(f.x.OpenTemplate((f.dir / "Model.xls").string()));
    const MemoryRows q = statementRows(2);
    f.x.FillRows(&q); // no "#DBF": nothing happens
    f.x.FillRows(nullptr);
    EXPECT_EQ(f.x.workbook()->lastRow(), 42);
}
