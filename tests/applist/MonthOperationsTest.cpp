// The month operations of the list: the copy of the continuing applications from another
// month (months left, totals, keys, members, the duplicate refusal, a failure half-way),
// the removal of the applicants also in another month and the block of keys the copy
// takes.
#include "MonthFixture.h"

#include "applications/MonthCopy.h"
#include "applications/Removals.h"
#include "core/Keys.h"
#include "core/Settings.h"
#include "engines/localsql/SqlError.h"

#include <QDir>
#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;

namespace {

class MonthOperations : public MonthFolder {
protected:
    void SetUp() override
    {
        MonthFolder::SetUp();
        Household a = house(1, p, QStringLiteral("POPA ION"));
        a.months = 3;
        a.members = 2;
        add(a);
        Household b = house(2, p, QStringLiteral("IONESCU ANA"));
        b.months = 1;
        add(b);
        Household c = house(3, p, QStringLiteral("RUSU DAN"));
        c.status = QStringLiteral("RESPINS");
        add(c);
        Household d = house(4, p, QStringLiteral("MIHAI EVA"));
        d.status = QStringLiteral("INCETAT");
        add(d);
        SetKey(QStringLiteral("NRCRT"), Amount::fromWhole(100));
        SetKey(QStringLiteral("NROM"), Amount::fromWhole(500));
    }
};

TEST_F(MonthOperations, KeysTakenAsABlockEqualOneNextKeyEach)
{
    EXPECT_EQ(TakeKeys(QStringLiteral("NRCRT"), 3).truncated(), 100);
    EXPECT_EQ(NextKey(QStringLiteral("NRCRT")).truncated(), 103);
    EXPECT_EQ(TakeKeys(QStringLiteral("NRCRT"), 0).truncated(), 104);
    EXPECT_EQ(PeekKey(QStringLiteral("NRCRT")).truncated(), 104);
    // An absent counter starts at 1, as NextKey does.
    EXPECT_EQ(TakeKeys(QStringLiteral("NR_NOU"), 2).truncated(), 1);
    EXPECT_EQ(PeekKey(QStringLiteral("NR_NOU")).truncated(), 3);
}

TEST_F(MonthOperations, CopyTakesTheContinuingApplicationsWithOneMonthLessAndTheirMembers)
{
    const Outcome o = CopyFromMonth(ui, p, w);
    ASSERT_TRUE(o.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(o.rows, 2);
    EXPECT_EQ(o.members, 3);
    // Months: 3 → 2, 1 → 5; totals follow; keys from the counter in table order.
    EXPECT_EQ(
        rows(QStringLiteral("SELECT NRCRT, SUBSEMN, NR_LUNI, TOTAL, LUNADEC FROM %1 WHERE LUNACRT=%2 ORDER BY NRCRT")
                 .arg(cereri())
                 .arg(w)),
        (Rows{"100|POPA ION|2|200|" + std::to_string(p), "101|IONESCU ANA|5|500|" + std::to_string(p)}));
    EXPECT_EQ(rows(QStringLiteral("SELECT NROM, NRCRT, CALITATE FROM %1 WHERE NRCRT>=100 ORDER BY NROM").arg(oameni())),
              (Rows{"500|100|SOLICITANT", "501|100|FIU", "502|101|SOLICITANT"}));
    EXPECT_EQ(PeekKey(QStringLiteral("NRCRT")).truncated(), 102);
    EXPECT_EQ(PeekKey(QStringLiteral("NROM")).truncated(), 503);
    // The source month is left as it was.
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(p)), 4);
    EXPECT_EQ(lastLog(), "Adaugare Cereri din luna 01.2024");
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_EQ(ui.progressTexts.value(0), "Copii cererile...");
    // The temporary tables are gone.
    EXPECT_TRUE(QDir(TempFolder() + "/TmpFoc").entryList({"*.dbf", "*.DBF"}, QDir::Files).isEmpty());

    // A second copy finds every CNP already there: nothing is copied, no key is taken.
    ui.messages.clear();
    const Outcome again = CopyFromMonth(ui, p, w);
    EXPECT_FALSE(again.done);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Adaugare Cereri");
    EXPECT_EQ(ui.messages[0].text, "Exista 2 CNP-uri care exista deja!\rDe exemplu: POPA ION CNP: 1000000000001 !!");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 2);
    EXPECT_EQ(PeekKey(QStringLiteral("NRCRT")).truncated(), 102);
}

TEST_F(MonthOperations, OneCnpAlreadyInTheWorkingMonthStopsTheWholeCopy)
{
    Household there = house(9, w, QStringLiteral("IONESCU ANA"));
    there.cnp = QStringLiteral("1000000000002");
    add(there);
    EXPECT_FALSE(CopyFromMonth(ui, p, w).done);
    EXPECT_EQ(ui.lastMessage(), "Exista 1 CNP-uri care exista deja!\rDe exemplu: IONESCU ANA CNP: 1000000000002 !!");
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 1);
    EXPECT_EQ(count(oameni()), 6);
}

TEST_F(MonthOperations, ACopyStoppedAfterTheMembersLeavesOnlyOrphansAndCanBeRetried)
{
    const Outcome broken = CopyFromMonth(ui, p, w, [] { throw sql::SqlError("Disk full"); });
    EXPECT_TRUE(broken.failed);
    EXPECT_FALSE(broken.done);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, "Adaugare Cereri");
    EXPECT_TRUE(ui.messages.back().text.startsWith("Disk full"));
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 0);
    EXPECT_EQ(count(oameni(), QStringLiteral("NOT (NRCRT IN (SELECT NRCRT FROM %1))").arg(cereri())), 3);
    EXPECT_NE(lastLog(), "Adaugare Cereri din luna 01.2024");

    // The retry is not refused as a duplicate, and the removal takes the orphans away.
    EXPECT_TRUE(CopyFromMonth(ui, p, w).done);
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 2);
    const Outcome removed = RemoveAlsoInMonth(ui, MonthCode("12.2023"), w);
    EXPECT_TRUE(removed.done);
    EXPECT_EQ(removed.rows, 0);
    EXPECT_EQ(removed.members, 3);
    EXPECT_EQ(count(oameni(), QStringLiteral("NOT (NRCRT IN (SELECT NRCRT FROM %1))").arg(cereri())), 0);
}

TEST_F(MonthOperations, RemovalTakesTheApplicantsAlsoInTheOtherMonthAfterASave)
{
    ASSERT_TRUE(CopyFromMonth(ui, p, w).done);
    Household own = house(50, w, QStringLiteral("NOU VASILE"));
    add(own);
    // A member whose application is gone, in some month long ago.
    ExecSql(QStringLiteral("INSERT INTO %1 (NROM, NRCRT, CNP) VALUES (9999, 777, \"1\")").arg(oameni()));

    const Outcome o = RemoveAlsoInMonth(ui, p, w);
    ASSERT_TRUE(o.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(o.rows, 2);
    EXPECT_EQ(o.members, 4);
    EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN FROM %1 WHERE LUNACRT=%2").arg(cereri()).arg(w)),
              (Rows{"NOU VASILE"}));
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(p)), 4);
    EXPECT_EQ(count(oameni(), QStringLiteral("NRCRT=777")), 0);
    EXPECT_EQ(count(oameni(), QStringLiteral("NRCRT=50")), 1);
    EXPECT_EQ(lastLog(), "Stergere Cereri care sunt si in luna 01.2024");
    // The dated archive was written into the temporary folder (no automatic save folder).
    EXPECT_EQ(QDir(TempFolder()).entryList({"*.T21"}, QDir::Files).size(), 1);
    EXPECT_TRUE(QFileInfo::exists(o.archive));
    EXPECT_TRUE(o.archive.startsWith(TempFolder()));
    EXPECT_TRUE(ui.progressTexts.contains("Sterg cererile..."));
}

TEST_F(MonthOperations, RemovalRefusesTheWorkingMonthItselfAndStopsWhenTheSaveFails)
{
    ASSERT_TRUE(CopyFromMonth(ui, p, w).done);
    EXPECT_EQ(RemoveAlsoInMonth(ui, w, w).field, "month");
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 2);

    // An automatic save folder that cannot be made: nothing is removed.
    const QString blocker = dir.qpath() + "/blocker";
    writeFile(blocker.toStdString(), "x");
    WriteMachineSetting(QStringLiteral("CALESALVARI"), blocker + "/sub");
    const Outcome o = RemoveAlsoInMonth(ui, p, w);
    EXPECT_FALSE(o.done);
    EXPECT_EQ(ui.messages.back().title, "Salvare de siguranta");
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1").arg(w)), 2);
}

} // namespace
