// The CNP field and the numeric field as a person types into them.
#include "gui/widgets/CnpEdit.h"
#include "gui/widgets/NumericEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace focaris::gui {
namespace {

TEST(CnpField, OnlyDigitsUpToThirteenWhateverWayTheyArrive)
{
    CnpEdit e;
    QSignalSpy changes(&e, &QLineEdit::textChanged);
    QTest::keyClicks(&e, "18a0 1-0");
    EXPECT_EQ(e.text(), "18010");
    QTest::keyClick(&e, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(e.text(), "180105");
    QTest::keyClicks(&e, "123456789");
    EXPECT_EQ(e.text(), "1801051234567");
    EXPECT_EQ(changes.count(), 13);
    // Caret in the middle: Backspace takes the digit before it, Delete the one after it.
    e.setCursorPosition(2);
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), "101051234567");
    QTest::keyClick(&e, Qt::Key_Delete);
    EXPECT_EQ(e.text(), "11051234567");
    e.end(false);
    QTest::keyClick(&e, Qt::Key_Delete);
    EXPECT_EQ(e.text(), "11051234567");
    // A selection is replaced by the digit typed.
    e.setSelection(0, 11);
    QTest::keyClick(&e, Qt::Key_7);
    EXPECT_EQ(e.text(), "7");
    e.setText("0");
    QTest::keyClick(&e, Qt::Key_4);
    EXPECT_EQ(e.text(), "4");

    // Pasted text goes through the same rule: digits only, no more than 13.
    e.clear();
    QApplication::clipboard()->setText("CNP: 1800101-123456 789");
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.text(), "1800101123456");
    e.clear();
    e.insertDigits("2\"; DROP 8");
    EXPECT_EQ(e.text(), "28");
}

TEST(CnpField, AnswersValidityBirthDateAndSex)
{
    CnpEdit e;
    EXPECT_FALSE(e.isValid());
    e.setAcceptsEmpty(true);
    EXPECT_TRUE(e.isValid());
    e.insertDigits("6050101123457");
    EXPECT_EQ(e.birthDate(), QDate(2005, 1, 1));
    EXPECT_EQ(e.sex(), "feminin");
}

TEST(NumericField, KeystrokesFollowTheFieldRules)
{
    NumericEdit n(4, 2);
    EXPECT_EQ(n.text(), "0");
    n.setFocus();
    n.end(false);
    QTest::keyClick(&n, Qt::Key_0); // "00" is refused with a beep
    EXPECT_EQ(n.text(), "0");
    EXPECT_EQ(n.beeps(), 1);
    QTest::keyClick(&n, Qt::Key_7); // a digit replaces the lone 0
    EXPECT_EQ(n.text(), "7");
    QTest::keyClicks(&n, "1234"); // four integer digits at most
    EXPECT_EQ(n.text(), "7123");
    EXPECT_EQ(n.beeps(), 2);
    QTest::keyClicks(&n, ".5."); // one separator
    EXPECT_EQ(n.text(), "7123.5");
    QTest::keyClicks(&n, "67"); // two decimals
    EXPECT_EQ(n.text(), "7123.56");
    QTest::keyClicks(&n, "-a"); // no sign, no letters
    EXPECT_EQ(n.text(), "7123.56");
    EXPECT_EQ(n.beeps(), 6);
    QTest::keyClick(&n, Qt::Key_Home);
    QTest::keyClick(&n, Qt::Key_Delete); // Delete does nothing
    EXPECT_EQ(n.text(), "7123.56");
    n.end(false);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(&n, Qt::Key_Backspace);
    EXPECT_EQ(n.text(), "0"); // erasing the last character leaves 0
    EXPECT_EQ(n.value(), Amount());
    n.setText(".5");
    EXPECT_EQ(n.value(), Amount::fromUnits(5000));

    // A whole-number field takes no separator; a pasted text must fit as a whole.
    NumericEdit whole(2, 0);
    whole.selectAll();
    QApplication::clipboard()->setText("123");
    QTest::keyClick(&whole, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(whole.text(), "0");
    QApplication::clipboard()->setText("12");
    QTest::keyClick(&whole, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(whole.text(), "12");
    QTest::keyClick(&whole, Qt::Key_Period);
    EXPECT_EQ(whole.text(), "12");
}

TEST(NumericField, EnteringSelectsTheWholeText)
{
    QWidget w;
    auto *a = new NumericEdit(4, 0, &w);
    auto *b = new NumericEdit(4, 0, &w);
    b->setText("25");
    w.show();
    QApplication::setActiveWindow(&w);
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Tab);
    ASSERT_TRUE(b->hasFocus());
    QTest::keyClick(b, Qt::Key_3);
    EXPECT_EQ(b->text(), "3");
}

} // namespace
} // namespace focaris::gui
