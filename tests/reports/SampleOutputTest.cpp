// Writes every report of the hand-worked folder into FOCARIS_REPORT_SAMPLES when it is
// set (interop/reports.sh opens them in LibreOffice and renders their first pages);
// otherwise there is nothing to do.
#include "ReportsFixture.h"

#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/EonSupplierDialog.h"
#include "reports/AjpisReport.h"
#include "reports/EonReport.h"
#include "reports/SupplierReport.h"

#include <QComboBox>
#include <QTimer>

namespace focaris::test {
namespace {

class SampleOutputTest : public ReportsTest {};

TEST_F(SampleOutputTest, WritesTheSamplesWhenAsked)
{
    const QString target = qEnvironmentVariable("FOCARIS_REPORT_SAMPLES");
    if (target.isEmpty())
        GTEST_SKIP() << "FOCARIS_REPORT_SAMPLES is not set";
    QDir().mkpath(target);
    ui.folderAnswers = {target, target, target};
    ui.messageAnswers = {MessageResult::Da, MessageResult::Da, MessageResult::Da};
    ASSERT_TRUE(reports::MakeAjpisReport(ui, 24298, 24302).done);
    ASSERT_TRUE(reports::MakeSupplierReport(ui).done);
    reports::EonChoice choice = reports::LoadEonChoice();
    choice.supplier = "E.ON GAZ";
    for (auto &entry : choice.postalCodes)
        entry.second = "540001";
    ASSERT_TRUE(reports::MakeEonReport(ui, choice).done);
}

// The pictures of the two report dialogs for docs/screens, when FOCARIS_REPORT_SCREENS
// names the folder.
TEST_F(SampleOutputTest, PhotographsTheDialogsWhenAsked)
{
    const QString target = qEnvironmentVariable("FOCARIS_REPORT_SCREENS");
    if (target.isEmpty())
        GTEST_SKIP() << "FOCARIS_REPORT_SCREENS is not set";
    gui::AjpisPeriodDialog period(ui);
    reports::ReportPeriod chosen;
    QTimer::singleShot(0, [&] {
        period.grab().save(target + "/rapoarte-perioada.png", "PNG");
        period.reject();
    });
    period.ask(chosen);
    WriteSetting("CODURIP", "TARGU MURES", "540001");
    gui::EonSupplierDialog eon(ui);
    reports::EonChoice choice = reports::LoadEonChoice();
    QTimer::singleShot(0, [&] {
        eon.supplier()->setCurrentIndex(0);
        eon.grab().save(target + "/raport-eon.png", "PNG");
        eon.reject();
    });
    eon.ask(choice);
}

} // namespace
} // namespace focaris::test
