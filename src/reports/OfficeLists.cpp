// The three workbook lists. The rows are read with one statement each; where the list
// shows values the program composes (split names, joined addresses), the rows are built
// in memory, with blank texts read as the empty text and the joined parts trimmed.
#include "reports/OfficeLists.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/TempFiles.h"
#include "core/TextRules.h"
#include "documents/PrintedValues.h"
#include "documents/ResourceStore.h"
#include "engines/xls/WorkbookFiller.h"

#include <QFile>

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

namespace focaris::exports {

namespace {

// Extracts a built-in template to a fresh temporary file, fills its first sheet from
// `rows` and hands the result to the person. The extracted copy is removed afterwards.
ExportResult fillAndShow(Ui &ui, const QString &resource, const QString &prefix, const xls::RowSource &rows)
{
    ExportResult result;
    const QString tmpl = NewTempFile(prefix, QStringLiteral(".xls"));
    if (tmpl.isEmpty() || !ExtractResource(resource, QStringLiteral("MODEL"), tmpl))
        throw std::runtime_error(
            QStringLiteral("Modelul %1 nu poate fi scris in directorul temporar").arg(resource).toStdString());
    xls::WorkbookFiller filler(FillerHooks(ui));
    filler.OpenTemplate(tmpl.toStdString());
    filler.FillRows(&rows);
    filler.CloseResult(true);
    QFile::remove(tmpl);
    result.done = true;
    result.files << QString::fromStdString(filler.outputName());
    return result;
}

QString cereri()
{
    return Quoted(TablePath(QStringLiteral("Cereri.dbf")));
}
QString oameni()
{
    return Quoted(TablePath(QStringLiteral("Oameni.dbf")));
}

} // namespace

ExportResult PersonsAgeList(Ui &ui)
{
    // The order of the members as they were entered, application by application.
    ResultRows rows(QuerySql(QStringList{
        QStringLiteral("SELECT A.TITULAR, A.CNP, A.VENIT, A.CALITATE, A.NROM, B.NRCRT"),
        QStringLiteral("FROM ") + oameni() + QStringLiteral(" A, ") + cereri() + QStringLiteral(" B"),
        QStringLiteral("WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + QString::number(WorkingMonthCode()),
        QStringLiteral("AND B.STATUT=\"APROBAT\" AND B.CUAJUT=\"X\""), QStringLiteral("ORDER BY B.NRCRT, A.NROM")}));
    return fillAndShow(ui, QStringLiteral("ListaPers"), QStringLiteral("ListP"), rows);
}

ExportResult MembersSituation(Ui &ui)
{
    // Every approved application, with or without members (one row with empty member
    // columns when it has none). The applications and their members are read in two
    // statements and put together here, which is much faster than an outer join.
    const QString month = QString::number(WorkingMonthCode());
    const sql::ResultSet apps =
        QuerySql(QStringList{QStringLiteral("SELECT NRCRT, SUBSEMN, CNP, LOCALIT FROM ") + cereri(),
                             QStringLiteral("WHERE LUNACRT=") + month + QStringLiteral(" AND STATUT=\"APROBAT\"")});
    const sql::ResultSet people = QuerySql(QStringList{
        QStringLiteral("SELECT A.NRCRT, A.TITULAR, A.CNP FROM ") + oameni() + QStringLiteral(" A, ") + cereri() +
            QStringLiteral(" B"),
        QStringLiteral("WHERE A.NRCRT=B.NRCRT AND B.LUNACRT=") + month + QStringLiteral(" AND B.STATUT=\"APROBAT\"")});
    std::unordered_map<qint64, std::vector<std::size_t>> membersOf;
    for (std::size_t i = 0; i < people.rowCount(); ++i)
        membersOf[people.value(i, 0).toInt()].push_back(i);
    struct Row {
        std::string numet, prenumet, cnpt, numem, prenumem, cnpm, loc;
    };
    std::vector<Row> list;
    list.reserve(people.rowCount() + apps.rowCount());
    auto part = [](const QString &t) { return t.left(32).toStdString(); };
    for (const auto &a : apps.rows()) {
        const QString holder = TextOf(a[1]);
        Row base{part(FamilyName(holder)),
                 part(GivenNames(holder).left(100)),
                 TextOf(a[2]).toStdString(),
                 {},
                 {},
                 {},
                 TextOf(a[3]).left(60).toStdString()};
        const auto it = membersOf.find(a[0].toInt());
        if (it == membersOf.end()) {
            list.push_back(base);
            continue;
        }
        for (std::size_t i : it->second) {
            const QString member = TextOf(people.value(i, 1));
            Row r = base;
            r.numem = part(FamilyName(member));
            r.prenumem = part(GivenNames(member).left(100));
            r.cnpm = TextOf(people.value(i, 2)).toStdString();
            list.push_back(std::move(r));
        }
    }
    std::stable_sort(list.begin(), list.end(), [](const Row &a, const Row &b) {
        return std::tie(a.numet, a.prenumet, a.cnpt, a.numem, a.prenumem) <
               std::tie(b.numet, b.prenumet, b.cnpt, b.numem, b.prenumem);
    });
    MemoryRows rows;
    for (const char *c : {"NUMET", "PRENUMET", "CNPT", "NUMEM", "PRENUMEM", "CNPM", "LOC"})
        rows.addColumn(c, xls::ColumnKind::Text);
    auto t = [](const std::string &s) { return MemoryRows::text(QString::fromStdString(s)); };
    for (const Row &r : list)
        rows.addRow({t(r.numet), t(r.prenumet), t(r.cnpt), t(r.numem), t(r.prenumem), t(r.cnpm), t(r.loc)});
    return fillAndShow(ui, QStringLiteral("SitMem"), QStringLiteral("SitMem"), rows);
}

bool RiskControlReady(Ui &ui)
{
    if (JudAbr(LoadMunicipality().judet).isEmpty()) {
        ui.message(QStringLiteral("Verificare date"), QStringLiteral("\rNu ati ales la Administrare Judetul!"),
                   MessageKind::Error, MessageButton::OK);
        return false;
    }
    return true;
}

ExportResult RiskControlList(Ui &ui, const QString &payMonth, int payYear)
{
    ExportResult result;
    if (!RiskControlReady(ui))
        return result;
    const ExportSettings s = LoadExportSettings();
    const QString county = JudAbr(s.judet);
    const QString townHall = CleanText(s.localit);
    const sql::ResultSet rs = QuerySql(QStringList{
        QStringLiteral("SELECT NR_CERE, SUBSEMN, CNP, ADRESA, LOCALIT, NR_MEMBRI, VENITM, NR_DISP, CUANTUM,"),
        QStringLiteral("STCIV, SITSCOL, TVENIT, NRCAM FROM ") + cereri(),
        QStringLiteral("WHERE LUNACRT=") + QString::number(WorkingMonthCode()) +
            QStringLiteral(" AND STATUT=\"APROBAT\""),
        QStringLiteral("ORDER BY NR_CERE")});
    MemoryRows rows;
    using K = xls::ColumnKind;
    const std::pair<const char *, K> columns[] = {
        {"NR_CERE", K::Number}, {"TITULAR", K::Text},     {"CNP", K::Text},      {"ADRESA", K::Text},
        {"CODTIT", K::Text},    {"NR_MEMBRI", K::Number}, {"VENITM", K::Number}, {"NR_DISP", K::Text},
        {"CUANTUM", K::Number}, {"JUD", K::Text},         {"PRIMARIE", K::Text}, {"LUNA", K::Text},
        {"AN", K::Number},      {"STCIV", K::Text},       {"SITSCOL", K::Text},  {"TVENIT", K::Number},
        {"NRCAM", K::Number}};
    for (const auto &[name, kind] : columns)
        rows.addColumn(name, kind);
    for (const auto &r : rs.rows()) {
        // The address joins street, locality and county; missing parts leave no stray blanks.
        QStringList address;
        for (const QString &part : {TextOf(r[3]), TextOf(r[4])})
            if (!part.isEmpty())
                address << part;
        const QString joined = (address.join(QLatin1Char(' ')) + QStringLiteral(" JUD ") + s.judet).trimmed();
        rows.addRow({MemoryRows::number(NumberOf(r[0])), MemoryRows::text(TextOf(r[1])), MemoryRows::text(TextOf(r[2])),
                     MemoryRows::text(joined), MemoryRows::text(QString()), MemoryRows::number(NumberOf(r[5])),
                     MemoryRows::number(NumberOf(r[6])), MemoryRows::text(TextOf(r[7])),
                     MemoryRows::number(documents::WholePercent(NumberOf(r[8]))), MemoryRows::text(county),
                     MemoryRows::text(townHall), MemoryRows::text(payMonth), MemoryRows::number(payYear),
                     MemoryRows::text(TextOf(r[9])), MemoryRows::text(TextOf(r[10])),
                     MemoryRows::number(NumberOf(r[11])), MemoryRows::number(NumberOf(r[12]))});
    }
    return fillAndShow(ui, QStringLiteral("CONTROL"), QStringLiteral("CBPR"), rows);
}

} // namespace focaris::exports
