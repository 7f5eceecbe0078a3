// The persons table: members of the month's applications grouped by name, CNP and
// application number, each with the greatest role text of its group, so that a person
// entered twice in one application is listed once.
#include "reports/PersonsDbfExport.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/TempFiles.h"
#include "engines/dbase/DbfTable.h"
#include "reports/ReportFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <stdexcept>
#include <tuple>

namespace focaris::exports {

namespace {
const QString kTitle = QStringLiteral("Creare DBF Persoane");
}

ExportResult ExportPersonsDbf(Ui &ui)
{
    ExportResult result;
    QString target =
        ui.saveFileName(QStringLiteral("Unde salvam DBF-ul?"), QString(), QStringLiteral("Fisier DBF (*.dbf)"));
    if (target.isEmpty())
        return result;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".dbf");
    target = QDir::cleanPath(QDir(target).absolutePath());

    // Choosing the name of a live table would delete it: such places are refused.
    for (const QString &folder : {DataFolder(), LocalDataFolder(), TempFolder()}) {
        if (IsInside(target, folder)) {
            const Refusal r{QStringLiteral("\rFisierul nu poate fi salvat in directorul ") +
                                QDir::toNativeSeparators(folder) +
                                QStringLiteral(" al programului!\rAlegeti alt director."),
                            QStringLiteral("Save1")};
            ui.message(kTitle, r.message, MessageKind::Error, MessageButton::OK);
            result.refused = r;
            return result;
        }
    }
    // An existing file is replaced only when no other program holds it; it stays as it
    // was until the new table is complete and takes its name.
    if (QFileInfo::exists(target) && FileInUse(target)) {
        ui.message(kTitle, QStringLiteral("\rFisierul ales este in utilizare!"), MessageKind::Error, MessageButton::OK);
        return result;
    }

    const sql::ResultSet rs = QuerySql(
        QStringList{QStringLiteral("SELECT A.TITULAR, A.CNP, B.NR_CERE, A.CALITATE"),
                    QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf"))) + QStringLiteral(" A, ") +
                        Quoted(TablePath(QStringLiteral("Cereri.dbf"))) + QStringLiteral(" B"),
                    QStringLiteral("WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + QString::number(WorkingMonthCode())});
    // Grouped as the table's columns hold the values: names cut to 32 characters, CNPs to
    // 13, the role text "Termica " + role cut to 24.
    std::map<std::tuple<std::string, std::string, qint64>, std::string> groups;
    for (const auto &r : rs.rows()) {
        const std::string name = TextOf(r[0]).left(32).toStdString();
        const std::string cnpText = TextOf(r[1]).left(13).toStdString();
        const std::string role = (QStringLiteral("Termica ") + TextOf(r[3])).left(24).trimmed().toStdString();
        auto [it, fresh] = groups.try_emplace({name, cnpText, r[2].toInt()}, role);
        if (!fresh && role > it->second)
            it->second = role;
    }

    const QString part = QFileInfo(target).absolutePath() + QStringLiteral("/.") + QFileInfo(target).fileName() +
                         QStringLiteral(".part");
    QFile::remove(part);
    // The scratch table lies in the person's folder: noted for the start-up after a crash,
    // with the work file the table writer makes beside it while it creates the table.
    const auto note = reports::OutsideNote(target);
    const QString work =
        QFileInfo(part).absolutePath() + QStringLiteral("/.") + QFileInfo(part).fileName() + QStringLiteral(".new");
    note->note({QFile::encodeName(part).toStdString(), QFile::encodeName(work).toStdString()});
    try {
        dbf::DbfTable::create(part.toStdString(),
                              {dbf::ColumnDef::charColumn("NUME", 32), dbf::ColumnDef::charColumn("CNP", 13),
                               dbf::ColumnDef::decimalColumn("NR_CERE", 10, 0),
                               dbf::ColumnDef::charColumn("TIPC", 24)});
        std::vector<dbf::Record> records;
        records.reserve(groups.size());
        for (const auto &[key, role] : groups)
            records.push_back({dbf::Value::fromText(std::get<0>(key)), dbf::Value::fromText(std::get<1>(key)),
                               dbf::Value::fromNumber(double(std::get<2>(key))), dbf::Value::fromText(role)});
        dbf::DbfTable(part.toStdString()).appendMany(records);
        RenameOver(part, target);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    result.done = true;
    result.files << target;
    ui.message(kTitle,
               QStringLiteral("\rFisierul ") + QDir::toNativeSeparators(target) + QStringLiteral(" a fost creat!"),
               MessageKind::Information, MessageButton::OK);
    return result;
}

} // namespace focaris::exports
