// The kept suggestion lists of the editor.
#include "applications/DistinctLists.h"

#include "core/DataStore.h"
#include "core/Tables.h"
#include "engines/common/FileNames.h"

#include <QFileInfo>

#include <algorithm>

namespace focaris {

namespace {

struct Kept {
    TableStamp stamp;
    QStringList items;
};

QHash<QString, Kept> &kept()
{
    static QHash<QString, Kept> lists;
    return lists;
}

struct KeptTariffs {
    TableStamp stamp;
    QHash<QString, QString> bySupplier; // "" for a supplier without any application
};

QHash<int, KeptTariffs> &tariffs()
{
    static QHash<int, KeptTariffs> kept;
    return kept;
}

} // namespace

bool LatestTariff(int monthCode, const QString &supplier, QString &tariff)
{
    const TableStamp now = ApplicationsStamp();
    KeptTariffs &k = tariffs()[monthCode];
    if (!(k.stamp == now) || now.size < 0) {
        k.stamp = now;
        k.bySupplier.clear();
    }
    auto it = k.bySupplier.find(supplier);
    if (it == k.bySupplier.end()) {
        const sql::ResultSet r = QuerySql(QStringList{"SELECT NRCRT, TARIF FROM " + Quoted(TablePath("Cereri.dbf")),
                                                      "WHERE LUNACRT=" + QString::number(monthCode),
                                                      "AND FURNT=" + SqlText(supplier), "ORDER BY NRCRT DESC"});
        it = k.bySupplier.insert(supplier, r.empty() ? QString() : ToQString(r.value(0, "TARIF")));
    }
    tariff = *it;
    return !tariff.isEmpty();
}

void NoteTariffWrite(const TableStamp &before, int monthCode, const QString &supplier, const QString &tariff,
                     bool newApplication)
{
    for (auto it = tariffs().begin(); it != tariffs().end(); ++it) {
        if (!(it->stamp == before)) {
            it->bySupplier.clear();
            continue;
        }
        if (it.key() == monthCode || monthCode < 0) {
            if (!newApplication)
                it->bySupplier.clear();
            else if (!supplier.isEmpty())
                it->bySupplier[supplier] = tariff;
        }
        it->stamp = ApplicationsStamp();
    }
}

TableStamp ApplicationsStamp()
{
    TableStamp s;
    s.path = QString::fromStdString(files::resolveCaseInsensitive(TablePath("Cereri.dbf").toStdString()).string());
    const QFileInfo info(s.path);
    if (info.exists()) {
        s.size = info.size();
        s.modified = info.lastModified();
    }
    return s;
}

QStringList DistinctApplicationValues(const QString &column)
{
    const TableStamp now = ApplicationsStamp();
    auto it = kept().find(column);
    if (it != kept().end() && it->stamp == now && now.size >= 0)
        return it->items;
    Kept k;
    k.stamp = now;
    FillDistinct(k.items, TablePath("Cereri.dbf"), {}, column);
    kept()[column] = k;
    return k.items;
}

void NoteApplicationsWrite(const TableStamp &before, const QHash<QString, QString> &values)
{
    const TableStamp after = ApplicationsStamp();
    for (auto it = kept().begin(); it != kept().end(); ++it) {
        if (!(it->stamp == before))
            continue;
        const QString value = values.value(it.key());
        if (!value.trimmed().isEmpty()) {
            auto at = std::lower_bound(it->items.begin(), it->items.end(), value);
            if (at == it->items.end() || *at != value)
                it->items.insert(at, value);
        }
        it->stamp = after;
    }
}

void ForgetDistinctLists()
{
    kept().clear();
    tariffs().clear();
}

} // namespace focaris
