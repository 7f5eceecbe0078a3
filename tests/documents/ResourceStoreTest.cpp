// The embedded files: found by name and type in any case, written out byte for byte,
// and never written over a file another program holds.
#include "documents/ResourceStore.h"
#include "documents/TemplateStore.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris;
using namespace focaris::test;

namespace {

TEST(ResourceStore, EveryDataTemplateIsCarriedAndFoundInAnyCase)
{
    for (const DataTemplate &t : kDataTemplates) {
        auto info = FindResource(QString::fromLatin1(t.resource), QStringLiteral("Model"));
        ASSERT_TRUE(info) << t.resource;
        EXPECT_GT(info->size, 0);
        EXPECT_TRUE(QString::fromLatin1(t.file).endsWith(QLatin1Char('.') + info->suffix, Qt::CaseInsensitive))
            << t.resource << " is carried as ." << info->suffix.toStdString();
    }
    auto upper = ResourceBytes(QStringLiteral("REFERAT"), QStringLiteral("MODEL"));
    auto mixed = ResourceBytes(QStringLiteral("referat"), QStringLiteral("model"));
    ASSERT_TRUE(upper && mixed);
    EXPECT_EQ(*upper, *mixed);
    EXPECT_FALSE(FindResource(QStringLiteral("Referat"), QStringLiteral("LEGE")));
    EXPECT_FALSE(FindResource(QStringLiteral("Refera"), QStringLiteral("Model")));
}

TEST(ResourceStore, ExtractWritesTheBytesAndRefusesFilesInUse)
{
    TempDir dir;
    const QString file = dir.qpath() + QStringLiteral("/Anx22.xls");
    const QByteArray bytes = *ResourceBytes(QStringLiteral("Referat"), QStringLiteral("Model"));

    writeFile(dir / "Anx22.xls", "older copy");
    ASSERT_TRUE(ExtractResource(QStringLiteral("Referat"), QStringLiteral("Model"), file));
    EXPECT_EQ(readFile(dir / "Anx22.xls"), bytes.toStdString());

    // Open in the spreadsheet program: nothing written, the file kept.
    writeFile(dir / "Anx22.xls", "open");
    writeFile(dir / ".~lock.Anx22.xls#", "lock");
    EXPECT_FALSE(ExtractResource(QStringLiteral("Referat"), QStringLiteral("Model"), file));
    EXPECT_EQ(readFile(dir / "Anx22.xls"), "open");

    // An unknown resource neither deletes nor writes anything.
    EXPECT_FALSE(
        ExtractResource(QStringLiteral("NoSuch"), QStringLiteral("Model"), dir.qpath() + QStringLiteral("/other.xls")));
    writeFile(dir / "keep.xls", "keep");
    EXPECT_FALSE(
        ExtractResource(QStringLiteral("NoSuch"), QStringLiteral("Model"), dir.qpath() + QStringLiteral("/keep.xls")));
    EXPECT_EQ(readFile(dir / "keep.xls"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir / "other.xls"));

    // A folder that does not exist: reported, not thrown.
    EXPECT_FALSE(ExtractResource(QStringLiteral("Referat"), QStringLiteral("Model"),
                                 dir.qpath() + QStringLiteral("/none/x.rtf")));
}

} // namespace
