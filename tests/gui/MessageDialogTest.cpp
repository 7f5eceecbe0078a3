// The message dialog: layout, captions and colours by kind, and the result of each way of
// closing it.
#include "GuiFixture.h"

#include "gui/widgets/MessageDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace focaris;
using focaris::gui::MessageDialog;

namespace {

// Runs the dialog and, once it shows, does `act` on it.
int runWith(MessageDialog &d, MessageKind kind, MessageButtons buttons, std::function<void()> act)
{
    QTimer::singleShot(0, &d, [&d, act] {
        if (d.isVisible())
            act();
        else
            d.done(-1);
    });
    return int(d.run("Titlu", "\rText", kind, buttons));
}

TEST(MessageDialogTest, ButtonsArePlacedEvenlyInOneRow)
{
    EXPECT_EQ(MessageDialog::buttonX(1, 1), 134);
    EXPECT_EQ(MessageDialog::buttonX(1, 2), 65);
    EXPECT_EQ(MessageDialog::buttonX(2, 2), 203);
    EXPECT_EQ(MessageDialog::buttonX(1, 3), 30);
    EXPECT_EQ(MessageDialog::buttonX(2, 3), 133);
    EXPECT_EQ(MessageDialog::buttonX(3, 3), 236);
    const int four[] = {10, 93, 176, 259};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(MessageDialog::buttonX(i + 1, 4), four[i]);

    MessageDialog d;
    EXPECT_EQ(d.prepare("T", "x", MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu), 2);
    EXPECT_EQ(d.size(), QSize(339, 171));
    EXPECT_FALSE(d.button(0)->isHidden());
    EXPECT_FALSE(d.button(1)->isHidden());
    EXPECT_TRUE(d.button(2)->isHidden());
    EXPECT_TRUE(d.button(3)->isHidden());
    EXPECT_EQ(d.button(0)->geometry().left(), 65);
    EXPECT_EQ(d.button(1)->geometry().left(), 203);
    EXPECT_EQ(d.button(0)->width(), 72);
    EXPECT_EQ(d.button(0)->text(), "&Da");
    EXPECT_EQ(d.button(1)->text(), "&Nu");

    // OK + Renunt: shown in the order Renunt, OK.
    EXPECT_EQ(d.prepare("T", "x", MessageKind::Warning, MessageButton::OK | MessageButton::Renunt), 2);
    EXPECT_EQ(d.button(2)->geometry().left(), 65);
    EXPECT_EQ(d.button(3)->geometry().left(), 203);
    EXPECT_EQ(d.button(2)->text(), "&Renunt");
    EXPECT_EQ(d.button(3)->text(), "&OK");
}

TEST(MessageDialogTest, CaptionIconAndColoursFollowTheKind)
{
    MessageDialog d;
    struct Case {
        int kind;
        const char *caption;
        QRgb from, to;
    } cases[] = {{0, "Atentie !", 0xB7B18A, 0x383623},  {1, "Eroare", 0xFFD5D5, 0xFF0000},
                 {2, "Informatie", 0xE1DEFA, 0x0000BB}, {3, "Confirmare", 0x81A2D3, 0x365F9C},
                 {9, "Eroare", 0xFFD5D5, 0xFF0000},     {-1, "Eroare", 0xFFD5D5, 0xFF0000}};
    for (const Case &c : cases) {
        d.prepare("Titlu", "a\rb", MessageKind(c.kind), MessageButton::OK);
        EXPECT_EQ(d.windowTitle(), c.caption) << c.kind;
        EXPECT_EQ(d.gradientFrom().rgb() & 0xFFFFFF, c.from) << c.kind;
        EXPECT_EQ(d.gradientTo().rgb() & 0xFFFFFF, c.to) << c.kind;
    }
    EXPECT_EQ(d.titleLabel()->text(), "Titlu");
    // Carriage returns break the line.
    EXPECT_EQ(d.textLabel()->text(), "a\nb");
}

TEST(MessageDialogTest, ResultsOfButtonsEscapeAndEmptySet)
{
    MessageDialog d;
    EXPECT_EQ(
        runWith(d, MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu, [&] { d.button(0)->click(); }), 6);
    EXPECT_EQ(
        runWith(d, MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu, [&] { d.button(1)->click(); }), 7);
    EXPECT_EQ(
        runWith(d, MessageKind::Warning, MessageButton::OK | MessageButton::Renunt, [&] { d.button(2)->click(); }), 2);
    EXPECT_EQ(runWith(d, MessageKind::Information, MessageButton::OK, [&] { d.button(3)->click(); }), 1);
    // Escape gives 2, neither 6 nor 7.
    EXPECT_EQ(runWith(d, MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu,
                      [&] { QTest::keyClick(&d, Qt::Key_Escape); }),
              2);
    // Enter presses the first button.
    EXPECT_EQ(runWith(d, MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu,
                      [&] { QTest::keyClick(d.button(0), Qt::Key_Return); }),
              6);
    // No button: 2 at once, nothing shown.
    EXPECT_EQ(int(d.run("T", "x", MessageKind::Error, {})), 2);
    EXPECT_FALSE(d.isVisible());
}

} // namespace

// While a message is open the desktop may hand the keyboard to a window behind the one
// that asked (the window manager's choice when the message closes): once the message has
// been answered the keyboard is back on the window that asked.
TEST(MessageDialogTest, TheKeyboardGoesBackToTheWindowThatAsked)
{
    QWidget behind, asking;
    for (QWidget *w : {&behind, &asking}) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    asking.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&asking));
    MessageDialog d;
    runWith(d, MessageKind::Confirmation, MessageButton::Da, [&] {
        behind.activateWindow();
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_TRUE(QTest::qWaitForWindowActive(&asking));
    EXPECT_EQ(QApplication::activeWindow(), &asking);
}
