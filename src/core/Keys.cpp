// Key counters.
#include "core/Keys.h"

#include "core/DataStore.h"
#include "core/Settings.h"

#include <cmath>

namespace focaris {

namespace {
const char *kSection = "INDEX";
}

Amount PeekKey(const QString &counter) {
    const Amount v = ReadSettingNumber(kSection, counter);
    return v == Amount(0) ? Amount(1) : v;
}

Amount NextKey(const QString &counter) {
    const Amount v = PeekKey(counter);
    WriteSettingNumber(kSection, counter, v + Amount(1));
    return v;
}

Amount TakeKeys(const QString &counter, qint64 count) {
    const Amount v = PeekKey(counter);
    if (count > 0)
        WriteSettingNumber(kSection, counter, v + Amount::fromWhole(count));
    return v;
}

QString NextKeyText(const QString &counter) { return QString::number(NextKey(counter).truncated()); }
QString PeekKeyText(const QString &counter) { return QString::number(PeekKey(counter).truncated()); }

void SetKey(const QString &counter, Amount value) { WriteSettingNumber(kSection, counter, value); }

qint64 MaxKey(const QString &tablePath, const QString &column) {
    const sql::ResultSet r = QuerySql("SELECT MAX(" + column + ") AS CODEX_ FROM " + Quoted(tablePath));
    if (r.empty())
        return 0;
    const sql::Value &v = r.value(0, "CODEX_");
    if (v.isNull())
        return 0;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d > 2147483647.0 || d < -2147483648.0)
        return 0;
    return static_cast<qint64>(d);
}

void ResetKeys() {
    SetKey("NRCRT", Amount::fromWhole(MaxKey(TablePath("Cereri.dbf"), "NRCRT") + 1));
    SetKey("NROM", Amount::fromWhole(MaxKey(TablePath("Oameni.dbf"), "NROM") + 1));
    SetKey("IDLOG", Amount::fromWhole(MaxKey(TablePath("Log.dbf"), "IDLOG") + 1));
}

} // namespace focaris
