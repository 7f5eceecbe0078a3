// The fixed lists of the editor, their codes, the value of a numeric field and the
// column widths that limit the text fields.
#include "applications/EditorFields.h"

#include "core/TextRules.h"

#include <QHash>

namespace focaris {

QString SupplementLetter(SupplementKind kind)
{
    return kind == SupplementKind::Gas ? QStringLiteral("G") : QStringLiteral("E");
}

const QStringList &CivilStatusTexts()
{
    static const QStringList l{"Casatorit /a",         "Necasatorit /a ", "Uniune consensuala ",
                               "Despartit /a in fapt", "Vaduv /a",        "Divortat /a"};
    return l;
}
const QStringList &CivilStatusCodes()
{
    static const QStringList l{"C", "N", "UC", "DF", "V", "D"};
    return l;
}
const QStringList &SchoolingTexts()
{
    static const QStringList l{"Fara studii ", "Studii generale", "Studii medii", "Studii superioare", "Calificari"};
    return l;
}
const QStringList &SchoolingCodes()
{
    static const QStringList l{"FS", "G", "M", "S", "C"};
    return l;
}
const QStringList &ProfessionalSituations()
{
    static const QStringList l{"salariat",
                               "pensionar",
                               "somer",
                               "student",
                               "independent",
                               "lucrator agricol",
                               "lucrator ocazional",
                               "elev",
                               "indemnizatie handicap",
                               "fara venituri"};
    return l;
}
const QStringList &MemberRoles()
{
    static const QStringList l{"beneficiar", "partener", "adult", "copil"};
    return l;
}
const QStringList &StatusTexts()
{
    static const QStringList l{"APROBAT", "RESPINS"};
    return l;
}

QString CodeOfText(const QStringList &texts, const QStringList &codes, const QString &text)
{
    const qsizetype i = texts.indexOf(text);
    return i < 0 ? QString() : codes.value(i);
}

QString TextOfCode(const QStringList &texts, const QStringList &codes, const QString &code)
{
    const qsizetype i = codes.indexOf(code.trimmed());
    return i < 0 ? QString() : texts.value(i);
}

QString CleanField(const QString &text)
{
    return CleanText(text).trimmed();
}

Amount FieldNumber(const QString &text)
{
    QString t = text.trimmed();
    if (t.startsWith('.'))
        t.prepend('0');
    // Only plain decimal numbers: the field never holds an exponent or a sign, and a
    // text that does not read this way counts as 0.
    for (QChar c : t)
        if (!(c.isDigit() || c == '.'))
            return Amount();
    return Amount::parseOrZero(t.toStdString());
}

qint64 FieldWhole(const QString &text)
{
    return FieldNumber(text).truncated();
}

int ColumnWidth(const QString &fieldName)
{
    // The editor's fields and the columns they fill; the member and supplement dialogs'
    // fields by their own names.
    static const QHash<QString, int> widths{
        {"CNPSol", 13},   {"SubSemn", 32},   {"Localit", 60}, {"Adresa", 60},   {"TitT", 32},   {"CNPT", 13},
        {"Furnizor", 60}, {"CodClient", 20}, {"NrCont", 20},  {"Asoc", 60},     {"MotivC", 80}, {"SitProf", 24},
        {"Titular", 32},  {"CNP", 13},       {"POD", 20},     {"Calitate", 12},
    };
    return widths.value(fieldName, 0);
}

} // namespace focaris
