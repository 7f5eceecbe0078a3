// The value rules shared by the documents of the month.
#include "documents/DocumentValues.h"
#include "documents/PrintedValues.h"

#include "admin/Municipality.h"
#include "core/Amount.h"

#include <cmath>

namespace focaris::documents {

Office LoadOffice()
{
    const Municipality m = LoadMunicipality();
    Office o;
    o.judet = m.judet;
    o.localit = m.primaria;
    o.primar = m.primar;
    o.secretar = m.viceprimar;
    o.contabil = m.contabil;
    o.intocmit = m.intocmit;
    o.director = m.director;
    o.codJud = m.codJud;
    o.codFiscal = m.sirues;
    static const char *articles[] = {"comunei ", "orasului ", "municipiului "};
    if (m.tipLoc >= 0 && m.tipLoc < LocalityKinds().size()) {
        o.tipLoc = LocalityKinds().at(m.tipLoc);
        o.locArt = QString::fromLatin1(articles[m.tipLoc]);
    }
    o.params = LoadAidParameters();
    return o;
}

double NumberOf(const sql::Value &v)
{
    return v.toDouble();
}

// Amounts are stored with at most four decimals, so the nearest amount is exact and the
// rounding of a half is decided on the decimal value, not on its binary approximation.
QString WholeHalfEven(double v)
{
    return QString::fromStdString(Amount::fromDouble(v).rounded(0, Amount::Rounding::HalfEven).toString());
}

double WholePercent(double v)
{
    return Amount::fromDouble(v).rounded(0, Amount::Rounding::HalfEven).toDouble();
}

QString WholeTruncated(double v)
{
    return QString::number(Amount::fromDouble(v).truncated());
}

QString Shortest(double v)
{
    return QString::fromStdString(Amount::fromDouble(v).toString());
}

QString TwoDecimals(double v)
{
    const Amount a = Amount::fromDouble(v).rounded(2, Amount::Rounding::HalfEven);
    const std::int64_t cents = a.units() / 100;
    const std::int64_t whole = cents / 100, rest = std::llabs(cents % 100);
    QString sign = cents < 0 && whole == 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(whole) + QLatin1Char('.') + QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
}

QDate DateOf(const sql::Value &v)
{
    if (v.kind == sql::Value::Date)
        return QDate(1970, 1, 1).addDays(v.date);
    if (v.kind == sql::Value::Text) {
        std::int32_t days = 0;
        if (sql::parseDate(v.text, days))
            return QDate(1970, 1, 1).addDays(days);
    }
    return {};
}

QString DateText(const sql::Value &v)
{
    const QDate d = DateOf(v);
    return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString TextOf(const sql::Value &v)
{
    if (v.isNull())
        return {};
    QString t = QString::fromStdString(v.toString());
    while (!t.isEmpty() && t.back() == QLatin1Char(' '))
        t.chop(1);
    return t;
}

QString FormOfAddress(const QString &cnp)
{
    const bool man = cnp.startsWith(QLatin1Char('1')) || cnp.startsWith(QLatin1Char('5'));
    return man ? QStringLiteral("domnului") : QStringLiteral("doamnei");
}

QString NominativeFormOfAddress(const QString &cnp)
{
    return FormOfAddress(cnp) == QLatin1String("domnului") ? QStringLiteral("domnul") : QStringLiteral("doamna");
}

QString Domicile(const QString &adresa, const QString &localit)
{
    QString d = adresa.trimmed();
    if (!localit.trimmed().isEmpty())
        d += QStringLiteral(", ") + localit.trimmed();
    return d;
}

std::pair<QString, QString> SplitName(const QString &name)
{
    const int blank = name.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {name, QString()};
    return {name.left(blank), name.mid(blank + 1)};
}

QString Mark(double amount)
{
    return amount > 0 ? QStringLiteral("X") : QStringLiteral(" ");
}

QString DispositionNumber(const QString &stored)
{
    const QString t = stored.trimmed();
    return t == QLatin1String("0") ? QString() : t;
}

QString WholeNumberText(const QString &typed)
{
    const auto a = Amount::parse(typed.trimmed().toStdString());
    return QString::number(a ? a->truncated() : 0);
}

QChar PlainInitial(const QString &name)
{
    if (name.isEmpty())
        return {};
    const char16_t c = name.at(0).unicode();
    switch (c) {
    case u'Ă':
    case u'ă':
    case u'Â':
    case u'â': return QLatin1Char('A');
    case u'Î':
    case u'î': return QLatin1Char('I');
    case u'Ş':
    case u'ş':
    case u'Ș':
    case u'ș': return QLatin1Char('S');
    case u'Ţ':
    case u'ţ':
    case u'Ț':
    case u'ț': return QLatin1Char('T');
    default: break;
    }
    return name.at(0).toUpper();
}

} // namespace focaris::documents
