// The backup server's guards: the lock after wrong passwords and codes, the removal of
// accounts never confirmed, and the confirmation codes handed to a sendmail-like program.
#include "server/BackupServer.h"

#include "TestSupport.h"
#include "safety/RemoteFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace focaris;
using namespace focaris::server;
using focaris::test::TempDir;

TEST(Server, WrongPasswordsAndCodesLockTheAccountForAWhile)
{
    TempDir root;
    AccountStore store(root.qpath());
    QDateTime clock = QDateTime::currentDateTimeUtc();
    store.now = [&] { return clock; };
    const QString code = store.create("ana@vulcan.ro", "BUNA");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(store.checkPassword("ana@vulcan.ro", "REA"), AccountStore::Check::Wrong);
    EXPECT_FALSE(store.confirm("ana@vulcan.ro", code == "000000" ? "000001" : "000000"));
    EXPECT_FALSE(store.locked("ana@vulcan.ro"));
    EXPECT_EQ(store.checkPassword("ana@vulcan.ro", "REA"), AccountStore::Check::Wrong);
    // The fifth wrong try: even the right password and code are refused now.
    EXPECT_TRUE(store.locked("ana@vulcan.ro"));
    EXPECT_EQ(store.checkPassword("ana@vulcan.ro", "BUNA"), AccountStore::Check::Wrong);
    EXPECT_FALSE(store.confirm("ana@vulcan.ro", code));
    clock = clock.addSecs(16 * 60);
    EXPECT_EQ(store.checkPassword("ana@vulcan.ro", "BUNA"), AccountStore::Check::Right);
    EXPECT_TRUE(store.confirm("ana@vulcan.ro", code));
    // A right answer starts the count again.
    for (int i = 0; i < 4; ++i)
        store.checkPassword("ana@vulcan.ro", "REA");
    store.checkPassword("ana@vulcan.ro", "BUNA");
    store.checkPassword("ana@vulcan.ro", "REA");
    EXPECT_FALSE(store.locked("ana@vulcan.ro"));
}

TEST(Server, AccountsNeverConfirmedAreRemovedAfterAWeek)
{
    TempDir root;
    AccountStore store(root.qpath());
    QDateTime clock = QDateTime::currentDateTimeUtc();
    store.now = [&] { return clock; };
    store.create("ana@vulcan.ro", "BUNA");
    const QString code = store.create("ion@vulcan.ro", "BUNA");
    ASSERT_TRUE(store.confirm("ion@vulcan.ro", code));
    clock = clock.addDays(6);
    EXPECT_EQ(store.removeStaleAccounts(), 0);
    store.create("eva@vulcan.ro", "BUNA");
    clock = clock.addDays(2);
    EXPECT_EQ(store.removeStaleAccounts(), 1);
    EXPECT_FALSE(store.exists("ana@vulcan.ro"));
    EXPECT_TRUE(store.exists("ion@vulcan.ro"));
    EXPECT_TRUE(store.exists("eva@vulcan.ro"));
}

// The mail command is run as sendmail is: its options, the address last, the message on
// standard input. A stand-in script records both.
TEST(Server, ConfirmationCodeGoesToTheMailCommand)
{
    TempDir root;
    const QString script = root.qpath() + "/sendmail";
    test::writeFile(script.toStdString(), "#!/bin/sh\necho \"$@\" > \"$0.args\"\ncat > \"$0.msg\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ServerConfig config;
    config.storage = root.qpath() + "/store";
    config.mailCommand = script + " -i";
    BackupServer server(config);
    const QString command = root.qpath() + "/cmd", reply = root.qpath() + "/reply";
    ASSERT_TRUE(remote::writeCommandFile(command, {"/INFO"}, {}));
    ASSERT_TRUE(server.answer("ana@vulcan.ro", "BUNA", command, reply));
    const auto mails = server.findChildren<QProcess *>();
    ASSERT_EQ(mails.size(), 1);
    ASSERT_TRUE(mails[0]->waitForFinished(30000));
    EXPECT_EQ(test::readFile((script + ".args").toStdString()), "-i ana@vulcan.ro\n");
    const std::string mail = test::readFile((script + ".msg").toStdString());
    EXPECT_NE(mail.find("To: ana@vulcan.ro\n"), std::string::npos) << mail;
    EXPECT_NE(mail.find("Subject: Cod de verificare\n"), std::string::npos) << mail;
    EXPECT_NE(mail.find(server.store().code("ana@vulcan.ro").toStdString()), std::string::npos) << mail;
}
