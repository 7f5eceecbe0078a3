// The command and reply files, login texts, account encoding and server address of the
// remote copy.
#include "safety/RemoteFiles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris::remote;
using focaris::test::readFile;
using focaris::test::TempDir;
using focaris::test::writeFile;
namespace fs = std::filesystem;

TEST(RemoteTexts, AccountEncodingAndLoginTexts)
{
    EXPECT_EQ(encodeAccount("ABC"), "065066067");
    EXPECT_EQ(decodeAccount("065066067"), "ABC");
    EXPECT_EQ(encodeAccount(QStringLiteral("Ţ")), "222");
    EXPECT_EQ(decodeAccount("222"), QStringLiteral("Ţ"));
    EXPECT_EQ(decodeAccount("06506x"), "A");

    EXPECT_EQ(loginUserName("ana@primarie.ro"), "094ana@primarie.ro");
    const QString room = loginRoom("PAROLA", QStringLiteral("  Comuna  \"Vulcan\"/HD "));
    EXPECT_EQ(room.size(), 140);
    EXPECT_EQ(room.left(46), QStringLiteral("PAROLA") + QString(34, ' ') + "Comuna");
    EXPECT_EQ(room.mid(40).trimmed(), "Comuna Vulcan /HD");
}

TEST(RemoteFiles, CommandFileLayout)
{
    TempDir dir;
    writeFile(dir / "Srv", "ARCHIVEBYTES");
    const QString cmd = dir.qpath() + "/Comanda0cmd";
    ASSERT_TRUE(writeCommandFile(cmd, {"/PUT_FILE ***"}, {dir.qpath() + "/Srv"}));
    EXPECT_EQ(readFile(dir / "Comanda0cmd"), "/PUT_FILE ***\r\n#ATTACH Srv : 12\r\n/END\r\nARCHIVEBYTES");
    EXPECT_FALSE(writeCommandFile(dir.qpath() + "/x", {"/PUT_FILE a"}, {dir.qpath() + "/absent"}));
    EXPECT_FALSE(fs::exists(dir / "x"));

    const auto lines = parseLines(QByteArray::fromStdString(readFile(dir / "Comanda0cmd")));
    EXPECT_EQ(lines.commands, QStringList{"/PUT_FILE ***"});
    ASSERT_EQ(lines.attachments.size(), 1);
    EXPECT_EQ(lines.attachments[0].size, 12);
    EXPECT_EQ(lines.headerLength, 39);
}

TEST(RemoteFiles, ReplyKeywordsAndAttachmentsFromTheEnd)
{
    auto r = parseLines("/msg_dlg  Bine ati venit \r\n/CODCONF NO\r\n/pass no\r\n/MSG_DLG dupa\r\n/END\r\n");
    EXPECT_EQ(r.messages, QStringList{"Bine ati venit"});
    EXPECT_TRUE(r.passwordWrong);
    EXPECT_TRUE(r.confirmationNeeded);
    EXPECT_FALSE(parseLines("/CODCONF no\r\n/END\r\n").confirmationNeeded);

    TempDir dir;
    fs::create_directories(dir / "tmp");
    writeFile(dir / "reply", "/CODCONF OK\r\n#ATTACH Stoc.dbf : 10\r\n#ATTACH ..\\..\\12 : 20\r\n/END\r\n"
                             "0123456789abcdefghijklmnopqrst");
    QStringList written;
    r = readReplyFile(dir.qpath() + "/reply", dir.qpath() + "/tmp", &written);
    EXPECT_EQ(readFile(dir / "tmp" / "Stoc.dbf"), "0123456789");
    // A name with a folder part is not a plain name: skipped, not reduced and written.
    EXPECT_EQ(written.size(), 1);
    EXPECT_FALSE(fs::exists(dir / "tmp" / "12"));

    // Sizes that do not fit the file write nothing.
    fs::remove_all(dir / "tmp");
    fs::create_directories(dir / "tmp");
    writeFile(dir / "reply", "#ATTACH a : 5\r\n#ATTACH b : 9000000000\r\n/END\r\nxxxxx");
    readReplyFile(dir.qpath() + "/reply", dir.qpath() + "/tmp", &written);
    EXPECT_TRUE(fs::is_empty(dir / "tmp"));
}

TEST(RemoteFiles, ServerAddress)
{
    auto a = parseAddressFile("10.0.0.5\r\n");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "10.0.0.5");
    EXPECT_EQ(a->port, 1235);
    EXPECT_FALSE(parseAddressFile(QByteArray(30, 'a')));
    EXPECT_FALSE(parseAddressFile("a.b"));
    auto d = parseHostPort("backup.judet.ro:4000");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->host, "backup.judet.ro");
    EXPECT_EQ(d->port, 4000);
    EXPECT_FALSE(parseHostPort("host:99999"));
}

TEST(RemoteFiles, HostileReplyNamesWriteNothingOutsideTheFolderOrUnasked)
{
    for (const char *bad : {"../evil", "..", ".", "/etc/evil", "a\\b", "C:evil", "sub/evil", ""})
        EXPECT_FALSE(PlainFileName(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(PlainFileName("Stoc.dbf"));
    EXPECT_TRUE(PlainFileName("12"));

    TempDir dir;
    fs::create_directories(dir / "tmp");
    // A link left in the folder under an attachment's name is replaced, not written through.
    writeFile(dir / "outside.txt", "keep");
    fs::create_symlink(dir / "outside.txt", dir / "tmp" / "7");
    writeFile(dir / "reply", "#ATTACH ../evil : 3\r\n#ATTACH 7 : 3\r\n#ATTACH Srv : 3\r\n/END\r\nAAABBBCCC");
    QStringList written;
    const QStringList accepted{"7"};
    readReplyFile(dir.qpath() + "/reply", dir.qpath() + "/tmp", &written, &accepted);
    EXPECT_EQ(written, QStringList{dir.qpath() + "/tmp/7"});
    EXPECT_EQ(readFile(dir / "tmp" / "7"), "BBB");
    EXPECT_FALSE(fs::is_symlink(dir / "tmp" / "7"));
    EXPECT_EQ(readFile(dir / "outside.txt"), "keep");
    EXPECT_FALSE(fs::exists(dir / "evil"));
    EXPECT_FALSE(fs::exists(dir / "tmp" / "Srv"));
}

TEST(RemoteFiles, TypedLineBreaksCannotAddACommand)
{
    EXPECT_EQ(OneLine("nota\r\n/DEL 5\t\x7f"), "nota  /DEL 5  ");
    TempDir dir;
    const QString cmd = dir.qpath() + "/cmd";
    ASSERT_TRUE(writeCommandFile(cmd, {"/PUT_FILE nota\r\n/DEL 5", "/SET_PASS A\nB"}, {}));
    const auto lines = parseLines(QByteArray::fromStdString(readFile(dir / "cmd")));
    EXPECT_EQ(lines.commands, (QStringList{"/PUT_FILE nota  /DEL 5", "/SET_PASS A B"}));
}
