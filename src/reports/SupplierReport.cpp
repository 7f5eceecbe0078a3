// The supplier annexes of the working month, grouped by supplier in one pass over the
// month's applications, written into a staging folder that replaces TERMICA_FURNIZORI
// only when every supplier's files were written.
#include "reports/SupplierReport.h"

#include "admin/Municipality.h"
#include "reports/AjpisAnnexes.h"

#include <QDir>

#include <map>
#include <string>

namespace focaris::reports {

namespace {

using xls::XValue;

const QString kTitle = QStringLiteral("Raport Furnizori");

XValue text(const QString &t)
{
    return XValue::Text(t.toStdString());
}

// Rows of one supplier, kept in the month's SUBSEMN order; suppliers ordered as the
// database engine orders texts.
using BySupplier = std::map<std::string, std::vector<const ApplicationRow *>>;

class SupplierWriter {
public:
    SupplierWriter(Ui &ui, ReportFolder &folder) : ui_(ui), folder_(folder), filler_(ReportFillerHooks()) {}
    bool run(ProgressGuard &progress);
    QStringList files;

private:
    bool open(const QString &resource);
    QString supplierFolder(const QString &supplier);
    void save(const QString &supplier, const QString &name);

    Ui &ui_;
    ReportFolder &folder_;
    xls::WorkbookFiller filler_;
    ReportIdentity id_;
    SafeFileNames names_;
};

bool SupplierWriter::open(const QString &resource)
{
    const QString path = ExtractTemplate(resource, QStringLiteral("RapFur"));
    if (path.isEmpty()) {
        ui_.message(kTitle, QStringLiteral("\rNu exista modelul ") + resource + QStringLiteral("!"), MessageKind::Error,
                    MessageButton::OK);
        return false;
    }
    if (!OpenReportTemplate(ui_, filler_, path, kTitle))
        return false;
    filler_.ZeroValue = XValue::Number(0);
    return true;
}

// An empty supplier name puts its files directly in the report's folder.
QString SupplierWriter::supplierFolder(const QString &supplier)
{
    const QString name = names_.nameFor(supplier);
    QDir().mkpath(folder_.staged(name));
    return name;
}

void SupplierWriter::save(const QString &supplier, const QString &name)
{
    const QString folder = supplierFolder(supplier);
    const QString relative = folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
    SaveFilled(filler_, folder_.staged(relative));
    files << folder_.final(relative);
}

bool SupplierWriter::run(ProgressGuard &progress)
{
    id_ = LoadIdentity();
    const std::vector<ApplicationRow> rows = ReadApplications(id_.month, id_.month, id_.month);

    BySupplier heating;
    for (const ApplicationRow &r : rows)
        if (r.approved() && r.total > Amount())
            heating[r.furnt.toStdString()].push_back(&r);
    for (const auto &[key, list] : heating) {
        const QString supplier = QString::fromStdString(key);
        if (!open(QStringLiteral("Anexa1")))
            return false;
        filler_.ReplaceText("[JUDET]", text(id_.judet));
        filler_.ReplaceText("[UAT]", text(id_.localit));
        filler_.ReplaceText("[CIF]", text(id_.codFiscal));
        filler_.ReplaceText("[PRIMAR]", text(id_.primar));
        filler_.ReplaceText("[INTOCMIT]", text(id_.intocmit));
        filler_.ReplaceText("[LUNA]", text(id_.ll()));
        filler_.ReplaceText("[ANUL]", text(id_.aaaa()));
        ReportRows filled;
        AddAnnex1Columns(filled);
        for (const ApplicationRow *r : list)
            AddAnnex1Row(filled, *r, 60);
        if (!RowsFit(ui_, filler_, filled.rowCount(), QStringLiteral("1 (") + supplier + QLatin1Char(')'), kTitle))
            return false;
        filler_.FillRows(&filled);
        save(supplier, QStringLiteral("Anexa1.xls"));
    }
    progress.step({});

    for (const Energy e : {Energy::Thermal, Energy::Electricity, Energy::Gas}) {
        // The suppliers come from every application with the supplement, whatever its
        // status; the rows only from the approved ones, so a supplier may get an empty list.
        BySupplier bySupplier;
        for (const ApplicationRow &r : rows) {
            if (EnergyAmount(r, e) <= Amount())
                continue;
            auto &list = bySupplier[SupplierOf(r, e).toStdString()];
            if (InSupplementAnnex(r, e, id_.month))
                list.push_back(&r);
        }
        const int annex = SupplementAnnex(e);
        for (const auto &[key, list] : bySupplier) {
            const QString supplier = QString::fromStdString(key);
            if (!open(QStringLiteral("Anexa%1").arg(annex)))
                return false;
            ReplaceSupplementMarkers(filler_, id_);
            ReportRows filled;
            AddSupplementColumns(filled, e);
            for (const ApplicationRow *r : list)
                AddSupplementRow(filled, *r, e);
            if (!RowsFit(ui_, filler_, filled.rowCount(),
                         QStringLiteral("%1 (").arg(annex) + supplier + QLatin1Char(')'), kTitle))
                return false;
            filler_.FillRows(&filled);
            save(supplier, QStringLiteral("Anexa%1.xls").arg(annex));
        }
        progress.step({});
    }
    return true;
}

} // namespace

ReportResult MakeSupplierReport(Ui &ui)
{
    ReportResult result;
    ReportFolder folder;
    if (!folder.choose(ui, kTitle, QStringLiteral("Alegeti directorul unde punem Raportul"),
                       QStringLiteral("TERMICA_FURNIZORI")))
        return result;
    {
        ProgressGuard progress(ui, QStringLiteral("Creez Raport Furnizori..."), 4);
        SupplierWriter writer(ui, folder);
        if (!writer.run(progress) || !folder.commit(ui, kTitle))
            return result;
        result.files = writer.files;
    }
    result.done = true;
    result.folder = folder.target();
    ui.message(kTitle, QStringLiteral("\rRaportul a fost creat!"), MessageKind::Information, MessageButton::OK);
    ui.openDocument(folder.target());
    return result;
}

} // namespace focaris::reports
