// The document windows driven as the clerk uses them: typing into the fields, Enter and
// Escape, the buttons and the menus of the applications list, with the answers scripted
// through FakeUi; then the settings written and the documents made are checked.
#include "MonthFolder.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "gui/documents/ApplicationRangeDialog.h"
#include "gui/documents/DispositionRangeDialog.h"
#include "gui/documents/DocumentActions.h"
#include "gui/documents/PaymentStatementDialog.h"
#include "gui/documents/SingleDispositionDialog.h"
#include "gui/widgets/DateField.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>

namespace focaris::test {
namespace {

using namespace focaris::gui;

// A Ui that also notes, when a document starts its progress window, whether the list
// was disabled and whether a second click could start another document.
class WatchingUi : public FakeUi {
public:
    std::function<void()> onProgress;
    void progressShow(const QString &d, int m) override
    {
        FakeUi::progressShow(d, m);
        if (onProgress)
            onProgress();
    }
};

// Saves a window's picture into FOCARIS_SCREENSHOTS when that folder is given.
void screenshot(QWidget *w, const char *name)
{
    const QString folder = qEnvironmentVariable("FOCARIS_SCREENSHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + "/" + name, "PNG");
}

// Runs `steps` once the modal window that the next call opens is on the screen.
void whenShown(QDialog *dialog, std::function<void()> steps)
{
    QTimer::singleShot(0, dialog, [dialog, steps] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        steps();
    });
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!edit->inputMask().isEmpty())
        edit->setCursorPosition(0);
    QTest::keyClicks(edit, text);
}

class DocumentWindows : public MonthFolder {
protected:
    void SetUp() override
    {
        MonthFolder::SetUp();
        list.resize(400, 300);
        list.show();
    }
    QWidget list;
    WatchingUi wui;
    qint64 current = 3;
};

TEST_F(DocumentWindows, SeparateDispositionsRangeRefusedThenPrintedWithTheListDisabled)
{
    DocumentActions actions(&list, wui, [this] { return current; });
    DispositionRangeDialog &w = actions.rangeWindow();
    EXPECT_EQ(w.windowTitle(), "Listare Dispozitii");
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w.grantDate()->text(), QDate::currentDate().addMonths(1).toString("01.MM.yyyy"));
    bool listEnabledDuringWork = true, reentered = false;
    wui.onProgress = [&] {
        listEnabledDuringWork = list.isEnabled();
        const auto before = wui.messages.size();
        actions.printDispositions(documents::DispositionKind::Rejection); // a second click
        reentered = wui.messages.size() != before || w.isVisible();
    };
    whenShown(&w, [&] {
        EXPECT_EQ(w.firstNumber()->text(), "1");
        EXPECT_EQ(w.lastNumber()->text(), "1");
        EXPECT_TRUE(w.firstNumber()->hasFocus());
        retype(w.firstNumber(), "5");
        QTest::keyClick(w.firstNumber(), Qt::Key_Return);
        EXPECT_TRUE(w.lastNumber()->hasFocus()) << "Enter moves to the next field";
        retype(w.lastNumber(), "2");
        QTest::mouseClick(w.listButton(), Qt::LeftButton);
        EXPECT_EQ(wui.hints, QStringList{"Intervalul ales este incorect!"});
        EXPECT_TRUE(w.isVisible()) << "a refused range keeps the window open";
        screenshot(&w, "listare-dispozitii.png");
        retype(w.firstNumber(), "02");
        retype(w.lastNumber(), "10");
        retype(w.grantDate(), "01.12.2025");
        QTest::keyClick(w.grantDate(), Qt::Key_Return); // Enter in the date presses "&Listeaza"
    });
    actions.dispositionsMenu()->findChild<QAction *>("GrantDispositionsItem")->trigger();
    ASSERT_EQ(wui.opened.size(), 1) << wui.lastMessage().toStdString();
    EXPECT_EQ(QFileInfo(wui.opened[0]).fileName(), "Dispozitie0.rtf");
    const std::string doc = readFile(wui.opened[0].toStdString());
    EXPECT_NE(doc.find("01.12.2025"), std::string::npos);
    EXPECT_EQ(w.firstNumber()->text(), "2") << "the numbers are written back as whole numbers";
    EXPECT_FALSE(listEnabledDuringWork);
    EXPECT_FALSE(reentered);
    EXPECT_TRUE(list.isEnabled());
    EXPECT_FALSE(actions.busy());

    // Escape cancels: nothing printed.
    whenShown(&w, [&] { QTest::keyClick(w.firstNumber(), Qt::Key_Escape); });
    actions.printDispositions(documents::DispositionKind::Grant);
    EXPECT_EQ(wui.opened.size(), 1);
}

TEST_F(DocumentWindows, MissingTemplateIsReportedAndNothingOpens)
{
    QFile::remove(data() + "/Modificare.rtf");
    DocumentActions actions(&list, wui);
    DispositionRangeDialog &w = actions.rangeWindow();
    whenShown(&w, [&] {
        retype(w.firstNumber(), "10");
        retype(w.lastNumber(), "10");
        QTest::mouseClick(w.listButton(), Qt::LeftButton);
    });
    actions.dispositionsMenu()->findChild<QAction *>("ModificationDispositionsItem")->trigger();
    ASSERT_FALSE(wui.messages.empty());
    EXPECT_EQ(wui.messages.back().title, "Listare Dispozitii");
    EXPECT_EQ(wui.lastMessage(), "Nu exista modelul " + data() + "/Modificare.rtf!");
    EXPECT_TRUE(wui.opened.isEmpty());
    EXPECT_TRUE(list.isEnabled());
}

TEST_F(DocumentWindows, SingleDispositionCancelKeepsTheRememberedTexts)
{
    WriteSetting("DISPCUM", "PERIOADA", "noiembrie 2025 - martie 2026");
    WriteSetting("DISPCUM", "DATAP", "15.12.2025");
    WriteSetting("DISPCUM", "TRIBUNAL", "Mures");
    DocumentActions actions(&list, wui);
    SingleDispositionDialog &w = actions.singleWindow();
    EXPECT_EQ(w.windowTitle(), "Dispozitie Unica");
    EXPECT_EQ(w.number()->text(), "0");
    whenShown(&w, [&] {
        EXPECT_EQ(w.period()->text(), "noiembrie 2025 - martie 2026");
        EXPECT_TRUE(w.number()->hasFocus());
        QTest::keyClicks(w.period(), " schimbat");
        retype(w.court(), "Cluj");
        QTest::keyClick(w.court(), Qt::Key_Escape);
    });
    actions.dispositionsMenu()->findChild<QAction *>("SingleDispositionItem")->trigger();
    EXPECT_EQ(ReadSetting("DISPCUM", "PERIOADA"), "noiembrie 2025 - martie 2026");
    EXPECT_EQ(ReadSetting("DISPCUM", "TRIBUNAL"), "Mures");
    EXPECT_TRUE(wui.opened.isEmpty());

    whenShown(&w, [&] {
        EXPECT_EQ(w.court()->text(), "Mures") << "the texts are read again when the window opens";
        QTest::mouseClick(w.listButton(), Qt::LeftButton);
        EXPECT_EQ(wui.hints, QStringList{"De emotie, ati uitat sa scrieti numarul de Dispozitie de listat!"});
        screenshot(&w, "dispozitie-unica.png");
        retype(w.number(), "010");
        retype(w.court(), "Targu Mures");
        QTest::keyClick(w.court(), Qt::Key_Return);
    });
    actions.printSingleDisposition();
    EXPECT_EQ(ReadSetting("DISPCUM", "TRIBUNAL"), "Targu Mures");
    ASSERT_EQ(wui.opened.size(), 1) << wui.lastMessage().toStdString();
    EXPECT_TRUE(wui.opened[0].endsWith("/XLSTmp0.xls"));
    EXPECT_EQ(w.number()->text(), "10");
}

TEST_F(DocumentWindows, ReportsWindowKeepsItsNumbers)
{
    DocumentActions actions(&list, wui);
    ApplicationRangeDialog &w = actions.reportsWindow();
    EXPECT_EQ(w.windowTitle(), "Referate");
    whenShown(&w, [&] {
        EXPECT_EQ(w.firstNumber()->text(), "0");
        retype(w.firstNumber(), "0105");
        retype(w.lastNumber(), "101");
        QTest::mouseClick(w.listButton(), Qt::LeftButton);
        EXPECT_EQ(wui.hints, QStringList{"Interval incorect!"});
        screenshot(&w, "referate.png");
        QTest::keyClick(w.lastNumber(), Qt::Key_Escape);
    });
    actions.printReports();
    EXPECT_EQ(w.firstNumber()->text(), "105") << "closed either way, the numbers are plain numbers";
    EXPECT_TRUE(wui.opened.isEmpty());
    whenShown(&w, [&] {
        EXPECT_EQ(w.firstNumber()->text(), "105");
        retype(w.firstNumber(), "101");
        retype(w.lastNumber(), "103");
        QTest::keyClick(w.lastNumber(), Qt::Key_Return);
    });
    actions.printReports();
    ASSERT_EQ(wui.opened.size(), 1) << wui.lastMessage().toStdString();
    EXPECT_TRUE(wui.opened[0].contains("/Referat"));
}

TEST_F(DocumentWindows, PaymentStatementSelection)
{
    WriteSetting("CONST", "PERSTAT", "octombrie 2025");
    DocumentActions actions(&list, wui);
    PaymentStatementDialog &w = actions.selectionWindow();
    EXPECT_EQ(w.windowTitle(), "Selectare cereri");
    whenShown(&w, [&] {
        QStringList items;
        for (int i = 0; i < w.locality()->count(); ++i)
            items << w.locality()->itemText(i);
        EXPECT_EQ(items, (QStringList{"* toate localitatile *", "CORUNCA", "SÂNCRAIU"}));
        EXPECT_EQ(w.firstLetter()->currentText(), "A");
        EXPECT_EQ(w.lastLetter()->currentText(), "Z");
        EXPECT_FALSE(w.firstLetter()->isEditable());
        EXPECT_TRUE(w.monthPanel()->isVisible());
        EXPECT_EQ(w.monthText()->text(), "octombrie 2025");
        retype(w.monthText(), "noiembrie 2025");
        w.lastLetter()->setCurrentText("B");
        screenshot(&w, "selectare-cereri.png");
        QTest::mouseClick(w.chooseButton(), Qt::LeftButton);
    });
    actions.printPaymentStatement();
    EXPECT_EQ(ReadSetting("CONST", "PERSTAT"), "noiembrie 2025");
    ASSERT_EQ(wui.opened.size(), 1) << wui.lastMessage().toStdString();
    const auto cells = xlrdCells(wui.opened[0]);
    EXPECT_NE(std::find(cells.begin(), cells.end(), "1,12,2,1,BĂLAN"), cells.end());
    EXPECT_FALSE(w.monthPanel()->isVisible());

    // The letters keep their last choice; the locality list is rebuilt.
    whenShown(&w, [&] {
        EXPECT_EQ(w.lastLetter()->currentText(), "B");
        EXPECT_EQ(w.locality()->currentIndex(), 0);
        QTest::keyClick(w.firstLetter(), Qt::Key_Escape);
    });
    actions.printPaymentStatement();
    EXPECT_EQ(wui.opened.size(), 1);
}

TEST_F(DocumentWindows, InquiryButtonsAndFormMenu)
{
    DocumentActions actions(&list, wui, [this] { return current; });
    actions.addInquiry();
    const QString inquiry = data() + "/A5010101260031.rtf";
    EXPECT_TRUE(QFileInfo::exists(inquiry));
    EXPECT_EQ(wui.opened, QStringList{inquiry});
    actions.showInquiry();
    EXPECT_EQ(wui.opened.size(), 2);
    wui.messageAnswers = {MessageResult::Da};
    actions.deleteInquiry();
    EXPECT_FALSE(QFileInfo::exists(inquiry));

    current = 1;
    actions.formMenu()->findChild<QAction *>("ShortFormItem")->trigger();
    ASSERT_EQ(wui.opened.size(), 3);
    EXPECT_TRUE(wui.opened[2].contains("/Cerere"));
    QStringList captions;
    for (QAction *a : actions.formMenu()->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Anexa 26", "Anexa 2 - Forma prescurtata"}));
    captions.clear();
    for (QAction *a : actions.dispositionsMenu()->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Dispozitie Unica de Stabilire", "Dispozitie de Stabilire Separata",
                                     "Dispozitie de Modificare", "Dispozitie de Respingere"}));
    // The list wires its commands by their names.
    std::map<QString, std::function<void()>> wired;
    actions.wire([&](const QString &command, std::function<void()> handler) { wired[command] = handler; });
    EXPECT_EQ(wired.size(), 11u);
    current = 3;
    wired.at("AddInquiry")();
    EXPECT_TRUE(QFileInfo::exists(inquiry));
    wui.opened.clear();
    wired.at("ShowInquiry")();
    EXPECT_EQ(wui.opened, QStringList{inquiry});
    for (const char *c : {"SingleDisposition", "Reports", "FullForm", "PaymentStatement", "DeleteInquiry"})
        EXPECT_EQ(wired.count(c), 1u) << c;
    for (QMenu *menu : {actions.dispositionsMenu(), actions.formMenu()}) {
        menu->popup(list.mapToGlobal(QPoint(10, 10)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        screenshot(menu, menu == actions.formMenu() ? "meniu-listeaza-cerere.png" : "meniu-listeaza-dispozitii.png");
        menu->hide();
    }
}

} // namespace
} // namespace focaris::test
