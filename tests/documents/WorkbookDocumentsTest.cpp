// The workbooks of the month filled from the hand-worked folder: the single disposition
// and the payment statement, read back cell by cell with python3-xlrd, and their totals
// recalculated by LibreOffice.
#include "MonthFolder.h"

#include "documents/PaymentStatement.h"
#include "documents/SingleDisposition.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace focaris::test {
namespace {

using namespace focaris::documents;

// The cell "SHEET,ROW,COL,TYPE,VALUE" of a read-back workbook, or empty.
std::string cell(const std::vector<std::string> &cells, int sheet, int row, int col)
{
    const std::string prefix = std::to_string(sheet) + "," + std::to_string(row) + "," + std::to_string(col) + ",";
    for (const auto &c : cells)
        if (c.rfind(prefix, 0) == 0)
            return c.substr(prefix.size());
    return {};
}

// The names in column B of a sheet from its data row down to the first empty one.
std::vector<std::string> names(const std::vector<std::string> &cells, int sheet, int firstRow)
{
    std::vector<std::string> out;
    for (int r = firstRow;; ++r) {
        const std::string c = cell(cells, sheet, r, 2);
        if (c.rfind("1,", 0) != 0)
            return out;
        out.push_back(c.substr(2));
    }
}

bool anyPlaceholderLeft(const std::vector<std::string> &cells)
{
    return std::any_of(cells.begin(), cells.end(), [](const std::string &c) {
        return c.find(",1,") != std::string::npos &&
               (c.find('[') != std::string::npos || c.find("#DBF") != std::string::npos ||
                c.find("%NRCRT") != std::string::npos);
    });
}

class WorkbookDocuments : public MonthFolder {};

TEST_F(WorkbookDocuments, SingleDispositionSheetsAndAnnexes)
{
    SingleDispositionFields f;
    f.number = QStringLiteral("010");
    f.start = QDate(2025, 12, 1);
    f.period = QStringLiteral("noiembrie 2025 - martie 2026");
    f.paymentDate = QStringLiteral("15.12.2025");
    f.court = QStringLiteral("Mures");
    ASSERT_FALSE(ConfirmSingleDisposition(f).refused());
    EXPECT_EQ(f.number, "10") << "the number is read as a whole number";
    const Outcome o = PrintSingleDisposition(ui, f, file("unica10.xls"));
    ASSERT_TRUE(o.written) << ui.lastMessage().toStdString();
    keepSample(o.file, "StabilireU.xls");
    const auto cells = xlrdCells(o.file);
    ASSERT_FALSE(cells.empty());
    EXPECT_FALSE(anyPlaceholderLeft(cells));
    EXPECT_EQ(cell(cells, 1, 2, 3), "1,JUDEȚUL MURES");
    EXPECT_EQ(cell(cells, 1, 6, 5), "1,nr. 10 din 07.11.2025");
    EXPECT_EQ(cell(cells, 1, 9, 1), "1,(cereri depuse în luna noiembrie anul 2025)");
    EXPECT_EQ(cell(cells, 1, 24, 10), "1,07.11.2025");
    EXPECT_EQ(cell(cells, 1, 32, 1), "1,Ana Secretara");
    // The counts of the heating aid (one grant, 5 months) and of the supplements (two rows,
    // the modification included), the texts of the window.
    auto has = [&](int row, int col, const std::string &part) {
        return cell(cells, 1, row, col).find(part) != std::string::npos;
    };
    EXPECT_TRUE(has(8, 1, "din COMUNA SÂNCRAIU DE MUREŞ, pentru perioada sezonului rece noiembrie 2025 - martie 2026"));
    EXPECT_TRUE(has(17, 2, "data de 01.12.2025 se acordă ajutorul"));
    EXPECT_TRUE(has(17, 2, "perioadă de 5 luni, unui număr de 1 persoane"));
    EXPECT_TRUE(has(18, 2, "unui număr de 2 persoane"));
    EXPECT_TRUE(has(19, 2, "data de 15.12.2025."));
    EXPECT_TRUE(has(20, 2, "la Tribunalul Mures,"));
    // Annex 1: the heating aid of the grants (the modification of number 10 is not there).
    EXPECT_EQ(names(cells, 2, 5), (std::vector<std::string>{"BĂLAN"}));
    EXPECT_EQ(cell(cells, 2, 5, 1), "2,1.0");
    EXPECT_EQ(cell(cells, 2, 5, 3), "1,5010101260031");
    EXPECT_EQ(cell(cells, 2, 5, 4), "1,loc.SÂNCRAIU, STR. NOUA 3");
    EXPECT_EQ(cell(cells, 2, 5, 6), "2,100.0");
    EXPECT_EQ(cell(cells, 2, 5, 7), "2,500.1");
    EXPECT_EQ(cell(cells, 2, 6, 4), "1,TOTAL");
    EXPECT_EQ(cell(cells, 2, 8, 4), "1,Maria Referent");
    // Annex 2: every approved row with supplements, modifications included; an amount
    // of 0 is a blank cell that keeps its format (ctype 6), never an empty text.
    EXPECT_EQ(names(cells, 3, 6), (std::vector<std::string>{"BĂLAN", "MĂRGINEAN ANA"}));
    EXPECT_EQ(cell(cells, 3, 6, 6), "6,");
    EXPECT_EQ(cell(cells, 3, 6, 8), "2,30.0");
    EXPECT_EQ(cell(cells, 3, 7, 9), "2,15.0");
    EXPECT_EQ(cell(cells, 3, 7, 8), "6,");
    EXPECT_EQ(cell(cells, 3, 2, 1), "1,LA DISPOZITIA PRIMARULUI NR. 10 / 07.11.2025");
}

TEST_F(WorkbookDocuments, SingleDispositionOfSupplementsOnlyTakesItsDatesFromItsFirstRow)
{
    SingleDispositionFields f;
    f.number = QStringLiteral("9");
    f.start = QDate(2025, 12, 1);
    ASSERT_FALSE(ConfirmSingleDisposition(f).refused());
    const Outcome o = PrintSingleDisposition(ui, f, file("unica9.xls"));
    ASSERT_TRUE(o.written) << ui.lastMessage().toStdString();
    const auto cells = xlrdCells(o.file);
    // No heating-aid row: the first approved row by name (ANDREI, 06.11.2025, request of
    // October) gives the date, the month and the year.
    EXPECT_EQ(cell(cells, 1, 6, 5), "1,nr. 9 din 06.11.2025");
    EXPECT_EQ(cell(cells, 1, 9, 1), "1,(cereri depuse în luna octombrie anul 2025)");
    EXPECT_EQ(cell(cells, 1, 24, 10), "1,06.11.2025");
    EXPECT_EQ(cell(cells, 2, 2, 1), "1,LA DISPOZITIA PRIMARULUI NR. 9 / 06.11.2025");
    EXPECT_EQ(names(cells, 2, 5), std::vector<std::string>{});
    EXPECT_EQ(names(cells, 3, 6), (std::vector<std::string>{"ANDREI ALEXANDRU", "IONESCU MARIA"}));
}

TEST_F(WorkbookDocuments, SingleDispositionRefusalsAndMessages)
{
    SingleDispositionFields f;
    LoadSingleDispositionTexts(f);
    f.period = "iarna";
    f.number = "0";
    const Outcome zero = ConfirmSingleDisposition(f);
    EXPECT_EQ(zero.field, "NrDisp");
    EXPECT_EQ(zero.message, "De emotie, ati uitat sa scrieti numarul de Dispozitie de listat!");
    SingleDispositionFields kept;
    LoadSingleDispositionTexts(kept);
    EXPECT_EQ(kept.period, "") << "a refused number remembers nothing";

    // Number 12 has only a rejected row.
    f.number = "12";
    ASSERT_FALSE(ConfirmSingleDisposition(f).refused());
    EXPECT_FALSE(PrintSingleDisposition(ui, f, file("x.xls")).written);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Listare Dispozitie Unica");
    EXPECT_EQ(ui.messages[0].text, "\rNu exista Dipozitia Aprobata cu nr.12 !");
    EXPECT_FALSE(QFileInfo::exists(file("x.xls")));

    QFile::remove(data() + "/StabilireU.xls");
    f.number = "10";
    EXPECT_FALSE(PrintSingleDisposition(ui, f, file("x.xls")).written);
    EXPECT_EQ(ui.lastMessage(), "Nu exista modelul " + data() + "/StabilireU.xls!");

    // A template that is there but damaged is named, in Romanian, with the way to restore it.
    writeFile((data() + "/StabilireU.xls").toStdString(), "not a workbook");
    EXPECT_FALSE(PrintSingleDisposition(ui, f, file("x.xls")).written);
    EXPECT_EQ(ui.lastMessage(), "\rModelul StabilireU.xls este deteriorat si nu poate fi citit!\rRefaceti-l la "
                                "Administrare, din meniul modelelor: Model Dispozitie Unica Stabilire - Refa modelul "
                                "initial.");
}

TEST_F(WorkbookDocuments, PaymentStatementLettersLocalityAndTotals)
{
    StatementSelection s;
    s.monthText = QStringLiteral("noiembrie 2025");
    s.fromLetter = "A";
    s.toLetter = "B";
    ASSERT_FALSE(ConfirmStatementSelection(s).refused());
    EXPECT_EQ(RememberedStatementMonth(), "noiembrie 2025");
    const Outcome ab = PrintPaymentStatement(ui, s, file("stat-ab.xls"));
    ASSERT_TRUE(ab.written) << ui.lastMessage().toStdString();
    auto cells = xlrdCells(ab.file);
    // "BĂLAN" is a B name, although as bytes it sorts after "BZZ".
    EXPECT_EQ(names(cells, 1, 11), (std::vector<std::string>{"ANDREI ALEXANDRU", "BĂLAN"}));

    s.toLetter = "M";
    cells = xlrdCells(PrintPaymentStatement(ui, s, file("stat-am.xls")).file);
    EXPECT_EQ(names(cells, 1, 11),
              (std::vector<std::string>{"ANDREI ALEXANDRU", "BĂLAN", "IONESCU MARIA", "MĂRGINEAN ANA"}));

    s.locality = "CORUNCA";
    s.toLetter = "Z";
    cells = xlrdCells(PrintPaymentStatement(ui, s, file("stat-corunca.xls")).file);
    EXPECT_EQ(names(cells, 1, 11), (std::vector<std::string>{"MĂRGINEAN ANA"}));

    s.locality = kAllLocalities;
    const Outcome all = PrintPaymentStatement(ui, s, file("stat.xls"));
    ASSERT_TRUE(all.written);
    keepSample(all.file, "Stat.xls");
    cells = xlrdCells(all.file);
    EXPECT_FALSE(anyPlaceholderLeft(cells));
    const std::vector<std::string> everyone{"ANDREI ALEXANDRU", "BĂLAN",   "IONESCU MARIA",
                                            "MĂRGINEAN ANA",    "POP ANA", "POPESCU ION VASILE"};
    EXPECT_EQ(names(cells, 1, 11), everyone);
    EXPECT_EQ(names(cells, 2, 11),
              (std::vector<std::string>{"BĂLAN", "MĂRGINEAN ANA", "POP ANA", "POPESCU ION VASILE"}));
    EXPECT_EQ(names(cells, 3, 11), (std::vector<std::string>{"ANDREI ALEXANDRU", "BĂLAN", "IONESCU MARIA",
                                                             "MĂRGINEAN ANA", "POPESCU ION VASILE"}));
    for (int sheet = 1; sheet <= 3; ++sheet) {
        SCOPED_TRACE(sheet);
        EXPECT_EQ(cell(cells, sheet, 2, 1), "1,Judet   26 - MURES");
        EXPECT_EQ(cell(cells, sheet, 3, 1), "1,Primaria   4322513 - SÂNCRAIU DE MUREŞ");
        EXPECT_EQ(cell(cells, sheet, 6, 1), "1,noiembrie 2025");
    }
    // Sheet 1, IONESCU (row 13): disposition "9/", no aid, gas 45.7 only; the empty
    // amounts are blank cells.
    EXPECT_EQ(cell(cells, 1, 13, 4), "1,9/");
    EXPECT_EQ(cell(cells, 1, 13, 9), "6,");
    EXPECT_EQ(cell(cells, 1, 13, 10), "2,45.7");
    EXPECT_EQ(cell(cells, 1, 11, 5), "3,45967.0")
        << "the disposition date as its day count (06.11.2025), shown as a date";
    // POPESCU's 80.5 percent is 80, as the disposition prints it, not 81 by the cell format.
    EXPECT_EQ(cell(cells, 1, 16, 7), "2,80.0");
    // The totals carry their results for a reader that does not recalculate (xlrd).
    EXPECT_EQ(cell(cells, 1, 17, 6), "1,TOTAL GENERAL");
    EXPECT_EQ(cell(cells, 1, 17, 9), "2,40.0");
    EXPECT_EQ(cell(cells, 1, 17, 10), "2,45.7");
    EXPECT_EQ(cell(cells, 1, 13, 13), "2,45.7") << "the row's sum";
    // No accountant and no director: the mayor signs, the accountant's cells are blanks.
    EXPECT_EQ(cell(cells, 1, 20, 5), "1,PRIMAR,");
    EXPECT_EQ(cell(cells, 1, 21, 5), "1,Ion Primaru");
    EXPECT_EQ(cell(cells, 1, 20, 8), "1, ");
    EXPECT_EQ(cell(cells, 1, 23, 7), "1,Intocmit,");
    EXPECT_EQ(cell(cells, 1, 24, 7), "1,Maria Referent");

    // LibreOffice recalculates the row sums and the totals: no #VALUE! where an amount
    // is empty, and the total row sums every data row.
    if (!haveLibreOffice())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString outDir = file("csv");
    ASSERT_TRUE(convertWithLibreOffice(
        {all.file}, "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1", outDir));
    const QStringList csvs = QDir(outDir).entryList({"*.csv"}, QDir::Files, QDir::Name);
    ASSERT_EQ(csvs.size(), 3) << csvs.join(' ').toStdString();
    const QString cumulat = QString::fromStdString(readFile((outDir + "/stat-Cumulat.csv").toStdString()));
    EXPECT_FALSE(cumulat.contains("#VALUE")) << cumulat.toStdString();
    const QStringList lines = cumulat.split('\n');
    ASSERT_GT(lines.size(), 17);
    EXPECT_TRUE(lines[12].contains(",,45.7,,,45.7,")) << lines[12].toStdString();
    EXPECT_TRUE(lines[16].contains("TOTAL GENERAL,,,40,45.7,15,30,130.7")) << lines[16].toStdString();
    const QString sup = QString::fromStdString(readFile((outDir + "/stat-Suplimente.csv").toStdString()));
    EXPECT_TRUE(sup.split('\n')[15].contains("TOTAL GENERAL,40,45.7,15,30,130.7")) << sup.toStdString();
}

TEST(StatementLetters, FirstLetterWithoutDiacritics)
{
    // The letters of the lists and the names compared by their plain first letter.
    EXPECT_EQ(StatementLetters().size(), 22);
    EXPECT_TRUE(InLetterRange("BĂLAN", "A", "B"));
    EXPECT_TRUE(InLetterRange("ĂLEXE", "A", "A"));
    EXPECT_TRUE(InLetterRange("ÎONESCU", "I", "I"));
    EXPECT_TRUE(InLetterRange("ŞERBAN", "S", "S"));
    EXPECT_TRUE(InLetterRange("ȘERBAN", "R", "S"));
    EXPECT_TRUE(InLetterRange("ŢUGUI", "T", "T"));
    EXPECT_FALSE(InLetterRange("ŢUGUI", "A", "S"));
    // Plain names: from M up to PZZ are those beginning with M, N, O or P.
    EXPECT_TRUE(InLetterRange("MIHAI", "M", "P"));
    EXPECT_TRUE(InLetterRange("PZZ", "M", "P"));
    EXPECT_FALSE(InLetterRange("LUCA", "M", "P"));
    EXPECT_FALSE(InLetterRange("RADU", "M", "P"));
    EXPECT_TRUE(InLetterRange("ZAMFIR", "A", "Z"));
    EXPECT_FALSE(InLetterRange("", "A", "Z"));
    EXPECT_FALSE(InLetterRange("1ABC", "A", "Z"));
}

} // namespace
} // namespace focaris::test
