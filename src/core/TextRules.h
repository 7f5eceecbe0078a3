// Rules for typed text: the cleaning every name, address or code goes through before it is
// stored or put into a statement, and the checks of phone numbers and e-mail addresses.
#pragma once

#include <QString>

namespace focaris {

// Trims leading and trailing blanks (and control characters), turns every double quote
// into a blank, then reduces every run of blanks to one. The comma-below letters Ș ș Ț ț
// that Linux keyboards type become the cedilla letters Ş ş Ţ ţ: Windows-1250, in which
// the tables and settings are kept, has only these, so a typed name or supplier must be
// written with them to match what the tables hold (in a statement's comparison as well
// as once stored).
QString CleanText(const QString &text);

// The text with the comma-below letters Ș ș Ț ț replaced by the cedilla letters Ş ş Ţ ţ,
// and nothing else changed: for a typed text compared with names read from the tables.
QString WithCedillaLetters(const QString &text);

// The text with the Romanian letters folded to their plain letters (Ş ş Ș ș to S s, Ţ ţ Ț ț
// to T t, Ă ă Â â to A a, Î î to I i), case kept: for searches that find a name however
// its letters were typed or stored.
QString WithoutDiacritics(const QString &text);

// True when the digits of the text (everything else dropped) are exactly 10 and begin
// with 07, 03, 02 or 01.
bool CheckPhone(const QString &text);
// True when the at-sign is at position 4 or later with at least 5 characters after it,
// both parts hold only A-Z a-z 0-9 - . _, and exactly 2 or 3 characters follow the first
// dot of the domain.
bool CheckEmail(const QString &text);

} // namespace focaris
