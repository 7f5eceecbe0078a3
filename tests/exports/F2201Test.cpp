// The tax agency's F2201 requests: the whole file of the small folder, the split of a long
// list over several files, request numbers, the schema location whatever the folder's
// name, and the files of an earlier run.
#include "ExportsFixture.h"

#include "reports/F2201Export.h"

#include <QRegularExpression>
#include <QUrl>

namespace focaris::test {
namespace {

const QDateTime kNow(QDate(2024, 1, 15), QTime(10, 30));

class F2201Test : public ExportsFixture {
protected:
    exports::ExportResult run(const QString &folder)
    {
        ui.folderAnswers.push_back(folder);
        return exports::ExportF2201(ui, kNow);
    }
    QByteArray expectedIn(const QString &folder)
    {
        QByteArray e = expected("F2201_1.xml");
        return e.replace("@FOLDERURL@", QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded).toUtf8());
    }
    // `n` approved applications with one adult member each, written in two statements.
    void addApplications(int n)
    {
        QStringList apps, members;
        for (int i = 1; i <= n; ++i) {
            apps << QString("(%1, 24288, %1, 'X Y', 'APROBAT', '02.01.2024')").arg(i);
            members << QString("(%1, %1, 'X Y', '1800101%2', 0, 'beneficiar')").arg(i).arg(i, 6, 10, QChar('0'));
        }
        ExecSql(
            QStringList{"INSERT INTO " + table("Cereri.dbf") + " (NRCRT, LUNACRT, NR_CERE, SUBSEMN, STATUT, DATACERE)",
                        "VALUES " + apps.join(",")});
        ExecSql(QStringList{"INSERT INTO " + table("Oameni.dbf") + " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                            "VALUES " + members.join(",")});
    }
};

TEST_F(F2201Test, WholeFileOfTheSmallFolderIsTheOneWrittenByHand)
{
    addSmallFolder();
    const auto r = run(out);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.files, QStringList{out + "/F2201_1.xml"});
    EXPECT_EQ(bytesOf(out + "/F2201_1.xml"), expectedIn(out));
    EXPECT_EQ(schemaErrors(out + "/F2201_1.xml", "F2201_1.xsd"), QString());
    EXPECT_EQ(ui.messages.back().title, "ANAF F2201");
    EXPECT_EQ(ui.messages.back().text, "\rXML a fost creat!\rIncarcati-l in DuckIntegrator!");
    EXPECT_FALSE(ui.progressVisible);
}

TEST_F(F2201Test, SchemaRefusesARenamedElement)
{
    addSmallFolder();
    ASSERT_TRUE(run(out).done);
    QByteArray renamed = bytesOf(out + "/F2201_1.xml");
    renamed.replace("<persoane ", "<persoana ");
    writeFile(tmp / "renamed.xml", renamed.toStdString());
    EXPECT_NE(schemaErrors(tmp.qpath() + "/renamed.xml", "F2201_1.xsd"), QString());
}

// A folder whose name holds blanks, "#" and Romanian letters still gives one location
// token: the namespace, one blank and a percent-encoded file URI.
TEST_F(F2201Test, SchemaLocationIsAFileUriWhateverTheFolderName)
{
    addSmallFolder();
    const QString folder = tmp.qpath() + "/Rapoarte ANAF #2 Ţară";
    QDir().mkpath(folder);
    ASSERT_TRUE(run(folder).done);
    const QByteArray bytes = bytesOf(folder + "/F2201_1.xml");
    EXPECT_EQ(bytes, expectedIn(folder));
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.contains("Rapoarte%20ANAF%20%232%20%C5%A2ar%C4%83/F2201_1.xsd\"")) << qPrintable(text);
    EXPECT_EQ(schemaErrors(folder + "/F2201_1.xml", "F2201_1.xsd"), QString());
}

// 500 positions in the first file, 501 in each further one; request numbers follow each
// other; the first number comes from the clock in whole numbers.
TEST_F(F2201Test, LongListIsSplitIntoFilesWithConsecutiveRequests)
{
    addApplications(1002);
    const auto r = run(out);
    ASSERT_TRUE(r.done);
    ASSERT_EQ(r.files.size(), 3);
    QList<int> counts;
    QList<qint64> requests;
    for (const QString &f : r.files) {
        const QString text = QString::fromUtf8(bytesOf(f));
        counts << int(text.count("<persoane "));
        const auto m = QRegularExpression("Req_id=\"([0-9]+)\"").match(text);
        requests << m.captured(1).toLongLong();
        EXPECT_EQ(schemaErrors(f, "F2201_1.xsd"), QString()) << qPrintable(f);
    }
    EXPECT_EQ(counts, (QList<int>{500, 501, 1}));
    EXPECT_EQ(requests, (QList<qint64>{432894375001, 432894375002, 432894375003}));
    EXPECT_EQ(exports::F2201FirstRequest(QDateTime(QDate(2024, 1, 15), QTime(10, 30, 1))), 432894375115);
    // Far in the future the number still does not wrap around.
    EXPECT_EQ(exports::F2201FirstRequest(QDateTime(QDate(9999, 12, 31), QTime(0, 0))),
              (qint64(QDate(1899, 12, 30).daysTo(QDate(9999, 12, 31))) - 2017) * 10000000);
}

TEST_F(F2201Test, ExactlyFiveHundredRowsGiveOneFileAndFiveHundredOneGiveTwo)
{
    addApplications(500);
    EXPECT_EQ(run(out).files.size(), 1);
    addApp({{"NRCRT", "501"}, {"NR_CERE", "501"}, {"SUBSEMN", "'X Y'"}});
    addMember(501, 501, "X Y", "1800101999999", "0", "beneficiar");
    ui.messageAnswers.push_back(MessageResult::Da);
    const auto r = run(out);
    ASSERT_EQ(r.files.size(), 2);
    EXPECT_EQ(QString::fromUtf8(bytesOf(r.files[1])).count("<persoane "), 1);
}

// Files of an earlier, longer run are replaced only after the question, and those beyond
// the new ones are removed: a stale third request is never uploaded again.
TEST_F(F2201Test, StaleFilesOfAnEarlierRunAreRemovedAfterTheQuestion)
{
    addSmallFolder();
    for (const char *f : {"F2201_1.xml", "F2201_2.xml", "F2201_3.xml", "f2201_4.XML", "other.xml"})
        writeFile(tmp / "out" / f, "old");
    ui.messageAnswers.push_back(MessageResult::Nu);
    EXPECT_FALSE(run(out).done);
    EXPECT_EQ(ui.messages.back().text, "\r Fisierul F2201_1.xml exista!\rDoriti sa-l inlocuim?");
    EXPECT_EQ(bytesOf(out + "/F2201_3.xml"), QByteArray("old"));

    ui.messageAnswers.push_back(MessageResult::Da);
    ASSERT_TRUE(run(out).done);
    QStringList left = QDir(out).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{"F2201_1.xml", "other.xml"}));
    EXPECT_EQ(bytesOf(out + "/F2201_1.xml"), expectedIn(out));
}

TEST_F(F2201Test, EmptyListAndMinorsOnly)
{
    EXPECT_FALSE(run(out).done);
    EXPECT_EQ(ui.messages.back().title, "F 2201");
    EXPECT_EQ(ui.messages.back().text, "\rNu aveti nicio persoana pe luna curenta!");
    EXPECT_TRUE(QDir(out).isEmpty());

    addApp({{"NRCRT", "1"}, {"NR_CERE", "3"}, {"SUBSEMN", "'COPIL UNU'"}});
    addMember(1, 1, "COPIL UNU", "5100101123456", "0", "copil");
    ASSERT_TRUE(run(out).done);
    const QString text = QString::fromUtf8(bytesOf(out + "/F2201_1.xml"));
    EXPECT_FALSE(text.contains("<persoane"));
    EXPECT_EQ(schemaErrors(out + "/F2201_1.xml", "F2201_1.xsd"), QString());
}

// A member whose CNP is missing or not 13 digits is named before anything is written (the
// tax agency refuses such a request), and the schema refuses an empty cif.
TEST_F(F2201Test, PersonsWithoutAThirteenDigitCnpAreNamedAndNothingIsWritten)
{
    addSmallFolder();
    ExecSql(QStringList{"INSERT INTO " + table("Oameni.dbf") + " (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)",
                        "VALUES (9, 1, 'IONESCU FARA', '', 0, 'sotie'), (10, 1, 'POP SCURT', '18001', 0, 'fiu')"});
    EXPECT_FALSE(run(out).done);
    EXPECT_EQ(ui.lastMessage(),
              "\rFisierul nu poate fi facut: persoanele urmatoare nu au CNP sau CNP-ul lor nu are 13 cifre:\r"
              "IONESCU FARA\rPOP SCURT\rCompletati CNP-urile si incercati din nou!");
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(ui.folderAnswers.size() == 1) << "refused before the folder is asked";

    ExecSql(QStringList{"DELETE FROM " + table("Oameni.dbf") + " WHERE NROM>8"});
    ui.folderAnswers.clear();
    ASSERT_TRUE(run(out).done);
    QByteArray blank = bytesOf(out + "/F2201_1.xml");
    blank.replace("cif=\"1800101123456\"", "cif=\"\"");
    writeFile(tmp / "blank.xml", blank.toStdString());
    EXPECT_NE(schemaErrors(tmp.qpath() + "/blank.xml", "F2201_1.xsd"), QString());
}

TEST_F(F2201Test, AdultIsDecidedByTheEighteenthBirthdayAndUnreadableCodesCountAsAdults)
{
    const QDate today(2024, 1, 15);
    EXPECT_FALSE(exports::F2201Adult("5060115123456", today));
    EXPECT_TRUE(exports::F2201Adult("5060114123456", today));
    EXPECT_FALSE(exports::F2201Adult("6070101123456", today));
    EXPECT_TRUE(exports::F2201Adult("", today));
    EXPECT_TRUE(exports::F2201Adult("12", today));
}

} // namespace
} // namespace focaris::test
