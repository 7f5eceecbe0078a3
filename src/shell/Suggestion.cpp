// The suggestion form's operation (see Suggestion.h).
#include "shell/Suggestion.h"

#include "core/Settings.h"
#include "core/TextRules.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrlQuery>

namespace focaris::shell {
namespace {

const QString kTitle = QStringLiteral("Condica de sugestii");
const QString kBreak = QStringLiteral("\n");

} // namespace

std::optional<SuggestionRefusal> CheckSuggestion(const Suggestion &s)
{
    if (CleanText(s.name).trimmed().isEmpty())
        return SuggestionRefusal{QStringLiteral("Scrieti numele dumneavoastra!"), QStringLiteral("Nume")};
    if (!CheckPhone(s.phone))
        return SuggestionRefusal{QStringLiteral("Numar de telefon gresit! Scrieti 10 cifre, de exemplu 0265123456."),
                                 QStringLiteral("Telefon")};
    if (!CheckEmail(s.email.trimmed()))
        return SuggestionRefusal{QStringLiteral("Adresa de e-mail gresita!"), QStringLiteral("Mail")};
    if (CleanText(s.locality).trimmed().isEmpty())
        return SuggestionRefusal{QStringLiteral("Scrieti localitatea (comuna, orasul)!"), QStringLiteral("Comuna")};
    if (s.text.trimmed().isEmpty())
        return SuggestionRefusal{QStringLiteral("Scrieti sugestia!"), QStringLiteral("Sugestie")};
    return std::nullopt;
}

Suggestion RememberedSender()
{
    Suggestion s;
    s.name = ReadMachineSetting(QStringLiteral("SugestieNume"));
    s.phone = ReadMachineSetting(QStringLiteral("Telefon_fax"));
    s.email = ReadMachineSetting(QStringLiteral("Mail"));
    s.locality = ReadMachineSetting(QStringLiteral("SugestieComuna"));
    return s;
}

void RememberSender(const Suggestion &s)
{
    WriteMachineSetting(QStringLiteral("SugestieNume"), CleanText(s.name));
    WriteMachineSetting(QStringLiteral("Telefon_fax"), s.phone.trimmed());
    WriteMachineSetting(QStringLiteral("Mail"), s.email.trimmed());
    WriteMachineSetting(QStringLiteral("SugestieComuna"), CleanText(s.locality));
}

QString SuggestionAddress()
{
    return ReadLocalSetting(QStringLiteral("SUGESTII"), QStringLiteral("ADRESA")).trimmed();
}

QUrl SuggestionUrl(const QString &address, const Suggestion &s)
{
    QUrl url(address);
    QUrlQuery query(url);
    // Every value is encoded in full: "&", "=", "+" and "#" typed in a suggestion must
    // reach the service as text, never as the query's own punctuation.
    const auto add = [&query](const char *key, const QString &value) {
        query.addQueryItem(QString::fromLatin1(key), QString::fromLatin1(QUrl::toPercentEncoding(value)));
    };
    add("nume", CleanText(s.name));
    add("telefon", s.phone.trimmed());
    add("mail", s.email.trimmed());
    add("comuna", CleanText(s.locality));
    add("sugestie", s.text.trimmed());
    url.setQuery(query);
    return url;
}

bool SuggestionDelivered(const QByteArray &reply)
{
    static const QRegularExpression word(QStringLiteral("(?<![A-Za-z0-9_])SUCCES(?![A-Za-z0-9_])"));
    return word.match(QString::fromUtf8(reply)).hasMatch();
}

HttpGet NetworkGet()
{
    return [](const QUrl &url, QByteArray &body, QString &error) {
        QNetworkAccessManager manager;
        QNetworkRequest request(url);
        request.setTransferTimeout(30000);
        QNetworkReply *reply = manager.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        const bool ok = reply->error() == QNetworkReply::NoError;
        if (ok)
            body = reply->readAll();
        else
            error = reply->errorString();
        reply->deleteLater();
        return ok;
    };
}

SuggestionResult SendSuggestion(Ui &ui, const Suggestion &s, const HttpGet &get, SuggestionRefusal *refusal)
{
    if (auto refused = CheckSuggestion(s)) {
        if (refusal)
            *refusal = *refused;
        return SuggestionResult::Refused;
    }
    RememberSender(s);
    const QString address = SuggestionAddress();
    if (address.isEmpty()) {
        ui.message(kTitle,
                   kBreak + QStringLiteral("Nu este configurata adresa la care se trimit sugestiile!"
                                           "\nSugestia nu a fost trimisa."),
                   MessageKind::Warning, MessageButton::OK);
        return SuggestionResult::NoAddress;
    }
    QByteArray body;
    QString error;
    ui.progressShow(QStringLiteral("Trimit sugestia..."), 0);
    const bool fetched = get && get(SuggestionUrl(address, s), body, error);
    ui.progressHide();
    if (!fetched || !SuggestionDelivered(body)) {
        QString text = kBreak + QStringLiteral("Sugestia nu a putut fi trimisa!");
        if (!fetched && !error.isEmpty())
            text += QStringLiteral("\n") + error;
        ui.message(kTitle, text, MessageKind::Error, MessageButton::OK);
        return SuggestionResult::Failed;
    }
    ui.message(kTitle, kBreak + QStringLiteral("Sugestia a fost trimisa. Va multumim!"), MessageKind::Information,
               MessageButton::OK);
    return SuggestionResult::Sent;
}

} // namespace focaris::shell
