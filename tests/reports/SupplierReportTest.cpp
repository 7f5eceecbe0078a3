// The supplier annexes ("Format AJPIS") on the hand-worked folder, and the file names
// made from supplier names.
#include "ReportsFixture.h"

#include "reports/ReportFiles.h"
#include "reports/SupplierReport.h"

namespace focaris::test {
namespace {

using reports::SafeFileNames;

class SupplierTest : public ReportsTest {
protected:
    QString file(const QString &name) const { return out + "/TERMICA_FURNIZORI/" + name; }
};

TEST_F(SupplierTest, EachSupplierGetsItsOwnAnnexes)
{
    ui.folderAnswers.push_back(out);
    const auto result = reports::MakeSupplierReport(ui);
    ASSERT_TRUE(result.done) << ui.lastMessage().toStdString();
    QStringList relative;
    for (const QString &f : result.files)
        relative << QDir(out + "/TERMICA_FURNIZORI").relativeFilePath(f);
    EXPECT_EQ(relative, (QStringList{"Anexa1.xls", "O'NEIL ENERGIE/Anexa1.xls", "TERMO SA/Anexa1.xls",
                                     "O'NEIL ENERGIE/Anexa14.xls", "TERMO SA/Anexa14.xls", "E.ON GAZ/Anexa16.xls",
                                     "ELECTRICA_NORD/Anexa16.xls", "E.ON GAZ/Anexa15.xls", "GAZ _NORD_/Anexa15.xls"}));
    EXPECT_EQ(ui.lastMessage(), "\rRaportul a fost creat!");
    EXPECT_EQ(ui.messages.back().title, "Raport Furnizori");
    EXPECT_EQ(ui.opened, QStringList{out + "/TERMICA_FURNIZORI"});

    // Annex 1 of TERMO SA: its two heating aids, with the month in the header.
    const Cells termo = readCells(file("TERMO SA/Anexa1.xls"));
    EXPECT_EQ(at(termo, 1, 9, 3), "s:12");
    EXPECT_EQ(at(termo, 1, 9, 5), "s:2024");
    EXPECT_EQ(at(termo, 1, 12, 2), "s:ALBU ANA");
    EXPECT_EQ(at(termo, 1, 12, 8), "n:250.5");
    EXPECT_EQ(at(termo, 1, 12, 9), "s:12/05.12.2024");
    EXPECT_EQ(at(termo, 1, 13, 2), "s:BOBOC ION");
    EXPECT_EQ(at(termo, 1, 14, 2), "");
    EXPECT_EQ(at(termo, 1, 17, 9), "s:MARIN ANA");
    // The heating aids without a supplier lie in the folder itself.
    const Cells none = readCells(file("Anexa1.xls"));
    EXPECT_EQ(at(none, 1, 12, 2), "s:CIOBANU MARIA");
    EXPECT_EQ(at(none, 1, 13, 2), "s:ENE VASILE");
    EXPECT_EQ(at(none, 1, 14, 2), "s:GHEORGHE ION");
    EXPECT_EQ(at(none, 1, 14, 1), "n:3");

    // Gas of E.ON: BOBOC and ENE; electricity of ELECTRICA/NORD: DAN, in a cleaned folder
    // with the real name kept out of the path.
    const Cells gas = readCells(file("E.ON GAZ/Anexa15.xls"));
    EXPECT_EQ(at(gas, 1, 10, 2), "s:BOBOC ION");
    EXPECT_EQ(at(gas, 1, 11, 2), "s:ENE VASILE");
    EXPECT_EQ(at(gas, 1, 11, 10), "n:13");
    const Cells nord = readCells(file("ELECTRICA_NORD/Anexa16.xls"));
    EXPECT_EQ(at(nord, 1, 10, 2), "s:DAN PETRU");
    EXPECT_EQ(at(nord, 1, 10, 5), "s:0770");
    EXPECT_EQ(at(nord, 1, 10, 10), "n:70");
    // A supplier named only on a rejected application gets an empty list.
    const Cells rejected = readCells(file("GAZ _NORD_/Anexa15.xls"));
    EXPECT_EQ(at(rejected, 1, 10, 2), "");
    EXPECT_EQ(at(rejected, 1, 11, 9), "s:TOTAL");
}

TEST_F(SupplierTest, AFailureIsNeverFollowedByTheSuccessMessage)
{
    // The chosen "folder" is a file: nothing can be made in it.
    const QString notAFolder = out + "/plain.txt";
    writeFile(notAFolder.toStdString(), "x");
    ui.folderAnswers.push_back(notAFolder);
    EXPECT_THROW(reports::MakeSupplierReport(ui), std::exception);
    for (const auto &m : ui.messages)
        EXPECT_FALSE(m.text.contains("Raportul a fost creat!"));
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_FALSE(ui.progressVisible);
}

TEST(SafeFileNamesTest, NamesBecomeHarmlessAndDistinct)
{
    EXPECT_EQ(SafeFileNames::clean("ELECTRICA/NORD"), "ELECTRICA_NORD");
    EXPECT_EQ(SafeFileNames::clean("A\\B"), "A_B");
    EXPECT_EQ(SafeFileNames::clean(".."), "__");
    EXPECT_EQ(SafeFileNames::clean("../../etc"), "______etc");
    EXPECT_EQ(SafeFileNames::clean("GAZ \"NORD\" <SA>: 1|2?*"), "GAZ _NORD_ _SA__ 1_2__");
    EXPECT_EQ(SafeFileNames::clean(QString("A") + QChar(9) + "B" + QChar(1)), "A_B_");
    EXPECT_EQ(SafeFileNames::clean("TERMO SA."), "TERMO SA_");
    EXPECT_EQ(SafeFileNames::clean("nul"), "nul_");
    EXPECT_EQ(SafeFileNames::clean("COM1.txt"), "COM1.txt_");
    EXPECT_EQ(SafeFileNames::clean("O'NEIL"), "O'NEIL");

    SafeFileNames names;
    EXPECT_EQ(names.nameFor("ELECTRICA/NORD"), "ELECTRICA_NORD");
    EXPECT_EQ(names.nameFor("ELECTRICA\\NORD"), "ELECTRICA_NORD_2");
    EXPECT_EQ(names.nameFor("electrica_nord"), "electrica_nord_3");
    EXPECT_EQ(names.nameFor("ELECTRICA/NORD"), "ELECTRICA_NORD");
    EXPECT_EQ(names.nameFor("ELECTRICA_NORD_2"), "ELECTRICA_NORD_2_2");
}

TEST_F(SupplierTest, AFailedWriteLeavesTheEarlierFileWhole)
{
    const QString target = out + "/x.xlsx";
    writeFile(target.toStdString(), "good");
    EXPECT_THROW(reports::WriteThroughTemp(target,
                                           [](const QString &tmp) {
                                               writeFile(tmp.toStdString(), "half");
                                               throw std::runtime_error("disk full");
                                           }),
                 std::runtime_error);
    EXPECT_EQ(readFile(target.toStdString()), "good");
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"x.xlsx"});
    reports::WriteThroughTemp(target, [](const QString &tmp) { writeFile(tmp.toStdString(), "new"); });
    EXPECT_EQ(readFile(target.toStdString()), "new");
}

} // namespace
} // namespace focaris::test
