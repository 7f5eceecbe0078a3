// The template menu's edit and reset actions as the person sees them: the messages, the
// "open" request, and what happens to the files.
#include "documents/TemplateMenu.h"
#include "documents/ResourceStore.h"
#include "documents/RtfOpen.h"
#include "documents/TemplateStore.h"

#include "FakeUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris;
using namespace focaris::test;

namespace {

std::string builtIn(const char *resource)
{
    return ResourceBytes(QString::fromLatin1(resource), QStringLiteral("Model"))->toStdString();
}

class TemplateMenuTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeUi ui;
    const TemplateMenuItem &stat = *FindTemplateMenuItem(QStringLiteral("RefaStat"));
    void SetUp() override { InstallMissingFiles(dir.qpath()); }
};

TEST_F(TemplateMenuTest, EveryMenuEntryNamesAnInstalledTemplate)
{
    for (const TemplateMenuItem &item : kTemplateMenu) {
        EXPECT_TRUE(std::filesystem::exists(dir / item.file)) << item.file;
        EXPECT_EQ(FindTemplateMenuItem(QLatin1String(item.editItem)), &item);
    }
    EXPECT_EQ(FindTemplateMenuItem(QStringLiteral("Nimic")), nullptr);
}

TEST_F(TemplateMenuTest, EditWarnsThenAsksTheDesktopToOpenTheTemplate)
{
    std::filesystem::rename(dir / "Referat.rtf", dir / "REFERAT.RTF");
    EditTemplate(ui, dir.qpath(), *FindTemplateMenuItem(QStringLiteral("EditReferat")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Modificare formulare"));
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("Dupa modificare, apasati SAVE!\rNu modificati textul dintre parantezele "
                             "patrate!\rParantezele patrate vor fi inlocuite cu valori la listare!"));
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MessageButton::OK);
    EXPECT_EQ(ui.opened, QStringList{dir.qpath() + QStringLiteral("/REFERAT.RTF")});
}

TEST_F(TemplateMenuTest, ResetAfterConfirmationRestoresThisAndEveryMissingTemplate)
{
    writeFile(dir / "Stat.xls", "edited");
    std::filesystem::remove(dir / "Referat.rtf");

    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(ResetTemplate(ui, dir.qpath(), stat));
    EXPECT_EQ(readFile(dir / "Stat.xls"), "edited");
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Refacere model"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Doriti readucerea modelului de Stat de plata la forma "
                                                  "initiala?\r( Acesta trebuie sa fie inchis! )"));
    EXPECT_EQ(ui.messages[0].buttons, MessageButton::Da | MessageButton::Nu);

    ui.messageAnswers = {MessageResult::Da};
    EXPECT_TRUE(ResetTemplate(ui, dir.qpath(), stat));
    EXPECT_EQ(readFile(dir / "Stat.xls"), builtIn("Stat"));
    EXPECT_EQ(readFile(dir / "Referat.rtf"), builtIn("Referat"));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].title, QStringLiteral("Refacere Model"));
    EXPECT_EQ(ui.messages[2].text, QStringLiteral("\rModelul de Stat de plata a fost refacut!"));
    EXPECT_EQ(ui.messages[2].kind, MessageKind::Information);
}

TEST_F(TemplateMenuTest, ResetOfAnOpenTemplateChangesNothing)
{
    writeFile(dir / "Stat.xls", "edited");
    writeFile(dir / ".~lock.Stat.xls#", "lock");
    std::filesystem::remove(dir / "Referat.rtf");
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_FALSE(ResetTemplate(ui, dir.qpath(), stat));
    EXPECT_EQ(readFile(dir / "Stat.xls"), "edited");
    EXPECT_FALSE(std::filesystem::exists(dir / "Referat.rtf"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].title, QStringLiteral("Initializare model"));
    EXPECT_EQ(ui.messages[1].text,
              QStringLiteral("\rModelul de Stat de plata este deschis!\rInchideti-l si mai incercati odata!"));
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Error);
}

TEST_F(TemplateMenuTest, FinishedDocumentIsOpenedThroughTheUi)
{
    rtf::TRTFReplace engine;
    engine.RTFSursa = (dir / "Referat.rtf").string();
    engine.RTFDest = (dir / "Referat0.rtf").string();
    EXPECT_FALSE(OpenResult(engine, ui));
    ASSERT_TRUE(engine.BeginDocument());
    engine.EmitBody(1);
    engine.EndDocument();
    EXPECT_TRUE(OpenResult(engine, ui));
    EXPECT_EQ(ui.opened, QStringList{QString::fromStdString(engine.RTFDest)});
}

} // namespace
