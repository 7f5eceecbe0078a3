// The shared steps of the register imports.
#include "periods/ImportShared.h"

#include "core/ChangeLog.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/TableLock.h"
#include "core/Tables.h"
#include "core/TempFiles.h"
#include "core/TextRules.h"
#include "core/Ui.h"
#include "engines/archive/Archive.h"
#include "engines/common/FileNames.h"
#include "engines/dbase/DbfTable.h"
#include "safety/Backup.h"

#include <QFile>

#include <cmath>

namespace focaris::periods {
namespace {

std::filesystem::path pathOf(const QString &p)
{
    return files::resolveCaseInsensitive(std::filesystem::path(p.toStdString()));
}

// The record of a table with its columns found by name; columns the table lacks are
// skipped, so that tables of older or newer layouts take what they have.
class RecordBuilder {
public:
    explicit RecordBuilder(const dbf::DbfTable &table) : table_(table), record_(table.fields().size()) {}
    void clear() { std::fill(record_.begin(), record_.end(), dbf::Value::null()); }
    void text(const char *column, const QString &value)
    {
        if (!value.isEmpty())
            set(column, dbf::Value::fromText(value.toStdString()));
    }
    void number(const char *column, double value) { set(column, dbf::Value::fromNumber(value)); }
    void date(const char *column, std::optional<std::int32_t> days)
    {
        if (days)
            set(column, dbf::Value::fromDate(*days));
    }
    const dbf::Record &record() const { return record_; }

private:
    void set(const char *column, dbf::Value v)
    {
        const int i = table_.fieldIndex(column);
        if (i >= 0)
            record_[static_cast<std::size_t>(i)] = std::move(v);
    }
    const dbf::DbfTable &table_;
    dbf::Record record_;
};

// Whole numbers of the registers are cut toward zero, as every conversion of a field value
// to a whole number is.
double whole(double v)
{
    return std::trunc(v);
}

std::vector<dbf::Record> applicationRecords(const dbf::DbfTable &table, const ImportPlan &plan, std::int64_t firstKey,
                                            int monthCode)
{
    std::vector<dbf::Record> out;
    out.reserve(plan.applications.size());
    RecordBuilder b(table);
    for (std::size_t i = 0; i < plan.applications.size(); ++i) {
        const ImportedApplication &a = plan.applications[i];
        b.clear();
        b.number("NRCRT", double(firstKey + std::int64_t(i)));
        b.number("LUNADEC", 0);
        b.number("LUNACRT", monthCode);
        b.text("SUBSEMN", a.subsemn);
        b.text("CNP", a.cnp);
        b.text("LOCALIT", a.localit);
        b.text("ADRESA", a.adresa);
        b.number("NR_MEMBRI", whole(a.nrMembri));
        b.number("TVENIT", a.tvenit);
        b.text("L416", a.l416);
        b.text("ASF", a.asf);
        b.text("STCIV", a.stciv);
        b.text("SITSCOL", a.sitscol);
        b.number("NRCAM", whole(a.nrCam));
        b.text("ASIG", a.asig);
        b.number("NR_CERE", whole(a.nrCere));
        b.date("DATACERE", a.dataCere);
        // The defaults of every imported application.
        b.number("CUANTUM", 0);
        b.number("NR_LUNI", 5);
        b.number("TOTAL", 0);
        b.text("NR_DISP", QStringLiteral("0"));
        b.text("STATUT", QStringLiteral("APROBAT"));
        b.text("CUAJUT", QStringLiteral("X"));
        for (const char *sum : {"SUMAL", "SUMAG", "SUMAE", "SUMAT"})
            b.number(sum, 0);
        b.number("COPII14", 0);
        b.number("COPII18", 0);
        out.push_back(b.record());
    }
    return out;
}

std::vector<dbf::Record> memberRecords(const dbf::DbfTable &table, const ImportPlan &plan,
                                       std::int64_t firstApplication, std::int64_t firstMember)
{
    std::vector<dbf::Record> out;
    out.reserve(plan.members.size());
    RecordBuilder b(table);
    for (std::size_t i = 0; i < plan.members.size(); ++i) {
        const ImportedMember &m = plan.members[i];
        b.clear();
        b.number("NROM", double(firstMember + std::int64_t(i)));
        b.number("NRCRT", double(firstApplication + std::int64_t(m.application)));
        b.text("TITULAR", m.titular);
        b.text("CNP", m.cnp);
        b.number("VENIT", m.venit);
        b.text("CALITATE", m.calitate);
        out.push_back(b.record());
    }
    return out;
}

// Every record checked against its table before anything is deleted: a number too wide
// for its column stops the import while the previous rows are still in place.
void checkFits(const dbf::DbfTable &table, const std::vector<dbf::Record> &records)
{
    for (const dbf::Record &r : records)
        table.asStored(r);
}

// The bar advances before every row whose position is a multiple of `step`.
void stepRows(Ui &ui, std::size_t rows, int step)
{
    for (std::size_t i = 0; i < rows; i += std::size_t(step))
        ui.progressStep();
}

} // namespace

QString RoleFromRelationCode(double code, bool blank)
{
    if (!blank) {
        if (code == 1)
            return QStringLiteral("beneficiar");
        if (code == 2 || code == 3)
            return QStringLiteral("partener");
        if (code == 4)
            return QStringLiteral("copil");
    }
    return QStringLiteral("adult");
}

QString ImportedAddress(const QString &street, const QString &number, const QString &block, const QString &staircase,
                        const QString &floor, const QString &apartment)
{
    QString a;
    auto add = [&a](const char *prefix, const QString &value) {
        if (!value.trimmed().isEmpty())
            a += QString::fromLatin1(prefix) + value;
    };
    add("str.", street);
    add(" nr.", number);
    add(" bl.", block);
    add(" sc.", staircase);
    add(" et.", floor);
    add(" ap.", apartment);
    return CleanText(a).trimmed().toUpper();
}

std::function<void()> &BeforeMembersTableReplaced()
{
    static std::function<void()> hook;
    return hook;
}

void RebuildMembersTable()
{
    // The members whose application is gone are marked deleted in one statement, then the
    // table is packed: the dBase engine builds the packed table complete beside the old
    // one and renames it over it. At every moment the folder holds a whole members table:
    // the old one, the old one with the orphans marked, or the packed one.
    const QString members = TablePath(QStringLiteral("Oameni.dbf"));
    const qint64 dropped = ExecSql(QStringList{
        QStringLiteral("DELETE FROM ") + Quoted(members), QStringLiteral("WHERE NRCRT IS NULL OR NRCRT NOT IN"),
        QStringLiteral("(SELECT NRCRT FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))) +
            QStringLiteral(" WHERE NRCRT IS NOT NULL)")});
    if (dropped == 0)
        return;
    if (BeforeMembersTableReplaced())
        BeforeMembersTableReplaced()();
    PackTable(QString::fromStdString(pathOf(members).string()));
}

ImportResult RunRegisterImport(Ui &ui, const RegisterImport &kind, const QString &archivePath)
{
    ImportResult result;
    if (archivePath.isEmpty())
        return result;
    auto defect = [&](const QString &why) {
        ui.progressHide();
        ui.message(kind.defectTitle,
                   QStringLiteral("\rArhiva este defecta!") + (why.isEmpty() ? QString() : QStringLiteral("\r") + why),
                   MessageKind::Error, MessageButton::OK);
    };

    const QString unpacked = NewTempFolder(kind.folderPrefix);
    if (unpacked.isEmpty()) {
        ui.message(kind.defectTitle, QStringLiteral("\rNu pot scrie pe harddisk!"), MessageKind::Error,
                   MessageButton::OK);
        return result;
    }
    // The unpacked copy goes away on every way out, except after a VMG import that went
    // through (that copy stays until the temporary folder is removed).
    bool keep = false;
    struct Cleanup {
        const QString &folder;
        const bool &keep;
        ~Cleanup()
        {
            if (!keep)
                DeleteFolder(folder);
        }
    } cleanup{unpacked, keep};

    ui.progressShow(QStringLiteral("Desfac baza de date..."), 0);
    archive::ExtractResult extracted;
    try {
        extracted =
            archive::extractArchive(archivePath.toStdString(), unpacked.toStdString(), [&ui](int position, int count) {
                if (position < 0)
                    ui.progressShow(QStringLiteral("Desfac baza de date..."), count);
                else
                    ui.progressStep();
            });
    } catch (const std::exception &) {
        extracted.failed = true;
    }
    ui.progressHide();
    if (extracted.failed) {
        defect({});
        return result;
    }

    ui.progressShow(QStringLiteral("Preluare date..."), 100);
    // Everything is read and checked before the previous import is touched: a table or a
    // column missing from the archive leaves the tables exactly as they were.
    ImportPlan plan;
    if (const auto why = kind.read(unpacked, plan)) {
        defect(*why);
        return result;
    }
    const QString cereri = TablePath(QStringLiteral("Cereri.dbf"));
    const QString oameni = TablePath(QStringLiteral("Oameni.dbf"));
    // From here on the import writes the applications: no other computer's save may fall
    // between the removal of the previous import and the new rows. The keys are taken
    // before the rows are made; those of an import that stops later are skipped, never
    // given again.
    TableWriteLock lock(&ui);
    const std::int64_t firstApplication =
        TakeKeys(QStringLiteral("NRCRT"), std::int64_t(plan.applications.size())).truncated();
    const std::int64_t firstMember = TakeKeys(QStringLiteral("NROM"), std::int64_t(plan.members.size())).truncated();
    dbf::DbfTable applications(pathOf(cereri));
    const std::vector<dbf::Record> applicationRows =
        applicationRecords(applications, plan, firstApplication, kind.monthCode);
    checkFits(applications, applicationRows);
    {
        dbf::DbfTable members(pathOf(oameni), true);
        checkFits(members, memberRecords(members, plan, firstApplication, firstMember));
    }

    // The previous import of this kind is replaced: the data folder is saved first.
    const QString code = QString::number(kind.monthCode);
    const sql::ResultSet previous = QuerySql(QStringLiteral("SELECT COUNT(*) AS N FROM ") + Quoted(cereri) +
                                             QStringLiteral(" WHERE LUNACRT=") + code);
    if (!previous.empty() && previous.value(0, 0).toInt() > 0) {
        ui.progressHide();
        result.savedTo = SaveBeforeDestroying(ui);
        if (result.savedTo.isEmpty())
            return result;
        ui.progressShow(QStringLiteral("Preluare date..."), 100);
    }
    ExecSql(QStringList{QStringLiteral("DELETE FROM ") + Quoted(cereri), QStringLiteral("WHERE LUNACRT=") + code});
    RebuildMembersTable();

    // The members go in before their applications: a process ended between the two leaves
    // only members without an application, which the next start drops.
    ui.progressShow(QStringLiteral("Preluare persoane..."), int(plan.members.size() / std::size_t(kind.memberStep)));
    {
        dbf::DbfTable members(pathOf(oameni));
        const auto records = memberRecords(members, plan, firstApplication, firstMember);
        stepRows(ui, records.size(), kind.memberStep);
        members.appendMany(records);
    }
    ui.progressHide();
    ui.progressShow(QStringLiteral("Preluare date..."),
                    int(plan.applications.size() / std::size_t(kind.applicationStep)));
    stepRows(ui, applicationRows.size(), kind.applicationStep);
    applications.appendMany(applicationRows);
    ui.progressHide();

    WriteLog(kind.logText);
    QString done = QStringLiteral("\rCererile au fost importate cu succes!");
    if (!result.savedTo.isEmpty())
        done += QStringLiteral("\rDatele de dinainte de import sunt salvate in\r") + result.savedTo;
    ui.message(kind.doneTitle, done, MessageKind::Information, MessageButton::OK);
    result.imported = true;
    result.applications = qint64(plan.applications.size());
    result.members = qint64(plan.members.size());
    keep = kind.keepUnpacked;
    if (keep)
        result.unpackedTo = unpacked;
    return result;
}

} // namespace focaris::periods
