// The suggestion form: the checks of its fields, the request as the service receives it,
// and the window used as a person would against a local HTTP server that answers
// "SUCCES" or "INSUCCES".
#include "shell/Suggestion.h"
#include "FakeUi.h"
#include "GuiFixture.h"
#include "core/Settings.h"
#include "gui/shell/SuggestionWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace focaris::test {
namespace {

using shell::Suggestion;

Suggestion good()
{
    return {QStringLiteral("Ana Pop"), QStringLiteral("0265-123456"), QStringLiteral("ana.pop@primarie.ro"),
            QStringLiteral("Sâncraiu de Mureş"), QStringLiteral("Lista sa arate & totalul = 100% #1")};
}

TEST(Suggestion, EachFieldIsCheckedInTurn)
{
    EXPECT_FALSE(shell::CheckSuggestion(good()));
    Suggestion s = good();
    s.name = QStringLiteral("  \"  ");
    EXPECT_EQ(shell::CheckSuggestion(s)->field, QStringLiteral("Nume"));
    s = good();
    s.phone = QStringLiteral("0465123456");
    EXPECT_EQ(shell::CheckSuggestion(s)->field, QStringLiteral("Telefon"));
    s = good();
    s.email = QStringLiteral("ana@ro");
    EXPECT_EQ(shell::CheckSuggestion(s)->field, QStringLiteral("Mail"));
    s = good();
    s.locality.clear();
    EXPECT_EQ(shell::CheckSuggestion(s)->field, QStringLiteral("Comuna"));
    s = good();
    s.text = QStringLiteral(" \n ");
    EXPECT_EQ(shell::CheckSuggestion(s)->field, QStringLiteral("Sugestie"));
}

TEST(Suggestion, EveryValueReachesTheServiceIntact)
{
    const QUrl url = shell::SuggestionUrl(QStringLiteral("http://example.invalid/sugestii.php?cod=7"), good());
    const QString encoded = QString::fromLatin1(url.toEncoded());
    EXPECT_TRUE(encoded.contains(QStringLiteral("cod=7&nume=Ana%20Pop&")));
    EXPECT_TRUE(encoded.contains(QStringLiteral("%26%20totalul%20%3D%20100%25%20%231"))) << encoded.toStdString();
    EXPECT_FALSE(encoded.contains(QLatin1Char('#')));
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("sugestie"), QUrl::FullyDecoded),
              QStringLiteral("Lista sa arate & totalul = 100% #1"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("comuna"), QUrl::FullyDecoded), QStringLiteral("Sâncraiu de Mureş"));
}

TEST(Suggestion, OnlyTheWordSuccesCountsAsDelivered)
{
    EXPECT_TRUE(shell::SuggestionDelivered("SUCCES"));
    EXPECT_TRUE(shell::SuggestionDelivered("<p>Rezultat: SUCCES.</p>\n"));
    EXPECT_FALSE(shell::SuggestionDelivered("INSUCCES"));
    EXPECT_FALSE(shell::SuggestionDelivered("SUCCESUL nu a fost atins"));
    EXPECT_FALSE(shell::SuggestionDelivered(""));
}

// Answers every HTTP request with `body` and keeps the request lines it received.
class TinyHttpServer : public QObject {
public:
    explicit TinyHttpServer(QByteArray body) : body_(std::move(body))
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                buffer_ += socket->readAll();
                if (!buffer_.contains("\r\n\r\n"))
                    return;
                requests.append(QString::fromLatin1(buffer_.left(buffer_.indexOf("\r\n"))));
                buffer_.clear();
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                              QByteArray::number(body_.size()) + "\r\n\r\n" + body_);
                socket->disconnectFromHost();
            });
        });
    }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/sugestie").arg(server_.serverPort()); }
    QStringList requests;

private:
    QTcpServer server_;
    QByteArray body_;
    QByteArray buffer_;
};

class SuggestionWindowTest : public GuiFixture {
protected:
    void type(gui::SuggestionWindow &w, const Suggestion &s)
    {
        for (QLineEdit *f : {w.nameField(), w.phoneField(), w.emailField(), w.localityField()})
            f->clear();
        // Letters beyond ASCII cannot be typed through QTest; they arrive as the text a
        // Romanian keyboard layout would insert.
        const auto typeText = [](QWidget *field, const QString &text) {
            for (const QChar ch : text) {
                if (ch.unicode() < 0x80)
                    QTest::keyClick(field, ch.toLatin1());
                else if (auto *line = qobject_cast<QLineEdit *>(field))
                    line->insert(QString(ch));
                else
                    static_cast<QPlainTextEdit *>(field)->insertPlainText(QString(ch));
            }
        };
        typeText(w.nameField(), s.name);
        typeText(w.phoneField(), s.phone);
        typeText(w.emailField(), s.email);
        typeText(w.localityField(), s.locality);
        typeText(w.textField(), s.text);
    }
};

TEST_F(SuggestionWindowTest, SentWhenTheServiceSaysSuccesAndTheSenderIsRemembered)
{
    TinyHttpServer server("SUCCES");
    WriteLocalSetting(QStringLiteral("SUGESTII"), QStringLiteral("ADRESA"), server.address());
    gui::SuggestionWindow w(ui);
    QTimer::singleShot(0, &w, [&] {
        type(w, good());
        w.sendButton()->click();
    });
    EXPECT_EQ(w.exec(), QDialog::Accepted);
    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_TRUE(server.requests.front().startsWith(QStringLiteral("GET /sugestie?nume=Ana%20Pop&telefon=0265-123456&")))
        << server.requests.front().toStdString();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("\nSugestia a fost trimisa. Va multumim!"));
    EXPECT_EQ(ReadMachineSetting(QStringLiteral("SugestieNume")), QStringLiteral("Ana Pop"));
    EXPECT_EQ(ReadMachineSetting(QStringLiteral("Telefon_fax")), QStringLiteral("0265-123456"));
    EXPECT_EQ(ReadMachineSetting(QStringLiteral("Mail")), QStringLiteral("ana.pop@primarie.ro"));
    EXPECT_EQ(ReadMachineSetting(QStringLiteral("SugestieComuna")), QStringLiteral("Sâncraiu de Mureş"));

    // The next opening offers the remembered sender and an empty text.
    QTimer::singleShot(0, &w, [&] {
        EXPECT_EQ(w.nameField()->text(), QStringLiteral("Ana Pop"));
        EXPECT_EQ(w.localityField()->text(), QStringLiteral("Sâncraiu de Mureş"));
        EXPECT_TRUE(w.textField()->toPlainText().isEmpty());
        w.reject();
    });
    w.exec();
}

TEST_F(SuggestionWindowTest, InsuccesIsAFailureAndTheFormStaysOpenWithTheText)
{
    TinyHttpServer server("INSUCCES");
    WriteLocalSetting(QStringLiteral("SUGESTII"), QStringLiteral("ADRESA"), server.address());
    gui::SuggestionWindow w(ui);
    QTimer::singleShot(0, &w, [&] {
        type(w, good());
        w.sendButton()->click();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.textField()->toPlainText(), good().text);
        w.reject();
    });
    EXPECT_EQ(w.exec(), QDialog::Rejected);
    EXPECT_EQ(server.requests.size(), 1);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
    EXPECT_EQ(ui.lastMessage(), QStringLiteral("\nSugestia nu a putut fi trimisa!"));
}

TEST_F(SuggestionWindowTest, AWrongFieldGetsItsHintAndNothingIsSent)
{
    TinyHttpServer server("SUCCES");
    WriteLocalSetting(QStringLiteral("SUGESTII"), QStringLiteral("ADRESA"), server.address());
    gui::SuggestionWindow w(ui);
    Suggestion s = good();
    s.email = QStringLiteral("ana");
    QTimer::singleShot(0, &w, [&] {
        type(w, s);
        w.sendButton()->click();
        EXPECT_EQ(w.focusWidget(), w.emailField());
        w.reject();
    });
    w.exec();
    EXPECT_TRUE(server.requests.isEmpty());
    ASSERT_EQ(ui.hints.size(), 1);
    EXPECT_EQ(ui.hints.front(), QStringLiteral("Adresa de e-mail gresita!"));
}

TEST_F(SuggestionWindowTest, WithoutAnAddressNothingIsSentAndThePersonIsTold)
{
    gui::SuggestionWindow w(ui);
    bool asked = false;
    w.httpGet = [&](const QUrl &, QByteArray &, QString &) { return asked = true; };
    QTimer::singleShot(0, &w, [&] {
        type(w, good());
        w.sendButton()->click();
        w.reject();
    });
    w.exec();
    EXPECT_FALSE(asked);
    EXPECT_TRUE(ui.lastMessage().contains(QStringLiteral("Nu este configurata adresa")));
}

} // namespace
} // namespace focaris::test
