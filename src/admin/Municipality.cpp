// The municipality's identity, the county list, the fiscal-code check, the paragraph
// letter and the check of the settings needed by lists and reports.
#include "admin/Municipality.h"

#include "core/Context.h"
#include "core/Settings.h"

namespace focaris {
namespace {

const char *const kSection = "SETARI";

const QStringList &countyAbbreviations()
{
    static const QStringList list = {"AB", "AR", "AG", "BC", "BH", "BN", "BT", "BV", "BR", "BZ", "CS", "CL",
                                     "CJ", "CT", "CV", "DB", "DJ", "GL", "GR", "GJ", "HR", "HD", "IL", "II",
                                     "IF", "MM", "MH", "MS", "NT", "OT", "PH", "SM", "SJ", "SB", "SV", "TR",
                                     "TM", "TL", "VS", "VL", "VN", "B",  "B",  "B",  "B",  "B",  "B",  "B"};
    return list;
}

} // namespace

const QStringList &UatKinds()
{
    static const QStringList list = {"U.A.T.", "Comuna", "Primaria", "Orasul", "Municipiul"};
    return list;
}

const QStringList &LocalityKinds()
{
    static const QStringList list = {"COMUNA", "ORASUL", "MUNICIPIUL"};
    return list;
}

const QStringList &Counties()
{
    static const QStringList list = {
        "ALBA",     "ARAD",      "ARGES",     "BACAU",     "BIHOR",         "BISTRITA-NASAUD",
        "BOTOSANI", "BRASOV",    "BRAILA",    "BUZAU",     "CARAS-SEVERIN", "CALARASI",
        "CLUJ",     "CONSTANTA", "COVASNA",   "DAMBOVITA", "DOLJ",          "GALATI",
        "GIURGIU",  "GORJ",      "HARGHITA",  "HUNEDOARA", "IALOMITA",      "IASI",
        "ILFOV",    "MARAMURES", "MEHEDINTI", "MURES",     "NEAMT",         "OLT",
        "PRAHOVA",  "SATU-MARE", "SALAJ",     "SIBIU",     "SUCEAVA",       "TELEORMAN",
        "TIMIS",    "TULCEA",    "VASLUI",    "VALCEA",    "VRANCEA",       "BUCURESTI",
        "SECTOR 1", "SECTOR 2",  "SECTOR 3",  "SECTOR 4",  "SECTOR 5",      "SECTOR 6"};
    return list;
}

int CountyPosition(const QString &county)
{
    return int(Counties().indexOf(county.toUpper())) + 1;
}

QString JudAbr(const QString &county)
{
    const int pos = CountyPosition(county);
    return pos > 0 ? countyAbbreviations()[pos - 1] : QString();
}

QString DerivedCountyCode(const QString &county)
{
    const int pos = CountyPosition(county);
    return pos > 0 ? QStringLiteral("%1").arg(pos, 2, 10, QLatin1Char('0')) : QString();
}

Municipality LoadMunicipality()
{
    const QString file = SharedSettingsFile();
    auto read = [&](const char *key) { return ReadSettingFrom(file, kSection, key); };
    Municipality m;
    if (const QString uat = read("UAT"); UatKinds().contains(uat))
        m.uat = uat;
    m.primaria = read("PRIMARIA");
    m.sirues = read("SIRUES");
    m.codJud = read("CODJUD");
    m.primar = read("PRIMAR");
    m.viceprimar = read("VICEPRIMAR");
    m.contabil = read("CONTABIL");
    m.intocmit = read("INTOCMIT");
    m.director = read("DIRECTOR");
    if (HasSettingIn(file, kSection, "JUDET")) {
        const QString county = read("JUDET").toUpper();
        m.judet = Counties().contains(county) ? county : QString();
    }
    const auto tip = Amount::parse(read("TIPLOC").toStdString());
    m.tipLoc = tip ? int(tip->truncated()) : 0;
    return m;
}

void SaveMunicipality(const Municipality &m)
{
    WriteSetting(kSection, "UAT", m.uat);
    WriteSetting(kSection, "PRIMARIA", m.primaria);
    WriteSetting(kSection, "SIRUES", m.sirues);
    WriteSetting(kSection, "JUDET", m.judet);
    WriteSetting(kSection, "CODJUD", m.codJud);
    WriteSetting(kSection, "PRIMAR", m.primar);
    WriteSetting(kSection, "VICEPRIMAR", m.viceprimar);
    WriteSetting(kSection, "CONTABIL", m.contabil);
    WriteSetting(kSection, "INTOCMIT", m.intocmit);
    WriteSetting(kSection, "DIRECTOR", m.director);
    WriteSetting(kSection, "TIPLOC", QString::number(m.tipLoc));
}

bool CheckFiscalCode(const QString &code)
{
    QString s = code.toUpper();
    s.remove(' ');
    if (s.size() < 3)
        return false;
    qsizetype first = 0;
    while (first < s.size() && !s[first].isDigit())
        ++first;
    s = s.mid(first);
    for (QChar c : s)
        if (c < '0' || c > '9')
            return false;
    if (s.size() < 3 || s.size() > 10)
        return false;
    s = s.rightJustified(10, '0');
    static const int weights[9] = {7, 5, 3, 2, 1, 7, 5, 3, 2};
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (s[i].unicode() - '0') * weights[i];
    int r = sum * 10 % 11;
    if (r == 10)
        r = 0;
    return s[9].unicode() - '0' == r;
}

QString CompensationLetter(int percent, const AidParameters &params)
{
    for (int k = 1; k <= 11; ++k)
        if (params.cu[k - 1] == Amount(percent))
            return QString(QChar('a' + k - 1));
    return QStringLiteral("j");
}

QString SettingsReady(const Municipality &m, const QString &workingMonth)
{
    if (m.primaria.isEmpty())
        return QStringLiteral("\rCompletati la Administrare denumirea UAT!");
    if (CountyPosition(m.judet) == 0)
        return QStringLiteral("\rAlegeti la Administrare Judetul!");
    if (m.sirues.isEmpty())
        return QStringLiteral("\rCompletati la Administrare Codul Fiscal");
    if (workingMonth.isEmpty())
        return QStringLiteral("\rAlegeti mai intai luna de la butonul Perioada!");
    return {};
}

bool SettingsReady(Ui &ui)
{
    const QString problem = SettingsReady(LoadMunicipality(), WorkingMonth());
    if (problem.isEmpty())
        return true;
    ui.message(QStringLiteral("Raport AJPIS"), problem, MessageKind::Error, MessageButton::OK);
    return false;
}

} // namespace focaris
