// The suggestion form's operation: the sender's fields checked and remembered on this
// computer, and the suggestion sent as one HTTP GET to the address kept in "Local.set".
// The reply counts as delivered only when it holds the word "SUCCES" on its own.
#pragma once

#include "core/Ui.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace focaris::shell {

struct Suggestion {
    QString name;     // who writes
    QString phone;    // checked with CheckPhone
    QString email;    // checked with CheckEmail
    QString locality; // the commune or town of the office
    QString text;     // the suggestion itself
};

// A refused field: the message of its hint and the field's name ("Nume", "Telefon",
// "Mail", "Comuna", "Sugestie").
struct SuggestionRefusal {
    QString message;
    QString field;
};

// The checks of the form, in the order of its fields; nothing when every field is right.
std::optional<SuggestionRefusal> CheckSuggestion(const Suggestion &s);

// The sender's fields remembered in the machine settings ("SugestieNume", "Telefon_fax",
// "Mail", "SugestieComuna"); the text is never remembered.
Suggestion RememberedSender();
void RememberSender(const Suggestion &s);

// The address of the suggestion service: "Local.set", section "SUGESTII", key "ADRESA";
// empty by default.
QString SuggestionAddress();

// The request: the address with the five values added as query items, each one
// percent-encoded (UTF-8), whatever the address already holds.
QUrl SuggestionUrl(const QString &address, const Suggestion &s);

// True when the reply holds "SUCCES" as a word of its own ("INSUCCES" is a failure).
bool SuggestionDelivered(const QByteArray &reply);

// Fetches a URL: true with the reply's body, false on a network failure (`error` says why).
using HttpGet = std::function<bool(const QUrl &url, QByteArray &body, QString &error)>;
// The desktop's fetch: QNetworkAccessManager in a local event loop, so that the window
// keeps painting, with a 30-second transfer timeout.
HttpGet NetworkGet();

enum class SuggestionResult { Sent, Refused, NoAddress, Failed };

// The button "&Trimite": checks the fields (a refusal goes to the field's hint through the
// returned refusal, nothing is sent), remembers the sender, sends the request and tells
// the person how it went. `refusal` is filled when the result is Refused.
SuggestionResult SendSuggestion(Ui &ui, const Suggestion &s, const HttpGet &get, SuggestionRefusal *refusal = nullptr);

} // namespace focaris::shell
