// Cleaning of typed text and the phone and e-mail checks.
#include "core/TextRules.h"

namespace focaris {

namespace {

QChar cedilla(QChar c)
{
    switch (c.unicode()) {
    case 0x218: return QChar(0x15E); // Ș -> Ş
    case 0x219: return QChar(0x15F); // ș -> ş
    case 0x21A: return QChar(0x162); // Ț -> Ţ
    case 0x21B: return QChar(0x163); // ț -> ţ
    default: return c;
    }
}

} // namespace

QString WithCedillaLetters(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = cedilla(c);
    return out;
}

QString WithoutDiacritics(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        switch (c.unicode()) {
        case 0x15E:
        case 0x218: c = QLatin1Char('S'); break; // Ş Ș
        case 0x15F:
        case 0x219: c = QLatin1Char('s'); break; // ş ș
        case 0x162:
        case 0x21A: c = QLatin1Char('T'); break; // Ţ Ț
        case 0x163:
        case 0x21B: c = QLatin1Char('t'); break; // ţ ț
        case 0x102:
        case 0xC2: c = QLatin1Char('A'); break; // Ă Â
        case 0x103:
        case 0xE2: c = QLatin1Char('a'); break; // ă â
        case 0xCE: c = QLatin1Char('I'); break; // Î
        case 0xEE: c = QLatin1Char('i'); break; // î
        default: break;
        }
    }
    return out;
}

QString CleanText(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from].unicode() <= 32)
        ++from;
    while (to > from && text[to - 1].unicode() <= 32)
        --to;
    QString out;
    out.reserve(to - from);
    for (qsizetype i = from; i < to; ++i) {
        QChar c = text[i] == '"' ? QChar(' ') : cedilla(text[i]);
        if (c == ' ' && !out.isEmpty() && out.back() == ' ')
            continue;
        out += c;
    }
    return out;
}

bool CheckPhone(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits.size() == 10 &&
           (digits.startsWith("07") || digits.startsWith("03") || digits.startsWith("02") || digits.startsWith("01"));
}

bool CheckEmail(const QString &text)
{
    const qsizetype at = text.indexOf('@');
    // The at-sign at position 4 or later (counted from 1) and 5 or more characters after it.
    if (at < 3 || text.size() - at - 1 < 5)
        return false;
    auto allowed = [](const QString &part) {
        for (QChar c : part) {
            bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_';
            if (!ok)
                return false;
        }
        return true;
    };
    const QString local = text.left(at), domain = text.mid(at + 1);
    if (!allowed(local) || !allowed(domain))
        return false;
    const qsizetype dot = domain.indexOf('.');
    if (dot < 0)
        return false;
    const qsizetype tail = domain.size() - dot - 1;
    return tail == 2 || tail == 3;
}

} // namespace focaris
