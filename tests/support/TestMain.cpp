// The main of every test executable: an offscreen QApplication (widgets may be created)
// speaking Qt's texts in Romanian as the program does, then GoogleTest.
#include "gui/shell/QtRomanian.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    focaris::gui::InstallQtRomanian();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
