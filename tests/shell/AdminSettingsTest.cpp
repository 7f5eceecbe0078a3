// Loading, storing and checking the administration window's values.
#include "ShellFixture.h"

#include "admin/AdminSettings.h"

#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;

namespace {

class AdminSettingsTest : public ShellFixture {};

TEST_F(AdminSettingsTest, DefaultsWhenNothingIsStored)
{
    AdminForm form;
    LoadAdminSettings(form);
    EXPECT_EQ(form.identity.uat, "U.A.T.");
    EXPECT_EQ(form.identity.judet, "ALBA");
    EXPECT_EQ(form.lim[0], "200");
    EXPECT_EQ(form.lim[9], "1386");
    EXPECT_EQ(form.lim[10], "2053");
    EXPECT_EQ(form.cu[10], "10");
    EXPECT_EQ(form.indE2, 70);
    EXPECT_EQ(form.cl[0], "0.82");
    EXPECT_EQ(form.cl[2], "1.7");
    EXPECT_EQ(form.caleServer, "-");
    // No candidate folder for the automatic saves: "-", and the key stays absent so the
    // search repeats at the next start.
    EXPECT_EQ(form.caleSalvari, "-");
    EXPECT_TRUE(ReadMachineSetting("CALESALVARI").isEmpty());
}

TEST_F(AdminSettingsTest, DefaultSaveFolderIsCreatedAndStored)
{
    const QString unusable = root + "/missing-drive";
    const QString drive = root + "/drive";
    QDir().mkpath(drive);
    qputenv("FOCARIS_SAVE_ROOTS", (unusable + ":" + drive).toLocal8Bit());
    AdminForm form;
    LoadFolderLabels(form);
    EXPECT_EQ(form.caleSalvari, drive + "/Salvari_Date");
    EXPECT_TRUE(QFileInfo(drive + "/Salvari_Date").isDir());
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), drive + "/Salvari_Date");
    // A stored "-" stays "-".
    WriteMachineSetting("CALESALVARI", "-");
    LoadFolderLabels(form);
    EXPECT_EQ(form.caleSalvari, "-");
}

TEST_F(AdminSettingsTest, StoredValuesComeBackAndAbsentOnesKeepTheWindowsValues)
{
    WriteSetting("SETARI", "Lim3", "450");
    WriteSetting("SETARI", "Cu3", "");
    WriteSetting("SETARI", "IndG", "12.9");
    WriteSetting("SETARI", "IndT", "abc");
    WriteSetting("SETARI", "CL2", "1.30");
    AdminForm form;
    form.cu[2] = "81";
    form.indT = 11;
    LoadAdminSettings(form);
    EXPECT_EQ(form.lim[2], "450");
    EXPECT_EQ(form.cu[2], "81");  // empty key: the current value stays
    EXPECT_EQ(form.indG, 12);     // truncated
    EXPECT_EQ(form.indT, 11);     // not a number: the current value stays
    EXPECT_EQ(form.cl[1], "1.3"); // shortest decimal form
}

TEST_F(AdminSettingsTest, StoreChecksInOrderAndStoresOnlyWhenAllPass)
{
    AdminForm form;
    form.identity.primaria = "   ";
    form.identity.judet.clear();
    auto check = StoreAdminForm(form);
    EXPECT_EQ(check.field, AdminField::Localit);
    EXPECT_EQ(check.hint, "Nu ati completat numele UAT!");

    form.identity.primaria = " SANTANA   DE  MURES ";
    check = StoreAdminForm(form);
    EXPECT_EQ(check.field, AdminField::Judet);
    EXPECT_EQ(check.hint, "Nu ati ales Judetul!");
    EXPECT_EQ(form.identity.primaria, "SANTANA DE MURES");

    form.identity.judet = "MURES";
    check = StoreAdminForm(form);
    EXPECT_EQ(check.field, AdminField::CodFiscal);
    EXPECT_EQ(check.hint, "Nu ati scris Codul Fiscal!");

    form.identity.sirues = "RO 4322650";
    check = StoreAdminForm(form);
    EXPECT_EQ(check.hint, "Cod Fiscal incorect!");
    EXPECT_TRUE(ReadSetting("SETARI", "PRIMARIA").isEmpty());

    form.identity.sirues = "RO 4322653";
    form.lim[0] = "210";
    form.cl[3] = "2.5";
    check = StoreAdminForm(form);
    ASSERT_TRUE(check.ok()) << check.hint.toStdString();
    EXPECT_EQ(form.identity.codJud, "28");
    EXPECT_EQ(ReadSetting("SETARI", "PRIMARIA"), "SANTANA DE MURES");
    EXPECT_EQ(ReadSetting("SETARI", "JUDET"), "MURES");
    EXPECT_EQ(ReadSetting("SETARI", "CODJUD"), "28");
    EXPECT_EQ(ReadSetting("SETARI", "SIRUES"), "RO 4322653");
    EXPECT_EQ(ReadSetting("SETARI", "Lim1"), "210");
    EXPECT_EQ(ReadSetting("SETARI", "CL4"), "2.5");

    // A typed county code is never replaced.
    form.identity.codJud = " MS ";
    ASSERT_TRUE(StoreAdminForm(form).ok());
    EXPECT_EQ(ReadSetting("SETARI", "CODJUD"), "MS");
}

} // namespace
