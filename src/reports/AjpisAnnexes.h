// The pieces the county agency's report and the supplier reports both fill: the
// municipality's texts, the rows of Annex 1 and of the supplement annexes 14 to 17, the
// built-in templates copied out for one use, and a filled workbook saved where it goes.
#pragma once

#include "reports/AjpisCounts.h"
#include "reports/ReportFiles.h"

#include <QString>

namespace focaris::reports {

// The administration's texts as the annexes print them, and the working month.
struct ReportIdentity {
    QString judet, codJud, localit, codFiscal, primar, intocmit;
    QString tipLoc;    // "COMUNA", "ORASUL" or "MUNICIPIUL"
    QString monthText; // the working month, MM.YYYY
    int month = 0;     // its code
    QString ll() const { return monthText.left(2); }
    QString aaaa() const { return monthText.mid(3, 4); }
};
ReportIdentity LoadIdentity();

// The supplement annexes: 14 thermal energy, 15 gas, 16 electricity, 17 wood.
int SupplementAnnex(Energy e);
// The supplier column of annexes 14 to 16 (FURNT, FURNG, FURNE); empty for wood.
QString SupplierOf(const ApplicationRow &row, Energy e);
// Annex 14..17 takes the approved applications of the working month with that supplement.
bool InSupplementAnnex(const ApplicationRow &row, Energy e, int month);

// Annex 1's columns (SUBSEMN, CNP, ADRESA, NR_MEMBRI, NR_DISP, VENITM, NR_LUNI, CODCLT,
// CUANTUM, VALMAX) for the rows given; the disposition text is cut to `dispositionWidth`.
void AddAnnex1Columns(ReportRows &rows);
void AddAnnex1Row(ReportRows &rows, const ApplicationRow &r, int dispositionWidth);
// The columns of annex 14..17 (TITULAR, CNP, ADRESA, NR_DISP, NR_MEMBRI, VENITM, the
// customer and consumption-point codes, the amount).
void AddSupplementColumns(ReportRows &rows, Energy e);
void AddSupplementRow(ReportRows &rows, const ApplicationRow &r, Energy e);

// The header markers of annexes 14 to 17 ("[JUDET]" with the county code, "[LOCALIT]",
// "[PRIMAR]", "[INTOCMIT]", "[LUNA]", "[ANUL]").
void ReplaceSupplementMarkers(xls::WorkbookFiller &filler, const ReportIdentity &id);

// Copies the built-in template `resource` (type MODEL) to a new temporary file named
// prefix + n + ".xls"; the path, or empty when it could not be written.
QString ExtractTemplate(const QString &resource, const QString &prefix);

// Saves the open workbook and moves it to `target` (replacing nothing: targets are in a
// staging folder or written through a temporary file).
void SaveFilled(xls::WorkbookFiller &filler, const QString &target);

// Hides the progress window when the report ends, however it ends.
class ProgressGuard {
public:
    ProgressGuard(Ui &ui, const QString &text, int maximum) : ui_(ui) { ui_.progressShow(text, maximum); }
    ~ProgressGuard() { ui_.progressHide(); }
    void step(const QString &text)
    {
        ui_.progressStep();
        if (!text.isEmpty())
            ui_.progressText(text);
    }

private:
    Ui &ui_;
};

} // namespace focaris::reports
