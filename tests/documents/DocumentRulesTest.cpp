// The rules of the documents that need no LibreOffice: the value rules, the range
// checks, the messages of an empty selection or a missing template, where a document is
// written, and the social inquiry that is never destroyed by a failed or refused action.
#include "MonthFolder.h"

#include "core/Context.h"
#include "documents/ApplicationReports.h"
#include "documents/DocumentValues.h"
#include "documents/SeparateDispositions.h"
#include "documents/SocialInquiry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace focaris::test {
namespace {

using namespace focaris::documents;

TEST(DocumentValueRules, NumbersNamesAndAddresses)
{
    // Halves go to the even neighbour, decided on the stored decimals.
    EXPECT_EQ(WholeHalfEven(80.5), "80");
    EXPECT_EQ(WholeHalfEven(81.5), "82");
    EXPECT_EQ(WholeHalfEven(1769.5), "1770");
    EXPECT_EQ(WholeHalfEven(2500.5), "2500");
    EXPECT_EQ(WholeHalfEven(0.5), "0");
    EXPECT_EQ(WholeHalfEven(80.51), "81");
    EXPECT_EQ(WholeTruncated(45.7), "45");
    EXPECT_EQ(TwoDecimals(353.9), "353.90");
    EXPECT_EQ(TwoDecimals(0), "0.00");
    EXPECT_EQ(Shortest(1769.50), "1769.5");
    EXPECT_EQ(Shortest(20), "20");
    // Whole numbers typed with leading zeros or decimals.
    EXPECT_EQ(WholeNumberText("07"), "7");
    EXPECT_EQ(WholeNumberText(" 12.9 "), "12");
    EXPECT_EQ(WholeNumberText("abc"), "0");
    EXPECT_EQ(PlainNumberText("12.50"), "12.5");
    EXPECT_EQ(PlainNumberText("007"), "7");
    EXPECT_EQ(DispositionNumber("0"), "");
    EXPECT_EQ(DispositionNumber("10"), "10");
    // Names, forms of address, addresses.
    EXPECT_EQ(SplitName("POPESCU ION VASILE"), std::make_pair(QString("POPESCU"), QString("ION VASILE")));
    EXPECT_EQ(SplitName("BĂLAN"), std::make_pair(QString("BĂLAN"), QString()));
    EXPECT_EQ(FormOfAddress("1800101260010"), "domnului");
    EXPECT_EQ(FormOfAddress("5010101260031"), "domnului");
    EXPECT_EQ(FormOfAddress("6020202260044"), "doamnei");
    EXPECT_EQ(FormOfAddress(""), "doamnei");
    EXPECT_EQ(Domicile(" STR. MARE 1 ", " SÂNCRAIU "), "STR. MARE 1, SÂNCRAIU");
    EXPECT_EQ(Domicile("STR. MARE 1", "  "), "STR. MARE 1");
    EXPECT_EQ(PlainInitial("ălexe"), QChar('A'));
}

TEST(DocumentRanges, RangeWindowsRule)
{
    DispositionRange d{"07", "10.6", {}};
    EXPECT_FALSE(CheckDispositionRange(d).refused());
    EXPECT_EQ(d.from, "7");
    EXPECT_EQ(d.to, "10");
    d = {"5", "2", {}};
    const Outcome bad = CheckDispositionRange(d);
    EXPECT_EQ(bad.field, "Disp0");
    EXPECT_EQ(bad.message, "Intervalul ales este incorect!");
    ReportRange r{"5", "2"};
    EXPECT_EQ(CheckReportRange(r).field, "Cere0");
    EXPECT_EQ(CheckReportRange(r).message, "Interval incorect!");
    r = {"0", "0"};
    EXPECT_FALSE(CheckReportRange(r).refused());
    EXPECT_EQ(FirstOfNextMonth(QDate(2025, 12, 15)), QDate(2026, 1, 1));
    EXPECT_EQ(FirstOfNextMonth(QDate(2025, 1, 31)), QDate(2025, 2, 1));
}

class DocumentRules : public MonthFolder {
protected:
    static void lock(const QString &path)
    {
        const QFileInfo info(path);
        writeFile((info.absolutePath() + "/.~lock." + info.fileName() + "#").toStdString(), "x");
    }
    static void unlock(const QString &path)
    {
        const QFileInfo info(path);
        QFile::remove(info.absolutePath() + "/.~lock." + info.fileName() + "#");
    }
};

TEST_F(DocumentRules, DispositionMessagesAndWhereTheDocumentGoes)
{
    const QDate start(2025, 12, 1);
    EXPECT_FALSE(PrintSeparateDispositions(ui, DispositionKind::Grant, {"50", "60", start}).written);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Listare dispozitii");
    EXPECT_EQ(ui.messages[0].text, "\rNu exista nici un numar de dipozitie in intervalul 50 - 60 !");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);

    // Without a named file: the first free "Dispozitie" + n of the temporary folder,
    // skipping one the person still has open, which stays as it was.
    const QString first = TempFolder() + "/Dispozitie0.rtf";
    writeFile(first.toStdString(), "open in the word processor");
    lock(first);
    const Outcome o = PrintSeparateDispositions(ui, DispositionKind::Grant, {"2", "2", start});
    ASSERT_TRUE(o.written);
    EXPECT_EQ(o.file, TempFolder() + "/Dispozitie1.rtf");
    EXPECT_EQ(ui.opened, QStringList{o.file});
    EXPECT_EQ(readFile(first.toStdString()), "open in the word processor");
    EXPECT_EQ(ui.progressVisible, false);
    // Each print has its own file; the one before stays for the person.
    const Outcome again = PrintSeparateDispositions(ui, DispositionKind::Grant, {"2", "2", start});
    EXPECT_EQ(again.file, TempFolder() + "/Dispozitie2.rtf");
    EXPECT_TRUE(QFileInfo::exists(o.file));

    // A named file that is open elsewhere is not overwritten.
    writeFile(file("open.rtf").toStdString(), "kept");
    lock(file("open.rtf"));
    EXPECT_FALSE(PrintSeparateDispositions(ui, DispositionKind::Grant, {"2", "2", start}, file("open.rtf")).written);
    EXPECT_EQ(ui.lastMessage(), "Nu pot scrie pe harddisk!");
    EXPECT_EQ(readFile(file("open.rtf").toStdString()), "kept");

    QFile::remove(data() + "/Respingere.rtf");
    EXPECT_FALSE(PrintSeparateDispositions(ui, DispositionKind::Rejection, {"0", "0", start}, file("r.rtf")).written);
    EXPECT_EQ(ui.messages.back().title, "Listare Dispozitii");
    EXPECT_EQ(ui.lastMessage(), "Nu exista modelul " + data() + "/Respingere.rtf!");
    EXPECT_FALSE(QFileInfo::exists(file("r.rtf")));
}

TEST_F(DocumentRules, ReportMessages)
{
    EXPECT_FALSE(PrintReports(ui, {"0", "0"}, file("r.rtf")).written);
    EXPECT_EQ(ui.messages.back().title, "Listare Referate");
    EXPECT_EQ(ui.lastMessage(), "Nu exista nici o cerere in intervalul 0 - 0 !");
    // Text that is no number never reaches the statement: it reads as 0.
    EXPECT_TRUE(PrintReports(ui, {"x OR 1=1", "101"}, file("r.rtf")).written);
    QFile::remove(file("r.rtf"));
    QFile::remove(data() + "/Referat.rtf");
    EXPECT_FALSE(PrintReports(ui, {"101", "101"}, file("r.rtf")).written);
    EXPECT_EQ(ui.lastMessage(), "Nu pot scrie pe harddisk!");
    EXPECT_FALSE(QFileInfo::exists(file("r.rtf")));
}

TEST_F(DocumentRules, InquiryIsKeptWhenItCannotBeReplacedOrDeleted)
{
    const QString inquiry = data() + "/A5010101260031.rtf";
    ASSERT_TRUE(AddInquiry(ui, 3).written);
    EXPECT_EQ(ui.opened, QStringList{inquiry});
    const std::string made = readFile(inquiry.toStdString());
    ASSERT_NE(made.find("B\xC3"
                        "LAN"),
              std::string::npos);

    // "Adauga" again re-creates it from the template: the clerk's edits are gone.
    writeFile(inquiry.toStdString(), made + "edited by the clerk");
    ASSERT_TRUE(AddInquiry(ui, 3, false).written);
    EXPECT_EQ(readFile(inquiry.toStdString()), made);

    // Another month's application of the same person shares the one inquiry file.
    exec("INSERT INTO \"" + data() +
         "/Cereri.dbf\" (NRCRT, LUNACRT, NR_CERE, SUBSEMN, CNP) "
         "VALUES (11, 24309, 93, \"BĂLAN\", \"5010101260031\")");
    const Outcome other = AddInquiry(ui, 11, false);
    ASSERT_TRUE(other.written);
    EXPECT_EQ(other.file, inquiry);

    // Open in the word processor: neither replaced nor deleted.
    writeFile(inquiry.toStdString(), "being edited");
    lock(inquiry);
    EXPECT_FALSE(AddInquiry(ui, 3, false).written);
    EXPECT_EQ(ui.messages.back().title, "Adauga Ancheta");
    EXPECT_EQ(ui.lastMessage(), "Nu pot scrie pe harddisk!");
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_FALSE(DeleteInquiry(ui, 3).written);
    EXPECT_EQ(ui.messages.back().title, "Stergere Ancheta");
    EXPECT_EQ(ui.lastMessage(), "Ancheta este deschisa! N-o pot sterge!");
    EXPECT_EQ(readFile(inquiry.toStdString()), "being edited");
    unlock(inquiry);

    // A broken template never wipes the kept inquiry, and leaves no scratch file.
    writeFile((data() + "/ModelAncheta2.rtf").toStdString(), "{\\rtf1 no body here}\r\n");
    EXPECT_FALSE(AddInquiry(ui, 3, false).written);
    EXPECT_EQ(ui.lastMessage(), "\rModelul ModelAncheta2.rtf este deteriorat si nu poate fi citit!\rRefaceti-l la "
                                "Administrare, din meniul modelelor: Model Ancheta - Refa modelul initial.");
    EXPECT_EQ(readFile(inquiry.toStdString()), "being edited");
    EXPECT_EQ(QDir(data()).entryList({".~*"}, QDir::Files | QDir::Hidden), QStringList{});

    // "Arata" opens it; "Sterge" asks first and keeps it on "Nu".
    ui.opened.clear();
    EXPECT_TRUE(ShowInquiry(ui, 3).written);
    EXPECT_EQ(ui.opened, QStringList{inquiry});
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(DeleteInquiry(ui, 3).written);
    EXPECT_EQ(ui.messages.back().text, "Vreti sa stergeti ancheta?");
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Warning);
    EXPECT_TRUE(QFileInfo::exists(inquiry));
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_TRUE(DeleteInquiry(ui, 3).written);
    EXPECT_FALSE(QFileInfo::exists(inquiry));

    EXPECT_FALSE(ShowInquiry(ui, 3).written);
    EXPECT_EQ(ui.messages.back().title, "Arata Ancheta");
    EXPECT_EQ(ui.lastMessage(), "\rLa aceasta Cerere, nu aveti Ancheta!\rApasati mai intai butonul Adauga!");
    EXPECT_FALSE(DeleteInquiry(ui, 3).written);
    EXPECT_EQ(ui.lastMessage(), "\rLa aceasta Cerere nu aveti Ancheta!");
}

// The inquiry file is named by the CNP: an application without a valid one is refused, so
// that it never replaces another applicant's inquiry.
TEST_F(DocumentRules, InquiryNeedsAValidCnp)
{
    exec("INSERT INTO \"" + data() +
         "/Cereri.dbf\" (NRCRT, LUNACRT, NR_CERE, SUBSEMN, CNP) "
         "VALUES (12, 24310, 94, \"FARA CNP\", \"\")");
    exec("INSERT INTO \"" + data() +
         "/Cereri.dbf\" (NRCRT, LUNACRT, NR_CERE, SUBSEMN, CNP) "
         "VALUES (13, 24310, 95, \"CNP GRESIT\", \"1234567890123\")");
    writeFile((data() + "/A.rtf").toStdString(), "another applicant's inquiry");
    for (const qint64 nrcrt : {12, 13}) {
        EXPECT_FALSE(AddInquiry(ui, nrcrt, false).written) << nrcrt;
        EXPECT_EQ(ui.lastMessage(), "Lipseste CNP-ul solicitantului!");
    }
    EXPECT_FALSE(ShowInquiry(ui, 12).written);
    EXPECT_EQ(ui.lastMessage(), "Lipseste CNP-ul solicitantului!");
    EXPECT_EQ(readFile((data() + "/A.rtf").toStdString()), "another applicant's inquiry");
    EXPECT_FALSE(QFileInfo::exists(data() + "/A1234567890123.rtf"));
}

} // namespace
} // namespace focaris::test
