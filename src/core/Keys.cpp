// Key counters.
#include "core/Keys.h"

#include "core/DataStore.h"
#include "core/Settings.h"

#include <algorithm>
#include <cmath>

namespace focaris {

namespace {
const char *kSection = "INDEX";
}

Amount PeekKey(const QString &counter)
{
    const Amount v = ReadSettingNumber(kSection, counter);
    return v == Amount(0) ? Amount(1) : v;
}

Amount TakeKeys(const QString &counter, qint64 count)
{
    if (count <= 0)
        return PeekKey(counter);
    // Read and increased under the settings file's lock: two computers never get the same
    // key, and a key once given is never given again.
    const Amount v = UpdateSettingNumber(kSection, counter, [count](Amount stored) {
        const Amount first = stored == Amount(0) ? Amount(1) : stored;
        return first + Amount::fromWhole(count);
    });
    return v == Amount(0) ? Amount(1) : v;
}

Amount NextKey(const QString &counter)
{
    return TakeKeys(counter, 1);
}

QString NextKeyText(const QString &counter)
{
    return QString::number(NextKey(counter).truncated());
}
QString PeekKeyText(const QString &counter)
{
    return QString::number(PeekKey(counter).truncated());
}

void SetKey(const QString &counter, Amount value)
{
    WriteSettingNumber(kSection, counter, value);
}

qint64 MaxKey(const QString &tablePath, const QString &column)
{
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

void RaiseKey(const QString &counter, qint64 largestInUse)
{
    const Amount floor = Amount::fromWhole(largestInUse + 1);
    UpdateSettingNumber(kSection, counter, [floor](Amount stored) { return stored < floor ? floor : stored; });
}

void ResetKeys()
{
    // An application key may be held by members whose application is gone (an operation
    // interrupted between its tables): such a key must not be given to a new application.
    RaiseKey("NRCRT", std::max(MaxKey(TablePath("Cereri.dbf"), "NRCRT"), MaxKey(TablePath("Oameni.dbf"), "NRCRT")));
    RaiseKey("NROM", MaxKey(TablePath("Oameni.dbf"), "NROM"));
    RaiseKey("IDLOG", MaxKey(TablePath("Log.dbf"), "IDLOG"));
}

} // namespace focaris
