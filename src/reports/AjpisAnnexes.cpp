// Shared pieces of the agency and supplier annexes.
#include "reports/AjpisAnnexes.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/Months.h"
#include "core/TempFiles.h"
#include "documents/PrintedValues.h"
#include "documents/ResourceStore.h"
#include "reports/ExportCommon.h"

#include <QFile>

#include <stdexcept>

namespace focaris::reports {

using xls::ColumnKind;
using xls::XValue;

ReportIdentity LoadIdentity()
{
    const Municipality m = LoadMunicipality();
    ReportIdentity id;
    id.judet = m.judet;
    id.codJud = m.codJud;
    id.localit = m.primaria;
    // The agency's annexes carry the fiscal code's digits only, as the other agency files.
    const QString digits = exports::FiscalDigits(m.sirues);
    id.codFiscal = digits.isEmpty() ? m.sirues : digits;
    id.primar = m.primar;
    id.intocmit = m.intocmit;
    const QStringList &kinds = LocalityKinds();
    id.tipLoc = m.tipLoc >= 0 && m.tipLoc < kinds.size() ? kinds[m.tipLoc] : QString();
    id.monthText = WorkingMonth();
    id.month = MonthCode(id.monthText);
    return id;
}

int SupplementAnnex(Energy e)
{
    switch (e) {
    case Energy::Thermal: return 14;
    case Energy::Gas: return 15;
    case Energy::Electricity: return 16;
    case Energy::Wood: return 17;
    }
    return 0;
}

QString SupplierOf(const ApplicationRow &row, Energy e)
{
    switch (e) {
    case Energy::Thermal: return row.furnt;
    case Energy::Gas: return row.furng;
    case Energy::Electricity: return row.furne;
    case Energy::Wood: return {};
    }
    return {};
}

bool InSupplementAnnex(const ApplicationRow &row, Energy e, int month)
{
    return row.month == month && row.approved() && EnergyAmount(row, e) > Amount();
}

void AddAnnex1Columns(ReportRows &rows)
{
    for (const char *c : {"SUBSEMN", "CNP", "ADRESA"})
        rows.addColumn(c, ColumnKind::Text);
    rows.addColumn("NR_MEMBRI", ColumnKind::Number);
    rows.addColumn("NR_DISP", ColumnKind::Text);
    rows.addColumn("VENITM", ColumnKind::Number);
    rows.addColumn("NR_LUNI", ColumnKind::Number);
    rows.addColumn("CODCLT", ColumnKind::Text);
    rows.addColumn("CUANTUM", ColumnKind::Number);
    rows.addColumn("VALMAX", ColumnKind::Number);
}

void AddAnnex1Row(ReportRows &rows, const ApplicationRow &r, int dispositionWidth)
{
    rows.addRow({ReportRows::text(r.subsemn), ReportRows::text(r.cnp), ReportRows::text(JoinedAddress(r)),
                 ReportRows::number(r.members), ReportRows::text(DispositionText(r).left(dispositionWidth)),
                 ReportRows::number(r.venitm.toDouble()), ReportRows::number(r.months), ReportRows::text(r.codclt),
                 ReportRows::number(documents::WholePercent(r.cuantum.toDouble())),
                 ReportRows::number(r.valmax.toDouble())});
}

void AddSupplementColumns(ReportRows &rows, Energy e)
{
    for (const char *c : {"TITULAR", "CNP", "ADRESA", "NR_DISP"})
        rows.addColumn(c, ColumnKind::Text);
    rows.addColumn("NR_MEMBRI", ColumnKind::Number);
    rows.addColumn("VENITM", ColumnKind::Number);
    switch (e) {
    case Energy::Thermal:
        rows.addColumn("CODCLT", ColumnKind::Text);
        rows.addColumn("SUMAT", ColumnKind::Number);
        break;
    case Energy::Gas:
        rows.addColumn("CODCLG", ColumnKind::Text);
        rows.addColumn("PODG", ColumnKind::Text);
        rows.addColumn("SUMAG", ColumnKind::Number);
        break;
    case Energy::Electricity:
        rows.addColumn("CODCLE", ColumnKind::Text);
        rows.addColumn("PODE", ColumnKind::Text);
        rows.addColumn("SUMAE", ColumnKind::Number);
        break;
    case Energy::Wood: rows.addColumn("SUMAL", ColumnKind::Number); break;
    }
}

void AddSupplementRow(ReportRows &rows, const ApplicationRow &r, Energy e)
{
    std::vector<xls::FieldValue> v{ReportRows::text(r.subsemn), ReportRows::text(r.cnp),
                                   // Taken straight from the applications: not cut to a table's width.
                                   ReportRows::text(JoinedAddress(r, 200)), ReportRows::text(DispositionText(r)),
                                   ReportRows::number(r.members), ReportRows::number(r.venitm.toDouble())};
    switch (e) {
    case Energy::Thermal: v.push_back(ReportRows::text(r.codclt)); break;
    case Energy::Gas:
        v.push_back(ReportRows::text(r.codclg));
        v.push_back(ReportRows::text(r.podg));
        break;
    case Energy::Electricity:
        v.push_back(ReportRows::text(r.codcle));
        v.push_back(ReportRows::text(r.pode));
        break;
    case Energy::Wood: break;
    }
    v.push_back(ReportRows::number(EnergyAmount(r, e).toDouble()));
    rows.addRow(std::move(v));
}

void ReplaceSupplementMarkers(xls::WorkbookFiller &filler, const ReportIdentity &id)
{
    auto put = [&](const char *marker, const QString &value) {
        filler.ReplaceText(marker, XValue::Text(value.toStdString()));
    };
    put("[JUDET]", id.codJud + QStringLiteral("   ") + id.judet);
    put("[LOCALIT]", id.localit);
    put("[PRIMAR]", id.primar);
    put("[INTOCMIT]", id.intocmit);
    put("[LUNA]", id.ll());
    put("[ANUL]", id.aaaa());
}

QString ExtractTemplate(const QString &resource, const QString &prefix)
{
    const QString path = NewTempFile(prefix, QStringLiteral(".xls"));
    if (path.isEmpty() || !ExtractResource(resource, QStringLiteral("MODEL"), path))
        return {};
    return path;
}

void SaveFilled(xls::WorkbookFiller &filler, const QString &target)
{
    filler.CloseResult(false);
    const QString output = QString::fromStdString(filler.outputName());
    if (QFile::rename(output, target))
        return;
    // The temporary folder may be on another disk than the chosen folder.
    const bool copied = QFile::copy(output, target);
    QFile::remove(output);
    if (!copied)
        throw std::runtime_error(("Fisierul " + target + " nu poate fi scris!").toStdString());
}

} // namespace focaris::reports
