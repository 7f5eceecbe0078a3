// Loading and storing the aid parameters of section "SETARI".
#include "admin/AidParameters.h"

#include "core/Settings.h"

#include <optional>

namespace focaris {
namespace {

const char *const kSection = "SETARI";

AidParameters load(const QString &file)
{
    AidParameters p;
    auto text = [&](const QString &key) -> std::optional<QString> {
        if (!HasSettingIn(file, kSection, key))
            return std::nullopt;
        return ReadSettingFrom(file, kSection, key);
    };
    // Limits and percentages: a key present and not empty replaces the value; a text that
    // is not a number counts as 0, as a numeric field that does not parse.
    for (int n = 1; n <= 11; ++n) {
        if (auto v = text("Lim" + QString::number(n)); v && !v->isEmpty())
            p.lim[n - 1] = Amount::parseOrZero(v->toStdString());
        if (auto v = text("Cu" + QString::number(n)); v && !v->isEmpty())
            p.cu[n - 1] = Amount::parseOrZero(v->toStdString());
    }
    // Supplements (whole lei) and consumptions: only a number replaces the default.
    auto number = [&](const QString &key) -> std::optional<Amount> {
        auto v = text(key);
        return v ? Amount::parse(v->toStdString()) : std::nullopt;
    };
    const std::pair<const char *, Amount *> supplements[] = {
        {"IndL", &p.indL}, {"IndG", &p.indG}, {"IndT", &p.indT}, {"IndE", &p.indE}, {"IndE2", &p.indE2}};
    for (auto [key, field] : supplements)
        if (auto v = number(key))
            *field = Amount::fromWhole(v->truncated());
    for (int n = 1; n <= 4; ++n)
        if (auto v = number("CL" + QString::number(n)))
            p.cl[n - 1] = *v;
    return p;
}

} // namespace

AidParameters LoadAidParameters()
{
    return load(SharedSettingsFile());
}

AidParameters LoadAidParametersFrom(const QString &settingsFile)
{
    return load(settingsFile);
}

void SaveAidParameters(const AidParameters &p)
{
    for (int n = 1; n <= 11; ++n) {
        WriteSettingNumber(kSection, "Lim" + QString::number(n), p.lim[n - 1]);
        WriteSettingNumber(kSection, "Cu" + QString::number(n), p.cu[n - 1]);
    }
    WriteSettingNumber(kSection, "IndL", p.indL);
    WriteSettingNumber(kSection, "IndG", p.indG);
    WriteSettingNumber(kSection, "IndT", p.indT);
    WriteSettingNumber(kSection, "IndE", p.indE);
    WriteSettingNumber(kSection, "IndE2", p.indE2);
    for (int n = 1; n <= 4; ++n)
        WriteSettingNumber(kSection, "CL" + QString::number(n), p.cl[n - 1]);
}

} // namespace focaris
