// Loading, storing and checking the administration window's values.
#include "admin/AdminSettings.h"

#include "admin/AidParameters.h"
#include "core/Formats.h"
#include "core/Settings.h"
#include "core/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace focaris {
namespace {

const QString kSection = QStringLiteral("SETARI");

QString text(Amount a)
{
    return FormatNumber(a);
}

// A stored number, or nothing when the key is absent or holds no number.
std::optional<Amount> storedNumber(const QString &key)
{
    const QString raw = ReadSetting(kSection, key).trimmed();
    if (raw.isEmpty())
        return std::nullopt;
    return Amount::parse(raw.toStdString());
}

} // namespace

AdminForm::AdminForm()
{
    const AidParameters defaults;
    for (int i = 0; i < 11; ++i) {
        lim[i] = text(defaults.lim[i]);
        cu[i] = text(defaults.cu[i]);
    }
    for (int i = 0; i < 4; ++i)
        cl[i] = text(defaults.cl[i]);
    caleServer = caleSalvari = QStringLiteral("-");
}

QString DefaultSaveFolder()
{
    QStringList roots;
    const QByteArray env = qgetenv("FOCARIS_SAVE_ROOTS");
    if (!env.isNull())
        roots = QString::fromLocal8Bit(env).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    else
        roots << QDir::homePath();
    for (const QString &root : roots) {
        const QString folder = QDir::cleanPath(root + QStringLiteral("/Salvari_Date"));
        if (QFileInfo(folder).isDir() || (QFileInfo(root).isDir() && QDir().mkpath(folder)))
            return folder;
    }
    return {};
}

void LoadFolderLabels(AdminForm &form)
{
    QString saves = ReadMachineSetting(QStringLiteral("CALESALVARI"));
    if (saves.trimmed().isEmpty()) {
        saves = DefaultSaveFolder();
        if (saves.isEmpty())
            saves = QStringLiteral("-");
        else
            WriteMachineSetting(QStringLiteral("CALESALVARI"), saves);
    }
    form.caleSalvari = saves;
    const QString server = ReadMachineSetting(QStringLiteral("SERVER"));
    form.caleServer = server.trimmed().isEmpty() ? QStringLiteral("-") : server;
    form.serverCopii = ReadLocalSetting(QStringLiteral("CONST"), QStringLiteral("SERVERCOPII")).trimmed();
}

bool PlausibleServerAddress(const QString &text)
{
    static const QRegularExpression address(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]{0,250}[A-Za-z0-9])?(:([0-9]{1,5}))?$"));
    const auto m = address.match(text.trimmed());
    if (text.trimmed().isEmpty())
        return true;
    if (!m.hasMatch())
        return false;
    return m.captured(3).isEmpty() || (m.captured(3).toUInt() >= 1 && m.captured(3).toUInt() <= 65535);
}

void LoadAdminSettings(AdminForm &form)
{
    LoadFolderLabels(form);
    form.identity = LoadMunicipality();
    for (int n = 1; n <= 11; ++n) {
        const QString lim = ReadSetting(kSection, QStringLiteral("Lim%1").arg(n));
        if (!lim.isEmpty())
            form.lim[n - 1] = lim;
        const QString cu = ReadSetting(kSection, QStringLiteral("Cu%1").arg(n));
        if (!cu.isEmpty())
            form.cu[n - 1] = cu;
    }
    const std::pair<const char *, int *> whole[] = {
        {"IndL", &form.indL}, {"IndG", &form.indG}, {"IndT", &form.indT}, {"IndE", &form.indE}, {"IndE2", &form.indE2}};
    for (const auto &[key, field] : whole)
        if (auto v = storedNumber(QString::fromLatin1(key)))
            *field = int(v->truncated());
    for (int n = 1; n <= 4; ++n)
        if (auto v = storedNumber(QStringLiteral("CL%1").arg(n)))
            form.cl[n - 1] = FormatNumber(*v);
}

void SaveAdminSettings(const AdminForm &form)
{
    SaveMunicipality(form.identity);
    AidParameters params;
    for (int i = 0; i < 11; ++i) {
        params.lim[i] = ParseNumber(form.lim[i]);
        params.cu[i] = ParseNumber(form.cu[i]);
    }
    params.indL = form.indL;
    params.indG = form.indG;
    params.indT = form.indT;
    params.indE = form.indE;
    params.indE2 = form.indE2;
    for (int i = 0; i < 4; ++i)
        params.cl[i] = ParseNumber(form.cl[i]);
    SaveAidParameters(params);
}

AdminCheck StoreAdminForm(AdminForm &form)
{
    Municipality &m = form.identity;
    m.primaria = CleanText(m.primaria);
    if (m.primaria.isEmpty())
        return {AdminField::Localit, QStringLiteral("Nu ati completat numele UAT!")};
    if (CountyPosition(m.judet) == 0)
        return {AdminField::Judet, QStringLiteral("Nu ati ales Judetul!")};
    m.sirues = CleanText(m.sirues);
    if (m.sirues.isEmpty())
        return {AdminField::CodFiscal, QStringLiteral("Nu ati scris Codul Fiscal!")};
    if (!CheckFiscalCode(m.sirues))
        return {AdminField::CodFiscal, QStringLiteral("Cod Fiscal incorect!")};
    m.codJud = CleanText(m.codJud);
    if (m.codJud.isEmpty())
        m.codJud = DerivedCountyCode(m.judet);
    form.serverCopii = form.serverCopii.trimmed();
    if (!PlausibleServerAddress(form.serverCopii))
        return {AdminField::ServerCopii, QStringLiteral("Adresa serverului de copii este incorecta!")};
    SaveAdminSettings(form);
    // The installation's own setting: where this computer sends its remote copies.
    if (form.serverCopii != ReadLocalSetting(QStringLiteral("CONST"), QStringLiteral("SERVERCOPII")).trimmed())
        WriteLocalSetting(QStringLiteral("CONST"), QStringLiteral("SERVERCOPII"), form.serverCopii);
    return {};
}

} // namespace focaris
