// The about window and the utilities menu entry that opens it; the programs' --version.
#include "GuiFixture.h"
#include "TestSupport.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/MainWindow.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace focaris::test {
namespace {

class AboutTest : public GuiFixture {};

TEST_F(AboutTest, ShowsNameVersionAndLicenceAndIsTheLastUtility)
{
    gui::AboutWindow about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Despre program"));
    const QStringList lines = about.text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.value(0), QStringLiteral("Foc aris"));
    EXPECT_EQ(lines.value(1), QStringLiteral("versiunea  1.0029"));
    EXPECT_TRUE(about.text().contains(QStringLiteral("Licenta:")));

    gui::MainWindow main(ui);
    const QList<QAction *> items = main.utilitiesMenu()->actions();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.back()->text(), QStringLiteral("Despre program"));
}

TEST(Version, ToolPrintsItsVersion)
{
    std::string out;
    ASSERT_EQ(run(shellQuote(toolPath()) + " --version", &out), 0);
    EXPECT_EQ(out, "focaris-tool 1.0029\n");
}

} // namespace
} // namespace focaris::test
