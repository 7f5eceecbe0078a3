// The backup window and the remote copy window driven as the clerk uses them: fields
// typed, buttons pressed, answers given through FakeUi, against focaris-backup-server on
// a loopback port, a server that says nothing and a hostile one.
#include "GuiFixture.h"
#include "LoopbackServer.h"
#include "engines/dbase/DbfTable.h"

#include "core/Context.h"
#include "engines/archive/Archive.h"
#include "engines/transport/FrameChannel.h"
#include "gui/safety/BackupWindow.h"
#include "gui/safety/RemoteCopyWindow.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <map>

using namespace focaris;
using namespace focaris::test;
using focaris::gui::BackupWindow;
using focaris::gui::RemoteCopyWindow;
namespace fs = std::filesystem;

namespace {

fs::path p(const QString &s)
{
    return fs::path(s.toStdString());
}

std::map<std::string, std::string> contentsOf(const fs::path &folder)
{
    std::map<std::string, std::string> files;
    for (const auto &e : fs::directory_iterator(folder))
        if (e.is_regular_file())
            files[e.path().filename().string()] = readFile(e.path());
    return files;
}

QStringList visiblePanels(RemoteCopyWindow &w)
{
    QStringList names;
    for (const char *n : {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5", "Panel6"})
        if (!w.panel(n)->isHidden())
            names << n;
    return names;
}

void click(RemoteCopyWindow &w, const char *name)
{
    QPushButton *b = w.button(name);
    ASSERT_TRUE(b->isVisible()) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

class Windows : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        writeFile(p(DataFolder()) / "Luni.lst", "luni of the office");
        writeFile(p(DataFolder()) / "Focaris.set", "[CONST]\r\n");
        // The program's tables, without which a copy is not restored.
        for (const char *name : {"Cereri.dbf", "Oameni.dbf"})
            dbf::DbfTable::create(p(DataFolder()) / name, {dbf::ColumnDef::charColumn("NUME", 20)});
    }
    // Opens the remote window as showModal() does, without its modal loop.
    void show(RemoteCopyWindow &w, quint16 port)
    {
        w.remote().server = remote::ServerAddress{"127.0.0.1", port};
        w.prepare();
        w.show();
    }
    void login(RemoteCopyWindow &w, const QString &email, const QString &password)
    {
        w.field("Email")->clear();
        w.field("Pass")->clear();
        QTest::keyClicks(w.field("Email"), email);
        QTest::keyClicks(w.field("Pass"), password);
        click(w, "LoginButton");
    }
    TempDir storage;
};

TEST_F(Windows, LoginConfirmSendListDeleteAndRestore)
{
    Server server(storage.qpath());
    RemoteCopyWindow w(ui);
    show(w, server.port);
    EXPECT_EQ(w.windowTitle(), "Copie / Recupereaza date la Distanta");
    EXPECT_EQ(visiblePanels(w), QStringList{"Panel2"});
    EXPECT_TRUE(w.button("SendPasswordButton")->isHidden());

    // Refused fields: hints, no exchange.
    login(w, "gresit", "x");
    EXPECT_EQ(ui.hints, QStringList{"Email incorect!!"});
    login(w, "asistenta@vulcan.ro", "");
    EXPECT_EQ(ui.hints.last(), "Lipseste parola!!");
    EXPECT_TRUE(ui.messages.empty());

    // The first login makes the account; its address is not confirmed yet.
    w.rememberCheck()->setChecked(true);
    login(w, "asistenta@vulcan.ro", "parola1");
    EXPECT_EQ(w.field("Pass")->text(), "PAROLA1");
    EXPECT_EQ(visiblePanels(w), (QStringList{"Panel1", "Panel4"}));
    EXPECT_EQ(w.findChild<QLabel *>("EmailLabel")->text(), "asistenta@vulcan.ro");
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((w.geometry().center() - centre).manhattanLength(), 2);

    QTest::keyClicks(w.field("ConfirmationCode"), "1");
    click(w, "CheckCodeButton");
    EXPECT_EQ(ui.lastMessage(), server.code() == "000001" ? QString() : QString("\nCodul introdus este incorect!"));
    w.field("ConfirmationCode")->clear();
    QTest::keyClicks(w.field("ConfirmationCode"), server.code());
    click(w, "CheckCodeButton");
    EXPECT_EQ(visiblePanels(w), (QStringList{"Panel4", "Panel5"}));

    // Two copies sent, with a note and without one.
    ui.textAnswers = {"Inainte de plata", ""};
    click(w, "SaveButton");
    click(w, "SaveButton");
    EXPECT_EQ(w.descriptionLabel()->text(), "Terminat.");
    click(w, "LoadButton");
    EXPECT_EQ(visiblePanels(w), (QStringList{"Panel4", "Panel6"}));
    ASSERT_EQ(w.grid()->rowCount(), 2);
    EXPECT_EQ(w.grid()->item(0, 2)->text(), "Inainte de plata");
    EXPECT_EQ(w.grid()->item(1, 2)->text(), "***");
    EXPECT_EQ(w.grid()->item(0, 0)->text(), QDate::currentDate().toString("dd.MM.yyyy"));
    EXPECT_TRUE(w.button("LoadFromServerButton")->isEnabled());

    // Delete: "Nu" keeps it, "Da" removes it here and on the server.
    w.grid()->selectRow(1);
    ui.messageAnswers = {MessageResult::Nu};
    click(w, "DeleteOnServerButton");
    EXPECT_EQ(w.grid()->rowCount(), 2);
    ui.messageAnswers = {MessageResult::Da};
    click(w, "DeleteOnServerButton");
    EXPECT_EQ(w.grid()->rowCount(), 1);
    click(w, "BackButton");
    click(w, "LoadButton");
    EXPECT_EQ(w.grid()->rowCount(), 1);

    // Restore of the copy over changed data: the data come back and the window closes.
    writeFile(p(DataFolder()) / "Luni.lst", "changed afterwards");
    w.grid()->selectRow(0);
    ui.messageAnswers = {MessageResult::Da, MessageResult::OK};
    click(w, "LoadFromServerButton");
    EXPECT_TRUE(w.restored());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(readFile(p(DataFolder()) / "Luni.lst"), "luni of the office");
    EXPECT_EQ(readFile(p(ProgramFolder()) / "DataBAK" / "Luni.lst"), "changed afterwards");

    // Opened again: the remembered account fills the login panel; Enter moves on from a
    // field, Escape closes the window.
    show(w, server.port);
    EXPECT_TRUE(w.rememberCheck()->isChecked());
    EXPECT_EQ(w.field("Email")->text(), "asistenta@vulcan.ro");
    EXPECT_EQ(w.field("Pass")->text(), "PAROLA1");
    EXPECT_EQ(visiblePanels(w), QStringList{"Panel2"});
    w.activateWindow();
    w.field("Email")->setFocus();
    QTest::keyClick(w.field("Email"), Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.field("Pass"));
    QTest::keyClick(w.field("Pass"), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Windows, WrongPasswordShowsTheForgottenPasswordButtonAndReadOnlyRefusesChanges)
{
    Server server(storage.qpath());
    {
        remote::RemoteCopy rc(ui);
        rc.server = remote::ServerAddress{"127.0.0.1", server.port};
        rc.email = "ioana@vulcan.ro";
        rc.password = "BUNA";
        rc.login();
        ASSERT_EQ(rc.confirm(server.code()), remote::RemoteCopy::Login::Ready);
        test::writeSaveArchive(TempFolder() + "/copie.T21", "a copy sent earlier");
        ASSERT_TRUE(rc.sendArchive(TempFolder() + "/copie.T21", "mai veche"));
    }
    RemoteCopyWindow w(ui);
    show(w, server.port);
    ui.messages.clear();
    login(w, "ioana@vulcan.ro", "rea");
    EXPECT_EQ(visiblePanels(w), QStringList{"Panel2"});
    EXPECT_FALSE(w.button("SendPasswordButton")->isHidden());
    EXPECT_EQ(w.button("SendPasswordButton")->text(), "Trimte-mi parola pe email !");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, "Conectare la server");
    EXPECT_EQ(ui.messages.back().text, "\nParola este incorecta!");
    EXPECT_TRUE(w.panel("Panel2")->isEnabled());
    click(w, "SendPasswordButton");
    EXPECT_EQ(ui.lastMessage(), "\nV-am trimis o parola noua pe e-mail.");
    EXPECT_TRUE(w.button("SendPasswordButton")->isHidden());

    // Without the administrator password: the copy can be sent, not restored or deleted.
    SetReadOnlyAccess(true);
    login(w, "ioana@vulcan.ro", "buna");
    ASSERT_EQ(visiblePanels(w), (QStringList{"Panel4", "Panel5"}));
    ui.textAnswers = {"vizitator"};
    click(w, "SaveButton");
    click(w, "LoadButton");
    ASSERT_GE(w.grid()->rowCount(), 1);
    const int rows = w.grid()->rowCount();
    w.grid()->selectRow(0);
    const auto before = contentsOf(p(DataFolder()));
    ui.messages.clear();
    ui.messageAnswers = {MessageResult::Da, MessageResult::Da};
    click(w, "DeleteOnServerButton");
    click(w, "LoadFromServerButton");
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.text, "Nu aveti dreptul sa modificati datele!");
    // Nor is the account's password changed or renewed: no new password is even asked.
    ui.messages.clear();
    ui.textAnswers = {"ALTA"};
    w.button("ChangePasswordButton")->click();
    w.button("SendPasswordButton")->click();
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.text, "Nu aveti dreptul sa modificati datele!");
    EXPECT_EQ(ui.textAnswers.size(), 1u);
    EXPECT_EQ(w.grid()->rowCount(), rows);
    EXPECT_EQ(contentsOf(p(DataFolder())), before);
    EXPECT_FALSE(w.restored());
    SetReadOnlyAccess(false);
    w.close();
}

TEST_F(Windows, SilentServerAndTheCloseBoxEndTheExchange)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    RemoteCopyWindow w(ui);
    show(w, silent.serverPort());
    // The server takes the connection and never answers: the wait ends when its time is
    // up, which the test brings forward instead of waiting for it.
    auto expire = QObject::connect(
        &silent, &QTcpServer::newConnection, &w, [&w] { w.remote().expireWait(); }, Qt::QueuedConnection);
    login(w, "ioana@vulcan.ro", "buna");
    QObject::disconnect(expire);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, "Transmitere date");
    EXPECT_EQ(ui.messages.back().text, "\nTimp de asteptare prea mare!");
    EXPECT_EQ(visiblePanels(w), QStringList{"Panel2"});
    EXPECT_TRUE(w.panel("Panel2")->isEnabled());

    // The close box while the exchange waits: the exchange stops and the window goes.
    QObject::connect(
        &silent, &QTcpServer::newConnection, &w, [&w] { w.close(); }, Qt::QueuedConnection);
    ui.messages.clear();
    login(w, "ioana@vulcan.ro", "buna");
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Transmitere date");
    EXPECT_FALSE(w.remote().busy());
}

TEST_F(Windows, ASettingsFileThatCannotBeWrittenIsShownNotThrownOutOfTheButton)
{
    // A folder stands where "Local.set" must be written.
    fs::create_directories(p(ProgramFolder()) / "Local.set");
    RemoteCopyWindow w(ui);
    show(w, 1);
    w.rememberCheck()->setChecked(true);
    login(w, "ioana@vulcan.ro", "buna");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Conectare la server");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(visiblePanels(w), QStringList{"Panel2"});
    EXPECT_TRUE(w.panel("Panel2")->isEnabled());
    w.close();
}

// Answers every command file with `reply`, over the real transport.
class HostileServer : public QObject {
public:
    explicit HostileServer(QByteArray reply) : reply_(std::move(reply))
    {
        tcp.listen(QHostAddress::LocalHost);
        connect(&tcp, &QTcpServer::newConnection, this, [this] {
            auto *ch = new transport::FrameChannel(tcp.nextPendingConnection(), this);
            auto expected = std::make_shared<qint64>(0), received = std::make_shared<qint64>(0),
                 sent = std::make_shared<qint64>(0);
            connect(ch, &transport::FrameChannel::frameReceived, this, [=, this](const transport::Frame &f) {
                using namespace transport;
                if (f.code == Login) {
                    ch->sendFrame(LoginAccepted);
                } else if (f.code == StreamAnnounce && *expected == 0) {
                    *expected = readInt32(f.payload.constData());
                    ch->sendFrame(StreamAccepted);
                } else if (f.code == StreamPacket) {
                    *received += f.payload.size();
                    if (*received < *expected) {
                        ch->sendFrame(NeedMoreData);
                    } else {
                        ch->sendFrame(StreamComplete);
                        ch->sendFrame(StreamAnnounce, streamAnnouncement(std::int32_t(reply_.size()), "raspuns"));
                    }
                } else if ((f.code == StreamAccepted || f.code == NeedMoreData) && *sent < reply_.size()) {
                    const QByteArray part = reply_.mid(*sent, 65535);
                    *sent += part.size();
                    ch->sendFrame(StreamPacket, part);
                } else if (f.code == StreamComplete) {
                    ch->socket()->disconnectFromHost();
                }
            });
            ch->sendFrame(transport::Identify);
        });
    }
    QTcpServer tcp;

private:
    QByteArray reply_;
};

TEST_F(Windows, HostileServerNamingFoldersWritesNothingOutsideAndClaimsNothing)
{
    HostileServer hostile("/CODCONF OK\r\n#ATTACH ../evil.txt : 4\r\n#ATTACH ..\\Srv : 4\r\n"
                          "#ATTACH Stoc.dbf : 10\r\n/END\r\nEVILSRVSnot a tabl");
    RemoteCopyWindow w(ui);
    show(w, hostile.tcp.serverPort());
    login(w, "ioana@vulcan.ro", "buna");
    ASSERT_EQ(visiblePanels(w), (QStringList{"Panel4", "Panel5"}));
    ui.messages.clear();
    click(w, "LoadButton");
    // The list that arrived is not a table: the failure is shown and no list appears.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(visiblePanels(w), (QStringList{"Panel4", "Panel5"}));
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(fs::exists(p(TempFolder()) / ".." / "evil.txt"));
    EXPECT_FALSE(fs::exists(p(TempFolder()) / "evil.txt"));
    EXPECT_FALSE(fs::exists(p(TempFolder()) / "Srv"));
    EXPECT_FALSE(fs::exists(p(TempFolder()) / "Stoc.dbf"));
    w.close();
}

TEST_F(Windows, BackupWindowSavesOverAnExistingArchiveOnlyAfterDaAndRestoresSafely)
{
    RemoteCopyWindow remote(ui);
    BackupWindow w(ui, remote);
    EXPECT_EQ(w.windowTitle(), "Copie - inlocuieste baza de date");
    EXPECT_EQ(w.saveButton()->text(), "Salveaza o copie a datelor");
    EXPECT_EQ(w.loadButton()->text(), "Incarca o salvare anterioara");
    EXPECT_EQ(w.remoteButton()->text(), "Copie / Recupereaza date la Distanta");
    const QString target = tmp.qpath() + "/copie.T21";
    writeFile(p(target), "older save");
    auto press = [&](QPushButton *b) {
        QTimer::singleShot(0, b, [b] { QTest::mouseClick(b, Qt::LeftButton); });
        return w.showModal();
    };

    ui.fileAnswers = {target};
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(press(w.saveButton()));
    EXPECT_EQ(readFile(p(target)), "older save");
    EXPECT_EQ(ui.lastMessage(), "\nVreti sa inlocuiti salvarea " + target + "?");
    ui.fileAnswers = {target};
    ui.messageAnswers = {MessageResult::Da, MessageResult::OK, MessageResult::Nu};
    EXPECT_FALSE(press(w.saveButton()));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(archive::listArchive(p(target)).size(), 4u); // the two tables, the month list, the settings
    EXPECT_EQ(ui.lastMessage(), "\nDoriti sa transmiteti salvarea si pe Server?");

    // A truncated archive: "Restaurare esuata!" and the data folder byte for byte as it was.
    std::string bytes = readFile(p(target));
    writeFile(p(target), bytes.substr(0, bytes.size() - 7));
    const auto before = contentsOf(p(DataFolder()));
    ui.fileAnswers = {target};
    ui.messageAnswers = {MessageResult::Da, MessageResult::OK};
    EXPECT_FALSE(press(w.loadButton()));
    EXPECT_EQ(ui.lastMessage(), "Restaurare esuata!");
    EXPECT_EQ(contentsOf(p(DataFolder())), before);

    // The third button hides the backup window and opens the remote copy window.
    bool remoteShown = false;
    QTimer::singleShot(0, w.remoteButton(), [&] {
        QTimer::singleShot(0, &remote, [&] {
            remoteShown = remote.isVisible() && !w.isVisible();
            remote.close();
        });
        QTest::mouseClick(w.remoteButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(w.showModal());
    EXPECT_TRUE(remoteShown);

    // With an opened save the restore button is off.
    Context().openedSave = target;
    QTimer::singleShot(0, &w, [&w] { w.close(); });
    w.showModal();
    EXPECT_FALSE(w.loadButton()->isEnabled());
    Context().openedSave.clear();
}

} // namespace
