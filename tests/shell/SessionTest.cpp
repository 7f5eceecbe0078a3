// The closing questions and the session around the main window.
#include "ShellFixture.h"

#include "core/ChangeLog.h"
#include "core/Tables.h"
#include "shell/LogRows.h"
#include "shell/Session.h"

#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;
using focaris::shell::CloseState;
using focaris::shell::DecideSave;

namespace {

class SessionTest : public ShellFixture {};

CloseState state(bool opened, bool period, bool network, const QString &folder)
{
    return CloseState{opened, period, network, folder};
}

TEST_F(SessionTest, NothingIsAskedWithoutLoginInNetworkModeOrWithSaveSwitchedOff)
{
    EXPECT_FALSE(DecideSave(ui, state(false, false, false, "/saves")).save);
    EXPECT_FALSE(DecideSave(ui, state(true, false, false, "/saves")).save);
    EXPECT_FALSE(DecideSave(ui, state(false, true, true, "/saves")).save);
    EXPECT_FALSE(DecideSave(ui, state(false, true, false, "-")).save);
    EXPECT_FALSE(DecideSave(ui, state(false, true, false, "  -")).save);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SessionTest, LocalWorkAsksForTheDaysCopy)
{
    ui.messageAnswers = {MessageResult::Da, MessageResult::Nu};
    auto yes = DecideSave(ui, state(false, true, false, "/saves"));
    EXPECT_TRUE(yes.save);
    EXPECT_FALSE(yes.intoOpenedSave);
    EXPECT_FALSE(DecideSave(ui, state(false, true, false, "/saves")).save);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "Salvare Automata");
    EXPECT_EQ(ui.messages[0].text, "\rDoriti sa facem o copie la datele de azi?");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(ui.messages[0].buttons, MessageButton::Da | MessageButton::Nu);
}

TEST_F(SessionTest, OpenedSaveAsksFirstForTheChangesThenForTheCopy)
{
    ui.messageAnswers = {MessageResult::Da};
    auto into = DecideSave(ui, state(true, true, false, "/saves"));
    EXPECT_TRUE(into.save);
    EXPECT_TRUE(into.intoOpenedSave);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Salvare modificari");
    EXPECT_EQ(ui.messages[0].text, "\rDoriti sa salvati modificarile ?");

    // "Nu" to the changes leads to the day's copy, which leaves the opened archive alone.
    ui.messages.clear();
    ui.messageAnswers = {MessageResult::Nu, MessageResult::Da};
    auto copy = DecideSave(ui, state(true, true, false, "/saves"));
    EXPECT_TRUE(copy.save);
    EXPECT_FALSE(copy.intoOpenedSave);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].title, "Salvare Automata");

    // Escape on the first question counts as "Nu".
    ui.messageAnswers = {MessageResult::Renunt, MessageResult::Renunt};
    EXPECT_FALSE(DecideSave(ui, state(true, true, false, "-")).save);
}

TEST_F(SessionTest, SessionLogsStartAndEndReadsMonthAndClearsLeftovers)
{
    WriteSetting("VARIABILE", "LUNA_LUCRU", "11.2025");
    touch(program + "/Manual.pdf");
    touch(program + "/POP3.PDF");
    touch(program + "/Pop8.pdf");
    QStringList log;
    int saves = 0;
    shell::SessionSteps steps;
    steps.writeLog = [&](const QString &a) { log << a; };
    steps.save = [&](Ui &, const shell::SaveDecision &) { ++saves; };
    QString monthDuringSession;
    shell::RunSession(ui, steps, [&] {
        monthDuringSession = WorkingMonth();
        log << "window";
        return shell::SaveDecision{};
    });
    EXPECT_EQ(log, (QStringList{"Pornire program", "window", "Inchidere Program."}));
    EXPECT_EQ(monthDuringSession, "11.2025");
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(QFileInfo::exists(program + "/Manual.pdf"));
    EXPECT_FALSE(QFileInfo::exists(program + "/POP3.PDF"));
    EXPECT_TRUE(QFileInfo::exists(program + "/Pop8.pdf"));

    shell::RunSession(ui, steps, [] { return shell::SaveDecision{true, false}; });
    EXPECT_EQ(saves, 1);
}

TEST_F(SessionTest, LogRowsComeOldestFirstWithOperatorCut)
{
    CreateTables();
    Context().operatorName = "CALCULATOR-BIROU - utilizator";
    for (int i = 1; i <= 12; ++i)
        WriteLogAt(QString("Actiune %1").arg(i), QDateTime(QDate(2024, 2, 1), QTime(9, i, 5)));
    const auto rows = shell::ReadLog();
    ASSERT_EQ(rows.size(), 12);
    EXPECT_EQ(rows.front().action, "Actiune 1");
    EXPECT_EQ(rows.back().action, "Actiune 12");
    EXPECT_EQ(rows.back().date, "01.02.2024");
    EXPECT_EQ(rows.back().user, "CALCULATOR-BIROU");
}

TEST_F(SessionTest, DaysCopyOfAnOpenedSaveGoesToTheSaveFolderOnly)
{
    const QString saves = root + "/saves";
    QDir().mkpath(saves);
    WriteMachineSetting("CALESALVARI", saves);
    touch(DataFolder() + "/Cereri.dbf", "data");
    const QString archive = root + "/opened.T21";
    touch(archive, "original");
    Context().openedSave = archive;

    shell::SaveAtClose(ui, shell::SaveDecision{true, false}, {});
    EXPECT_EQ(readFile(archive.toStdString()), "original");
    EXPECT_EQ(QDir(saves).entryList({"*.T21"}, QDir::Files).size(), 1);
    // The program folder here is the installation itself, not an unpacked copy: it stays.
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "/Cereri.dbf"));

    // Saved back into the opened archive: the unpacked copy under Temp is removed.
    const QString copy = TempFolder() + "/SAV0";
    touch(copy + "/Data/Cereri.dbf", "copy");
    Context().programFolder = copy;
    Context().dataFolder = Context().localDataFolder = copy + "/Data";
    shell::SaveAtClose(ui, shell::SaveDecision{true, true}, {});
    EXPECT_NE(readFile(archive.toStdString()), "original");
    EXPECT_FALSE(QFileInfo::exists(copy));
}

} // namespace
