// The E.ON supplier workbooks, written with the .xlsx writer of the workbook engine: no
// spreadsheet program is needed. Codes, consumption points, CNPs and the month go in as
// text so that their leading zeros stay.
#include "reports/EonReport.h"

#include "admin/Municipality.h"
#include "core/Settings.h"
#include "engines/xls/XlsxWriter.h"
#include "reports/AjpisAnnexes.h"

#include <QHash>

#include <set>

namespace focaris::reports {

namespace {

const QString kTitle = QStringLiteral("Raport E-ON");
const QString kSection = QStringLiteral("CODURIP");

bool usableForChoice(const ApplicationRow &r)
{
    const bool status = r.statut == QLatin1String("APROBAT") || r.statut == QLatin1String("MODIFICAT");
    return status && (r.total > Amount() || r.sumag > Amount());
}

// The applications of one workbook. Supplier names are compared in capitals, as the list
// shows them, so a name typed in small letters still selects its own rows.
std::vector<const ApplicationRow *> selected(const std::vector<ApplicationRow> &rows, const QString &supplier, bool gas)
{
    const QString wanted = supplier.toUpper();
    std::vector<const ApplicationRow *> out;
    for (const ApplicationRow &r : rows) {
        const Amount amount = gas ? r.sumag : r.sumae;
        const QString &name = gas ? r.furng : r.furne;
        if (r.active() && amount > Amount() && name.toUpper() == wanted)
            out.push_back(&r);
    }
    return out;
}

std::vector<std::vector<xls::XlsxCell>> workbookRows(const std::vector<const ApplicationRow *> &apps,
                                                     const EonChoice &choice, bool gas, Ui *ui)
{
    const ReportIdentity id = LoadIdentity();
    QHash<QString, QString> codes;
    for (const auto &[locality, code] : choice.postalCodes)
        codes.insert(locality, code.trimmed());
    std::vector<std::vector<xls::XlsxCell>> rows;
    rows.reserve(apps.size());
    for (const ApplicationRow *r : apps) {
        xls::EonApplication a;
        a.uat = id.localit.toStdString();
        a.dispositionNo = r->nrDisp.toStdString();
        a.amount = (gas ? r->sumag : r->sumae).toDouble();
        a.customerCode = (gas ? r->codclg : r->codcle).toStdString();
        a.holder = (gas ? r->titg : r->tite).toStdString();
        a.gas = gas;
        a.beneficiary = r->subsemn.toStdString();
        a.cnp = r->cnp.toStdString();
        a.county = id.judet.toStdString();
        a.postalCode = codes.value(r->localit).toStdString();
        a.locality = r->localit.toStdString();
        a.address = r->adresa.toStdString();
        a.consumptionPoint = (gas ? r->podg : r->pode).toStdString();
        a.members = r->members;
        a.incomePerMember = r->venitm.toDouble();
        a.month = (id.aaaa() + id.ll()).toStdString();
        rows.push_back(xls::eonRow(a));
        if (ui && rows.size() % 50 == 0)
            ui->progressStep();
    }
    return rows;
}

int writeWorkbook(const QString &path, const std::vector<ApplicationRow> &rows, const EonChoice &choice, bool gas,
                  Ui *ui)
{
    const auto apps = selected(rows, choice.supplier, gas);
    if (ui) {
        ui->progressHide();
        ui->progressShow(gas ? QStringLiteral("Creez Raport Suplimente Gaz...")
                             : QStringLiteral("Creez Raport Suplimente Electrica..."),
                         int(apps.size() / 50));
    }
    const auto cells = workbookRows(apps, choice, gas, ui);
    WriteThroughTemp(
        path, [&](const QString &temporary) { xls::writeXlsx(temporary.toStdString(), xls::eonHeaders(), cells); });
    return int(apps.size());
}

} // namespace

EonChoice LoadEonChoice()
{
    const int month = LoadIdentity().month;
    EonChoice choice;
    std::set<std::string> suppliers, localities;
    for (const ApplicationRow &r : ReadApplications(month, month, month)) {
        if (usableForChoice(r) && !r.furng.isEmpty())
            suppliers.insert(r.furng.toUpper().toStdString());
        if (!r.localit.isEmpty())
            localities.insert(r.localit.toStdString());
    }
    for (const std::string &s : suppliers)
        choice.suppliers << QString::fromStdString(s);
    for (const std::string &l : localities) {
        const QString locality = QString::fromStdString(l);
        choice.postalCodes.emplace_back(locality, ReadSetting(kSection, locality));
    }
    return choice;
}

std::optional<EonRefusal> CheckEonChoice(const EonChoice &choice)
{
    // Only a supplier of the month's list can be chosen; any other name would give an
    // empty workbook.
    if (choice.supplier.trimmed().isEmpty() || !choice.suppliers.contains(choice.supplier))
        return EonRefusal{QStringLiteral("Nu ati ales nimic!"), QStringLiteral("FurnG")};
    for (const auto &entry : choice.postalCodes)
        if (entry.second.trimmed().isEmpty())
            return EonRefusal{QStringLiteral("Nu ati scris Codul postal!"), QStringLiteral("SMDBGrid1")};
    return std::nullopt;
}

void StorePostalCodes(const EonChoice &choice)
{
    for (const auto &[locality, code] : choice.postalCodes)
        WriteSetting(kSection, locality, code.trimmed());
}

int WriteEonWorkbook(const QString &path, const EonChoice &choice, bool gas)
{
    const int month = LoadIdentity().month;
    return writeWorkbook(path, ReadApplications(month, month, month), choice, gas, nullptr);
}

ReportResult MakeEonReport(Ui &ui, const EonChoice &choice)
{
    ReportResult result;
    ReportFolder folder;
    if (!folder.choose(ui, kTitle, QStringLiteral("Alegeti directorul unde punem Raportul E-On"),
                       QStringLiteral("EON_TERMICA_RAPORT")))
        return result;
    {
        ProgressGuard progress(ui, QStringLiteral("Creez Raport Suplimente Gaz..."), 0);
        const int month = LoadIdentity().month;
        const std::vector<ApplicationRow> rows = ReadApplications(month, month, month);
        for (const bool gas : {true, false}) {
            const QString name =
                gas ? QStringLiteral("Suplimente_Gaz.xlsx") : QStringLiteral("Suplimente_Electrica.xlsx");
            writeWorkbook(folder.staged(name), rows, choice, gas, &ui);
            result.files << folder.final(name);
        }
        if (!folder.commit(ui, kTitle)) {
            result.files.clear();
            return result;
        }
    }
    result.done = true;
    result.folder = folder.target();
    ui.message(QStringLiteral("Raport E-On Gaz"), QStringLiteral("\rRaportul a fost creat!"), MessageKind::Information,
               MessageButton::OK);
    ui.openDocument(folder.target());
    return result;
}

} // namespace focaris::reports
