// Steps of the month's road that both road tests walk the same way: a step run while a
// window waits in exec(), the pictures of the clerk's guide, a month added in "Perioada in
// lucru", the dispositions numbered and printed from the applications list.
#pragma once

#include "FakeUi.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/documents/DispositionRangeDialog.h"
#include "gui/periods/AddMonthDialog.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/widgets/DateField.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace focaris::test {

// Runs `step` on the next turn of the event loop, while a window waits in exec().
inline void whenShown(std::function<void()> step)
{
    QTimer::singleShot(0, std::move(step));
}

// With FOCARIS_SCREENSHOTS set (`make guide-screens`), saves the window as it looks at this
// step as "drum-NAME.png" there, for the clerk's guide.
inline void picture(QWidget *window, const char *name)
{
    const QString folder = qEnvironmentVariable("FOCARIS_SCREENSHOTS");
    if (!folder.isEmpty())
        window->grab().save(folder + "/drum-" + name + ".png", "PNG");
}

// "&Adauga luna" in "Perioada in lucru": the month chosen, the year typed, "&Adauga", then
// "&Memoreaza" keeps the list.
inline void addMonth(gui::PeriodWindow &window, int monthIndex, const QString &year)
{
    window.load();
    window.show();
    whenShown([&window, monthIndex, year] {
        gui::AddMonthDialog &d = window.addDialog();
        d.monthList()->setCurrentIndex(monthIndex);
        d.yearField()->selectAll();
        QTest::keyClicks(d.yearField(), year);
        QTest::mouseClick(d.addButton(), Qt::LeftButton);
        if (d.isVisible())
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(window.button("AddButton"), Qt::LeftButton);
    QTest::mouseClick(window.button("SaveButton"), Qt::LeftButton);
}

// "&Numeroteaza dispozitiile": the category (1 "Aprobate", 3 "Respinse"), the range of
// application numbers, the first disposition number and the date; `also` acts on the dialog
// last, just before Enter.
inline void numberDispositions(gui::ApplicationsListWindow &list, int category, const QString &from, const QString &to,
                               const QString &first, const QDate &date,
                               const std::function<void(gui::NumberingDialog &)> &also = {})
{
    gui::NumberingDialog &nd = list.numberingDialog();
    whenShown([&nd, category, from, to, first, date, also] {
        nd.category()->setCurrentIndex(category);
        nd.from()->setText(from);
        nd.to()->setText(to);
        nd.first()->setText(first);
        nd.date()->setDate(date);
        if (also)
            also(nd);
        QTest::keyClick(nd.date(), Qt::Key_Return);
    });
    QTest::mouseClick(list.button("NumberDispositions"), Qt::LeftButton);
    EXPECT_FALSE(nd.isVisible());
}

// A disposition item of "Listeaza Dispozitii" for the disposition numbers from..to, through
// its range window; the document opened, or an empty text when none was.
inline QString printDispositions(FakeUi &ui, gui::ApplicationsListWindow &list,
                                 gui::ApplicationsListWindow::Command command, const QString &from, const QString &to)
{
    ui.opened.clear();
    whenShown([from, to] {
        auto *w = dynamic_cast<gui::DispositionRangeDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        w->firstNumber()->setText(from);
        w->lastNumber()->setText(to);
        QTest::mouseClick(w->listButton(), Qt::LeftButton);
    });
    list.trigger(command);
    EXPECT_EQ(ui.opened.size(), 1) << list.caption(command).toStdString() << ": " << ui.lastMessage().toStdString();
    return ui.opened.value(0);
}

} // namespace focaris::test
