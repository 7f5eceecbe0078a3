// The administrator login, the read-only access, the password change and the new-password
// rule.
#include "ShellFixture.h"

#include "admin/Password.h"
#include "shell/Access.h"
#include "shell/Passwords.h"

using namespace focaris;
using namespace focaris::test;
using namespace focaris::shell;

namespace {

class AccessTest : public ShellFixture {};

TEST_F(AccessTest, NoPasswordWarnsAndUnlocksThenOpensTheWindow)
{
    EXPECT_EQ(ClickAdmin(ui), AdminClick::Unlocked);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Administrare");
    EXPECT_EQ(ui.messages[0].text, "\rATENTIE!\rNu aveti nicio parola!");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_TRUE(AdminUnlocked());
    EXPECT_FALSE(ReadOnlyAccess());
    EXPECT_EQ(ClickAdmin(ui), AdminClick::OpenWindow);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(AccessTest, LoginWithStoredPassword)
{
    WriteSetting("INIT", "WIN", ScramblePassword("secret"));
    // Cancelled: nothing happens.
    EXPECT_EQ(ClickAdmin(ui), AdminClick::Cancelled);
    EXPECT_TRUE(ui.messages.empty());
    // Wrong, also with a trailing blank: stays locked, no limit on attempts.
    ui.textAnswers = {"Secret", "secret "};
    EXPECT_EQ(ClickAdmin(ui), AdminClick::WrongPassword);
    EXPECT_EQ(ClickAdmin(ui), AdminClick::WrongPassword);
    EXPECT_FALSE(AdminUnlocked());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].title, "Greseala!");
    EXPECT_EQ(ui.messages[0].text, "PAROLA INCORECTA !");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    // Right.
    ui.textAnswers = {"secret"};
    EXPECT_EQ(ClickAdmin(ui), AdminClick::Unlocked);
    EXPECT_TRUE(AdminUnlocked());
    EXPECT_FALSE(ReadOnlyAccess());
}

TEST_F(AccessTest, EmptyEntryUnlocksForViewingOnlyAndRefusesChanges)
{
    WriteSetting("INIT", "WIN", ScramblePassword("secret"));
    ui.textAnswers = {""};
    EXPECT_EQ(ClickAdmin(ui), AdminClick::UnlockedReadOnly);
    EXPECT_TRUE(AdminUnlocked());
    EXPECT_TRUE(ReadOnlyAccess());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Bine ati venit!");
    EXPECT_EQ(ui.messages[0].text, "Nu aveti dreptul sa modificati datele!");

    EXPECT_TRUE(RefuseReadOnly(ui, "Administrare"));
    EXPECT_EQ(ui.lastMessage(), "Nu aveti dreptul sa modificati datele!");
    const QString stored = ReadSetting("INIT", "WIN");
    EXPECT_EQ(ChangePassword(ui, "", ""), PasswordChange::Refused);
    EXPECT_EQ(ReadSetting("INIT", "WIN"), stored);
}

TEST_F(AccessTest, PasswordChangeRules)
{
    EXPECT_EQ(ChangePassword(ui, "abc", "abd"), PasswordChange::Mismatch);
    EXPECT_EQ(ui.messages.back().title, "Eroare la completare");
    EXPECT_EQ(ui.messages.back().text, "Nu ati scris parola noua la fel in cele doua casute !");
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
    EXPECT_TRUE(ReadSetting("INIT", "WIN").isEmpty());

    EXPECT_EQ(ChangePassword(ui, "Parola 1", "Parola 1"), PasswordChange::Changed);
    EXPECT_EQ(ui.messages.back().title, "Confirmare");
    EXPECT_EQ(ui.messages.back().text, "\rParola a fost schimbata cu succes!");
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Information);
    const QString first = ReadSetting("INIT", "WIN");
    EXPECT_EQ(first, ScramblePassword("Parola 1"));
    // Deterministic: the same text twice gives the same stored text.
    EXPECT_EQ(ChangePassword(ui, "Parola 1", "Parola 1"), PasswordChange::Changed);
    EXPECT_EQ(ReadSetting("INIT", "WIN"), first);

    // Both empty: "Nu" keeps it, "Da" switches it off.
    ui.messageAnswers = {MessageResult::Nu, MessageResult::Da};
    EXPECT_EQ(ChangePassword(ui, "", ""), PasswordChange::Kept);
    EXPECT_EQ(ui.messages.back().text, "ATENTIE !\rDoriti sa dezactivati parola de administrator?");
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages.back().buttons, MessageButton::Da | MessageButton::Nu);
    EXPECT_EQ(ReadSetting("INIT", "WIN"), first);
    EXPECT_EQ(ChangePassword(ui, "", ""), PasswordChange::Disabled);
    EXPECT_FALSE(PasswordSet());
    // The next "Administrare" says there is no password.
    EXPECT_EQ(ClickAdmin(ui), AdminClick::Unlocked);
    EXPECT_EQ(ui.lastMessage(), "\rATENTIE!\rNu aveti nicio parola!");
}

TEST_F(AccessTest, NewPasswordIsCleanedAndMayNotBeEmpty)
{
    QString entry = "    ";
    EXPECT_FALSE(AcceptNewPassword(ui, entry, nullptr));
    EXPECT_EQ(ui.hints, QStringList{"Nu ati scris nicio parola!"});
    entry = " NOUA  PAROLA ";
    EXPECT_TRUE(AcceptNewPassword(ui, entry, nullptr));
    EXPECT_EQ(entry, "NOUA PAROLA");
}

} // namespace
