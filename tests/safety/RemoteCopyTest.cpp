// The remote copy end to end: the real focaris-backup-server on a loopback port, the
// exchange logging in, confirming the code, sending, listing, fetching and deleting a
// copy; a server stopped in the middle of an upload; a server that never answers.
#include "safety/RemoteCopy.h"

#include "FakeUi.h"
#include "LoopbackServer.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/Settings.h"
#include "engines/archive/Archive.h"
#include "engines/transport/FrameChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

using namespace focaris;
using namespace focaris::remote;
using focaris::test::FakeUi;
using focaris::test::readFile;
using focaris::test::Server;
using focaris::test::TempDir;
using focaris::test::writeFile;
namespace fs = std::filesystem;

namespace {

QByteArray randomBytes(qsizetype n)
{
    QByteArray b(n, '\0');
    QRandomGenerator gen(7);
    for (qsizetype i = 0; i < n; i += 4) {
        const quint32 v = gen.generate();
        memcpy(b.data() + i, &v, size_t(std::min<qsizetype>(4, n - i)));
    }
    return b;
}

// A relay on 127.0.0.1 between the client and the server that moves at most `rate` bytes
// a second towards the server, and nothing at all in either direction while `stalled`.
class ThrottledRelay : public QObject {
public:
    ThrottledRelay(quint16 target, qint64 rate) : target_(target), rate_(rate)
    {
        listener_.listen(QHostAddress::LocalHost);
        QObject::connect(&listener_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *c = listener_.nextPendingConnection()) {
                auto *s = new QTcpSocket(this);
                s->connectToHost(QHostAddress::LocalHost, target_);
                pairs_.append(Pair{c, s, {}});
                QObject::connect(s, &QTcpSocket::disconnected, c, [c] { c->disconnectFromHost(); });
                QObject::connect(c, &QTcpSocket::disconnected, s, [s] { s->abort(); });
            }
        });
        tick_.setInterval(20);
        QObject::connect(&tick_, &QTimer::timeout, this, &ThrottledRelay::move);
        tick_.start();
        clock_.start();
    }
    quint16 port() const { return listener_.serverPort(); }
    bool stalled = false;
    qint64 forwarded = 0; // bytes passed towards the server

private:
    struct Pair {
        QPointer<QTcpSocket> client, server;
        QByteArray up;
    };
    void move()
    {
        const qint64 elapsed = clock_.restart();
        if (stalled)
            return;
        allowance_ = std::min(allowance_ + rate_ * elapsed / 1000, rate_ / 5);
        for (Pair &p : pairs_) {
            if (!p.client || !p.server || p.server->state() != QAbstractSocket::ConnectedState)
                continue;
            p.up += p.client->readAll();
            const qint64 n = std::min<qint64>(allowance_, p.up.size());
            if (n > 0) {
                p.server->write(p.up.left(n));
                p.up.remove(0, n);
                allowance_ -= n;
                forwarded += n;
            }
            const QByteArray down = p.server->readAll();
            if (!down.isEmpty())
                p.client->write(down);
        }
    }
    QTcpServer listener_;
    quint16 target_;
    qint64 rate_, allowance_ = 0;
    QList<Pair> pairs_;
    QTimer tick_;
    QElapsedTimer clock_;
};

class Remote : public ::testing::Test {
protected:
    TempDir root, storage;
    FakeUi ui;
    void SetUp() override { InitContextForTests(root.qpath()); }
    void account(RemoteCopy &rc, quint16 port)
    {
        rc.server = ServerAddress{"127.0.0.1", port};
        rc.email = "asistenta@primaria-vulcan.ro";
        rc.password = "PAROLA1";
        rc.place = "Vulcan/HD";
    }
};

} // namespace

TEST_F(Remote, LoginConfirmPutListGetDelete)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("FOCARIS_SERVER"));
    Server server(storage.qpath());
    ASSERT_NE(server.port, 0);
    RemoteCopy rc(ui);
    account(rc, server.port);

    EXPECT_EQ(rc.login(), RemoteCopy::Login::NeedsConfirmation);
    EXPECT_EQ(rc.confirm("999999"),
              server.code() == "999999" ? RemoteCopy::Login::Ready : RemoteCopy::Login::NeedsConfirmation);
    EXPECT_EQ(ui.lastMessage(), "\nCodul introdus este incorect!");
    const QString code = server.code();
    ASSERT_EQ(code.size(), 6);
    EXPECT_EQ(rc.confirm(code), RemoteCopy::Login::Ready);

    // A 5 MB archive goes up, is listed, comes back byte for byte and is deleted.
    const QString archive = root.qpath() + "/big.T21";
    test::writeSaveArchive(archive, randomBytes(5 * 1024 * 1024));
    ASSERT_TRUE(rc.sendArchive(archive, "Copie de test"));
    auto list = rc.listCopies();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1);
    EXPECT_EQ(list->at(0).note, "Copie de test");
    EXPECT_LE(std::abs(list->at(0).when.secsTo(QDateTime::currentDateTime())), 60);
    const QString back = rc.fetchCopy(list->at(0).id);
    ASSERT_FALSE(back.isEmpty());
    EXPECT_EQ(readFile(back.toStdString()), readFile(archive.toStdString()));
    EXPECT_TRUE(rc.deleteCopy(list->at(0).id));
    EXPECT_EQ(ui.lastMessage(), "\nSalvarea a fost stearsa.");
    list = rc.listCopies();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->isEmpty());

    // The window's button: the data folder saved and sent with the note typed, "***" when
    // none was typed.
    writeFile(fs::path(DataFolder().toStdString()) / "Cereri.dbf", "tabel");
    ui.textAnswers = {""};
    ASSERT_TRUE(rc.sendCopy());
    EXPECT_FALSE(QFile::exists(TempFolder() + "/Srv"));
    list = rc.listCopies();
    ASSERT_TRUE(list && list->size() == 1);
    EXPECT_EQ(list->at(0).note, "***");

    // A wrong password: "/PASS NO" and the message of the login.
    RemoteCopy wrong(ui);
    account(wrong, server.port);
    wrong.password = "ALTA";
    EXPECT_EQ(wrong.login(), RemoteCopy::Login::WrongPassword);
    EXPECT_EQ(ui.lastMessage(), "\nParola este incorecta!");
}

TEST_F(Remote, ServerStoppedMidUploadKeepsNoPartialCopy)
{
    RemoteCopy rc(ui);
    {
        Server server(storage.qpath());
        account(rc, server.port);
        rc.login();
        ASSERT_EQ(rc.confirm(server.code()), RemoteCopy::Login::Ready);
        const QString small = root.qpath() + "/small.T21";
        test::writeSaveArchive(small, "first copy");
        ASSERT_TRUE(rc.sendArchive(small, "intai"));

        const QString big = root.qpath() + "/big.T21";
        writeFile(fs::path(big.toStdString()), randomBytes(20 * 1024 * 1024).toStdString());
        bool killed = false;
        QObject::connect(&rc, &RemoteCopy::progressValue, [&](qint64 v) {
            if (!killed && v > 8 * 1024 * 1024) {
                killed = true;
                server.stop();
            }
        });
        EXPECT_FALSE(rc.sendArchive(big, "taiata"));
        EXPECT_TRUE(killed);
        EXPECT_EQ(rc.lastError(), "Eroare la transmisie.");
        EXPECT_EQ(ui.lastMessage(), "\nEroare la transmisie.");
        rc.disconnect();
    }
    Server again(storage.qpath());
    account(rc, again.port);
    const auto list = rc.listCopies();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1);
    EXPECT_EQ(list->at(0).note, "intai");
    EXPECT_TRUE(fs::is_empty(storage / "incoming"));
}

TEST_F(Remote, NoServerAndSilentServer)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 closed = probe.serverPort();
    probe.close();
    RemoteCopy rc(ui);
    account(rc, closed);
    EXPECT_EQ(rc.login(), RemoteCopy::Login::Failed);
    EXPECT_EQ(rc.lastError(), "Serverul nu raspunde!");
    EXPECT_EQ(ui.messages.back().title, "Transmitere date");
    // The same through the address set in the administration window.
    RemoteCopy configured(ui);
    account(configured, closed);
    configured.server.reset();
    WriteLocalSetting("CONST", "SERVERCOPII", "127.0.0.1:" + QString::number(closed));
    EXPECT_EQ(configured.login(), RemoteCopy::Login::Failed);
    EXPECT_EQ(configured.lastError(), "Serverul nu raspunde!");
    WriteLocalSetting("CONST", "SERVERCOPII", "");

    // Accepts the connection and never says a word: the wait timer ends it.
    QTcpServer silent;
    silent.listen(QHostAddress::LocalHost);
    account(rc, silent.serverPort());
    rc.waitMs = 300;
    EXPECT_EQ(rc.login(), RemoteCopy::Login::Failed);
    EXPECT_EQ(rc.lastError(), "Timp de asteptare prea mare!");

    // Takes the login and the first packet of the upload, then never asks for more: the
    // wait timer, running since the connection, stops the transfer.
    QTcpServer stalling;
    stalling.listen(QHostAddress::LocalHost);
    QObject::connect(&stalling, &QTcpServer::newConnection, [&] {
        auto *ch = new transport::FrameChannel(stalling.nextPendingConnection(), &stalling);
        QObject::connect(ch, &transport::FrameChannel::frameReceived, [ch](const transport::Frame &f) {
            if (f.code == transport::Login)
                ch->sendFrame(transport::LoginAccepted);
            else if (f.code == transport::StreamAnnounce)
                ch->sendFrame(transport::StreamAccepted);
        });
        ch->sendFrame(transport::Identify);
    });
    account(rc, stalling.serverPort());
    const QString big = root.qpath() + "/big.T21";
    writeFile(fs::path(big.toStdString()), std::string(300000, 'b'));
    EXPECT_FALSE(rc.sendArchive(big, "lenta"));
    EXPECT_EQ(rc.lastError(), "Oprire fortata.");
    EXPECT_TRUE(fs::is_empty(fs::path(TempFolder().toStdString()) / "TmpFoc"));

    RemoteCopy none(ui);
    EXPECT_EQ(none.login(), RemoteCopy::Login::Failed);
    EXPECT_EQ(none.lastError(), "Nu este configurat serverul de copii!");
    // An address to look the server up at that does not answer: the line is down.
    WriteLocalSetting("CONST", "ADRESASERVER", "http://127.0.0.1:" + QString::number(closed) + "/adresa.txt");
    EXPECT_EQ(none.login(), RemoteCopy::Login::Failed);
    EXPECT_EQ(none.lastError(), "Nu aveti internet!");
}

TEST_F(Remote, WrongPasswordFailsEveryOperationAndTheNewPasswordIsUsed)
{
    Server server(storage.qpath());
    RemoteCopy rc(ui);
    account(rc, server.port);
    rc.login();
    ASSERT_EQ(rc.confirm(server.code()), RemoteCopy::Login::Ready);
    const QString archive = root.qpath() + "/a.T21";
    test::writeSaveArchive(archive, "archive");
    ASSERT_TRUE(rc.sendArchive(archive, "prima"));
    auto list = rc.listCopies();
    ASSERT_TRUE(list && list->size() == 1);
    const QString id = list->at(0).id;

    // "/PASS NO" ends the send, the delete and the password change with its message.
    RemoteCopy wrong(ui);
    account(wrong, server.port);
    wrong.password = "ALTA";
    ui.messages.clear();
    EXPECT_FALSE(wrong.sendArchive(archive, "a doua"));
    EXPECT_EQ(ui.lastMessage(), "\nParola este incorecta!");
    EXPECT_FALSE(wrong.deleteCopy(id));
    EXPECT_EQ(ui.lastMessage(), "\nParola este incorecta!");
    EXPECT_FALSE(wrong.changePassword("NOUA"));
    EXPECT_EQ(wrong.password, "ALTA");
    for (const auto &m : ui.messages) {
        EXPECT_FALSE(m.text.contains("ALTA")) << m.text.toStdString();
        EXPECT_FALSE(m.text.contains("PAROLA1")) << m.text.toStdString();
    }

    // Typed line breaks stay inside the one command line they were typed into.
    ui.textAnswers = {"nota\r\n/DEL " + id};
    writeFile(fs::path(DataFolder().toStdString()) / "Cereri.dbf", "tabel");
    ASSERT_TRUE(rc.sendCopy());
    ASSERT_TRUE(rc.changePassword("NOUA\n/DEL " + id));
    EXPECT_EQ(rc.password, "NOUA /DEL " + id);
    list = rc.listCopies(); // logs in with the new password
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2);
    EXPECT_EQ(list->at(1).note, "nota /DEL " + id);
    RemoteCopy old(ui);
    account(old, server.port);
    EXPECT_EQ(old.login(), RemoteCopy::Login::WrongPassword);
}

TEST_F(Remote, RememberedAccountIsPrivateAndForgottenWhenUnticked)
{
    RememberAccount(true, "ana@primarie.ro", "PAROLA1");
    EXPECT_EQ(fs::status(LocalSettingsFile().toStdString()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    QString email, password;
    ASSERT_TRUE(RememberedAccount(email, password));
    EXPECT_EQ(password, "PAROLA1");
    RememberAccount(false, "ana@primarie.ro", "PAROLA1");
    EXPECT_FALSE(RememberedAccount(email, password));
    EXPECT_TRUE(ReadLocalSetting("CONST", "EM").isEmpty());
    EXPECT_TRUE(ReadLocalSetting("CONST", "PS").isEmpty());
    EXPECT_FALSE(
        QString::fromStdString(readFile(LocalSettingsFile().toStdString())).contains(encodeAccount("PAROLA1")));
}

TEST_F(Remote, RestoreIsRefusedBeforeAnyExchangeOnAnOpenedSaveOrWithoutThePassword)
{
    RemoteCopy rc(ui);
    Context().openedSave = root.qpath() + "/deschis.T21";
    EXPECT_FALSE(rc.restoreCopy("1"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Incarcare date");
    Context().openedSave.clear();
    SetReadOnlyAccess(true);
    EXPECT_FALSE(rc.restoreAsked("1"));
    EXPECT_FALSE(rc.deleteAsked("1"));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, "Nu aveti dreptul sa modificati datele!");
    SetReadOnlyAccess(false);
    // An identifier that is not a number never reaches the server.
    EXPECT_FALSE(rc.deleteCopy("../1"));
    EXPECT_TRUE(rc.fetchCopy("1 /DEL 2").isEmpty());
    EXPECT_EQ(ui.messages.size(), 3u);
}

// The wait of an exchange is on silence, not on the whole transfer: an upload through a
// slow line that takes several times the wait succeeds, and the progress follows the
// bytes the server holds; a line on which nothing moves ends the exchange after the wait,
// even while the program's own pings still go out.
TEST_F(Remote, SlowUploadSucceedsAndSilentLineIsStopped)
{
    Server server(storage.qpath());
    RemoteCopy rc(ui);
    account(rc, server.port);
    rc.login();
    ASSERT_EQ(rc.confirm(server.code()), RemoteCopy::Login::Ready);

    ThrottledRelay relay(server.port, 400 * 1024);
    account(rc, relay.port());
    rc.waitMs = 2500;
    rc.maxPing = 200;
    const QString archive = root.qpath() + "/lent.T21";
    test::writeSaveArchive(archive, randomBytes(2 * 1024 * 1024)); // about 5 s at 400 KB/s
    qint64 shown = 0, range = 0;
    bool behind = true;
    QObject::connect(&rc, &RemoteCopy::progressRange, [&](qint64 m) { range = m; });
    QObject::connect(&rc, &RemoteCopy::progressValue, [&](qint64 v) {
        if (range > 1024 * 1024 && v <= range)
            behind = behind && v <= relay.forwarded; // never more than has passed the line
        shown = std::max(shown, v);
    });
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(rc.sendArchive(archive, "linie lenta")) << rc.lastError().toStdString();
    EXPECT_GT(took.elapsed(), rc.waitMs);
    EXPECT_TRUE(behind);
    EXPECT_GE(shown, QFileInfo(archive).size());
    auto list = rc.listCopies();
    ASSERT_TRUE(list && list->size() == 1);

    // The relay stops moving bytes in the middle of the upload.
    QObject::connect(&rc, &RemoteCopy::progressValue, [&](qint64 v) {
        if (v > 512 * 1024)
            relay.stalled = true;
    });
    ui.messages.clear();
    EXPECT_FALSE(rc.sendArchive(archive, "linie oprita"));
    EXPECT_EQ(rc.lastError(), "Oprire fortata.");
    EXPECT_EQ(ui.lastMessage(), "\nOprire fortata.");
    relay.stalled = false;
    list = rc.listCopies();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 1);
}

// Every refusal of the server fails the operation, with the server's words as an error:
// an account whose address is not confirmed, and a file that is not a save archive.
TEST_F(Remote, RefusalsAreErrors)
{
    Server server(storage.qpath());
    RemoteCopy rc(ui);
    account(rc, server.port);
    ASSERT_EQ(rc.login(), RemoteCopy::Login::NeedsConfirmation);
    const QString archive = root.qpath() + "/a.T21";
    test::writeSaveArchive(archive, "tabel");
    ui.messages.clear();
    EXPECT_FALSE(rc.sendArchive(archive, "neconfirmat"));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.front().text, "\nAdresa de e-mail nu este inca confirmata.");
    EXPECT_EQ(ui.messages.front().kind, MessageKind::Error);
    EXPECT_FALSE(rc.listCopies());

    ASSERT_EQ(rc.confirm(server.code()), RemoteCopy::Login::Ready);
    const QString junk = root.qpath() + "/junk.T21";
    writeFile(fs::path(junk.toStdString()), randomBytes(100000).toStdString());
    ui.messages.clear();
    EXPECT_FALSE(rc.sendArchive(junk, "nu e arhiva"));
    EXPECT_EQ(ui.lastMessage(), "\nFisierul trimis nu este o salvare Foc - aris.");
    EXPECT_EQ(rc.listCopies()->size(), 0);
    // The window's button says the copy was not made, and does not say "Terminat.".
    QString last;
    QObject::connect(&rc, &RemoteCopy::progressText, [&](const QString &t) { last = t; });
    ui.messages.clear();
    EXPECT_FALSE(rc.sendCopy(junk));
    EXPECT_NE(last, "Terminat.");
    EXPECT_EQ(ui.lastMessage(), "\nSalvarea nu s-a facut!");
}
