// The county agency's report: one read of the applications, the counts gathered in one
// pass, each annex filled from its template into a staging folder that replaces
// TERMICA_AJPIS only when every annex was written.
#include "reports/AjpisReport.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "reports/AjpisAnnexes.h"

#include <QDir>

#include <algorithm>
#include <map>

namespace focaris::reports {

namespace {

using xls::XValue;

const QString kTitle = QStringLiteral("Raport AJPIS");

XValue text(const QString &t)
{
    return XValue::Text(t.toStdString());
}
XValue number(double n)
{
    return XValue::Number(n);
}

class AjpisWriter {
public:
    AjpisWriter(Ui &ui, ReportFolder &folder, int from, int to)
        : ui_(ui), folder_(folder), from_(from), to_(to), filler_(ReportFillerHooks())
    {
    }

    bool run(ProgressGuard &progress);
    QStringList files;

private:
    bool openBuiltIn(const QString &resource, const QString &prefix);
    bool openFile(const QString &path);
    void save(const QString &name);
    bool annex1And21();
    bool annex22();
    bool supplement(Energy e);
    void energyGrid(Energy e, bool sums);
    bool annex25();

    Ui &ui_;
    ReportFolder &folder_;
    int from_, to_;
    xls::WorkbookFiller filler_;
    ReportIdentity id_;
    AidParameters params_;
    std::vector<ApplicationRow> rows_;
    AjpisCounts counts_;
};

bool AjpisWriter::openBuiltIn(const QString &resource, const QString &prefix)
{
    const QString path = ExtractTemplate(resource, prefix);
    if (path.isEmpty()) {
        ui_.message(kTitle, QStringLiteral("\rNu exista modelul ") + resource + QStringLiteral("!"), MessageKind::Error,
                    MessageButton::OK);
        return false;
    }
    return openFile(path);
}

bool AjpisWriter::openFile(const QString &path)
{
    if (!OpenReportTemplate(ui_, filler_, path, kTitle))
        return false;
    filler_.ZeroValue = number(0);
    return true;
}

void AjpisWriter::save(const QString &name)
{
    SaveFilled(filler_, folder_.staged(name));
    files << folder_.final(name);
}

bool AjpisWriter::annex1And21()
{
    if (!openBuiltIn(QStringLiteral("AJPIS"), QStringLiteral("AJPIS")))
        return false;
    filler_.ReplaceText("[JUDET]", text(id_.judet));
    filler_.ReplaceText("[UAT]", text(id_.localit));
    filler_.ReplaceText("[CIF]", text(id_.codFiscal));
    filler_.ReplaceText("[PRIMAR]", text(id_.primar));
    // Sheets 1 to 5 hold the applications of 5, 4, 3, 2 and 1 months, by name. Each
    // sheet's "Luna:" and "Anul:" are the month its applications begin in, November to
    // March of the season the chosen period begins in, written as values so that the file
    // shows the same months whenever it is opened.
    static const char *const kSeasonMonths[] = {"noiembrie", "decembrie", "ianuarie", "februarie", "martie"};
    const int fromYear = from_ / 12, fromMonth = from_ % 12 + 1;
    const int seasonStart = fromMonth >= 10 ? fromYear : fromYear - 1;
    for (int sheet = 1; sheet <= 5; ++sheet) {
        filler_.SelectSheet(sheet);
        filler_.SetCell(9, 3, text(QString::fromLatin1(kSeasonMonths[sheet - 1])));
        filler_.SetCell(9, 5, number(sheet <= 2 ? seasonStart : seasonStart + 1));
        ReportRows rows;
        AddAnnex1Columns(rows);
        for (const ApplicationRow &r : rows_)
            if (InAnnex1(r, from_, to_) && r.months == 6 - sheet)
                AddAnnex1Row(rows, r, 30);
        filler_.SelectSheet(sheet);
        if (!RowsFit(ui_, filler_, rows.rowCount(), QStringLiteral("1 (%1 luni)").arg(6 - sheet), kTitle))
            return false;
        filler_.FillRows(&rows);
    }
    filler_.SelectSheet(6);
    filler_.ReplaceText("[INTOCMIT]", text(id_.intocmit));
    for (int m = 5; m >= 1; --m)
        for (int k = 1; k <= 11; ++k)
            for (int c = 1; c <= 6; ++c)
                if (IncomeBrackets::counts(k, c == 6))
                    filler_.SetCell(k * 5 - m + 7, c + 4, number(counts_.annex21[m - 1][k - 1][c - 1]));
    filler_.SelectSheet(1);
    save(QStringLiteral("Anexa1_21.xls"));
    return true;
}

bool AjpisWriter::annex22()
{
    if (!openBuiltIn(QStringLiteral("Anexa22"), QStringLiteral("Anx22")))
        return false;
    filler_.ReplaceText("[INTOCMIT]", text(id_.intocmit));
    filler_.ReplaceText("[UAT]", text(id_.tipLoc + QLatin1Char(' ') + id_.localit));
    for (int k = 1; k <= 11; ++k)
        for (int m = 5; m >= 1; --m) {
            const int y = 5 - m;
            if (k != 11)
                filler_.SetCell(k * 5 - m + 8, 2 * y + 5, number(counts_.annex22[k - 1][m - 1][0].toDouble()));
            if (k != 10)
                filler_.SetCell(k * 5 - m + 8, 2 * y + 6, number(counts_.annex22[k - 1][m - 1][1].toDouble()));
        }
    save(QStringLiteral("Anexa22.xls"));
    return true;
}

bool AjpisWriter::supplement(Energy e)
{
    const int annex = SupplementAnnex(e);
    const QString name = QStringLiteral("Anexa%1.xls").arg(annex);
    // The office may have adapted these four in its data folder.
    if (!openFile(QDir(DataFolder()).filePath(name)))
        return false;
    ReplaceSupplementMarkers(filler_, id_);
    ReportRows rows;
    AddSupplementColumns(rows, e);
    for (const ApplicationRow &r : rows_)
        if (InSupplementAnnex(r, e, id_.month))
            AddSupplementRow(rows, r, e);
    if (!RowsFit(ui_, filler_, rows.rowCount(), QString::number(annex), kTitle))
        return false;
    filler_.FillRows(&rows);
    save(name);
    return true;
}

// Annex 23 (counts, by calendar month) or 24 (sums, by the payment month after it).
void AjpisWriter::energyGrid(Energy e, bool sums)
{
    filler_.ReplaceText("[UAT]", text(id_.localit));
    filler_.ReplaceText("[INTOCMIT]", text(id_.intocmit));
    filler_.ReplaceText("[TIPS]", text(EnergyText(e)));
    const auto &byMonth = counts_.energy[int(e)];
    static const MonthGrid empty;
    for (const int x : counts_.months) {
        const int c = sums ? ((x + 1) % 12) + 1 : (x % 12) + 1;
        const auto found = byMonth.find(x);
        const MonthGrid &g = found == byMonth.end() ? empty : found->second;
        for (int k = 1; k <= 11; ++k) {
            auto value = [&](int who) {
                return sums ? number(g.sum[who][k - 1].toDouble()) : number(g.count[who][k - 1]);
            };
            if (k != 10)
                filler_.SetCell(2 * c + 8, k + 3, value(1));
            if (k != 11)
                filler_.SetCell(2 * c + 7, k + 3, value(0));
        }
    }
}

bool AjpisWriter::annex25()
{
    struct Line {
        QString furn, subsemn, cnp;
        Amount sum;
    };
    std::vector<Line> lines;
    for (const ApplicationRow &r : rows_) {
        if (r.month != id_.month || !r.active())
            continue;
        // The heating aid of the month in lei (VALMAX), not the compensation percentage.
        lines.push_back({r.furnt, r.subsemn, r.cnp, r.valmax + r.sumat});
        if (r.sumag > Amount())
            lines.push_back({r.furng, r.subsemn, r.cnp, r.sumag});
        if (r.sumae > Amount())
            lines.push_back({r.furne, r.subsemn, r.cnp, r.sumae});
    }
    // Grouped by supplier, name and CNP, ordered as the database engine orders texts.
    std::map<std::tuple<std::string, std::string, std::string>, Line> grouped;
    for (const Line &l : lines) {
        if (l.sum == Amount())
            continue;
        auto [it, fresh] = grouped.try_emplace({l.furn.toStdString(), l.subsemn.toStdString(), l.cnp.toStdString()}, l);
        if (!fresh)
            it->second.sum += l.sum;
    }
    SafeFileNames names;
    for (auto it = grouped.begin(); it != grouped.end();) {
        const QString supplier = it->second.furn;
        ReportRows rows;
        rows.addColumn("SUBSEMN", xls::ColumnKind::Text);
        rows.addColumn("CNP", xls::ColumnKind::Text);
        rows.addColumn("SUMAT", xls::ColumnKind::Number);
        for (; it != grouped.end() && it->second.furn == supplier; ++it)
            rows.addRow({ReportRows::text(it->second.subsemn), ReportRows::text(it->second.cnp),
                         ReportRows::number(it->second.sum.toDouble())});
        if (!openBuiltIn(QStringLiteral("Anexa25"), QStringLiteral("Anx25")))
            return false;
        filler_.ReplaceText("[JUDET]", text(id_.codJud + QStringLiteral("   ") + id_.judet));
        filler_.ReplaceText("[LOCALIT]", text(id_.localit));
        filler_.ReplaceText("[LUNA]", text(id_.monthText));
        filler_.ReplaceText("[FURNIZOR]", text(supplier));
        if (!RowsFit(ui_, filler_, rows.rowCount(), QStringLiteral("25 (") + supplier + QLatin1Char(')'), kTitle))
            return false;
        filler_.FillRows(&rows);
        save(QStringLiteral("Anexa25_") + names.nameFor(supplier) + QStringLiteral(".xls"));
    }
    return true;
}

bool AjpisWriter::run(ProgressGuard &progress)
{
    id_ = LoadIdentity();
    params_ = LoadAidParameters();
    rows_ = ReadApplications(from_, to_, id_.month);
    counts_ = CountAjpis(rows_, from_, to_, params_);

    if (!annex1And21())
        return false;
    progress.step(QStringLiteral(" Generez Anexa 22..."));
    if (!annex22())
        return false;
    for (const Energy e : {Energy::Thermal, Energy::Gas, Energy::Electricity, Energy::Wood}) {
        progress.step(QStringLiteral("Fac Anexa %1...").arg(SupplementAnnex(e)));
        if (!supplement(e))
            return false;
    }
    for (const bool sums : {false, true}) {
        progress.step(sums ? QStringLiteral("Fac Anexa 24...") : QStringLiteral("Fac Anexa 23..."));
        for (const Energy e : {Energy::Wood, Energy::Gas, Energy::Electricity, Energy::Thermal}) {
            if (!counts_.hasData[int(e)])
                continue;
            if (!openBuiltIn(sums ? QStringLiteral("Anexa24") : QStringLiteral("Anexa23"),
                             sums ? QStringLiteral("Anx24") : QStringLiteral("Anx23")))
                return false;
            energyGrid(e, sums);
            save(QStringLiteral("Anexa%1_%2.xls").arg(sums ? 24 : 23).arg(EnergySuffix(e)));
        }
    }
    progress.step(QStringLiteral("Fac Anexa 25..."));
    return annex25();
}

} // namespace

ReportPeriod DefaultSeason(const QDate &today)
{
    const int start = today.month() >= 10 ? today.year() : today.year() - 1;
    return {QDate(start, 11, 1), QDate(start + 1, 3, 31)};
}

QString CheckPeriod(const ReportPeriod &period)
{
    return period.to < period.from ? QStringLiteral("Perioada incorecta!") : QString();
}

ReportResult MakeAjpisReport(Ui &ui, int fromMonth, int toMonth)
{
    ReportResult result;
    ReportFolder folder;
    if (!folder.choose(ui, kTitle, QStringLiteral("Alegeti directorul unde punem Raportul"),
                       QStringLiteral("TERMICA_AJPIS")))
        return result;
    {
        ProgressGuard progress(ui, QStringLiteral("Fac Anexele 1 si 21..."), 9);
        AjpisWriter writer(ui, folder, fromMonth, toMonth);
        if (!writer.run(progress) || !folder.commit(ui, kTitle))
            return result;
        result.files = writer.files;
    }
    result.done = true;
    result.folder = folder.target();
    ui.openDocument(folder.target());
    return result;
}

} // namespace focaris::reports
