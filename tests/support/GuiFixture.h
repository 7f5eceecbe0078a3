// Widget tests on a scratch installation: the working context and the settings files in a
// temporary folder, the answers of the person scripted through FakeUi.
#pragma once

#include "FakeUi.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/Settings.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace focaris::test {

class GuiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        InitContextForTests(tmp.qpath() + "/prog");
    }

    TempDir tmp;
    FakeUi ui;
};

} // namespace focaris::test
