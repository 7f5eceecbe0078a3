// Every window as a keyboard user and a screen reader meet it: the program started on a
// fresh installation shows each of its windows in turn (the guide's picture walk), and the
// few that walk leaves out are shown here; each control must have a name, no caption,
// label or grid cell may be cut, no two captions of a window may share their Alt letter,
// each Tab chain must be the one kept beside the windows' code, and the hint balloons and
// messages must be announced. The large-text run does the same at 150 % with a larger font.
#include "FakeUi.h"
#include "TestSupport.h"
#include "WindowAudit.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "gui/admin/AdminWindow.h"
#include "gui/admin/LoginDialog.h"
#include "gui/admin/NewPasswordDialog.h"
#include "gui/reports/EonSupplierDialog.h"
#include "gui/reports/TreasuryWindow.h"
#include "gui/shell/GuiUi.h"
#include "gui/shell/Program.h"
#include "gui/widgets/MessageDialog.h"
#include "screens/Screenshots.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

using namespace focaris;
using namespace focaris::test;

namespace {

void showAndHide(QWidget &window)
{
    window.show();
    QCoreApplication::processEvents();
    window.hide();
}

TEST(WindowAccess, EveryWindowIsNamedWholeAndInScreenOrder)
{
    const bool large = !qEnvironmentVariableIsEmpty("FOCARIS_LARGE_TEXT");
    if (large) {
        QFont larger = QApplication::font();
        larger.setPointSizeF(larger.pointSizeF() * 1.5);
        QApplication::setFont(larger);
    }
    TempDir tmp;
    const QString home = tmp.qpath() + "/run";
    qputenv("FOCARIS_HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (tmp.qpath() + "/xdg").toLocal8Bit());
    qputenv("FOCARIS_MACHINE_DIR", (tmp.qpath() + "/machine").toLocal8Bit());
    ResetMachineSettingsLocation();
    qputenv("FOCARIS_SAVE_ROOTS", "");
    const QString pictures = qEnvironmentVariable("FOCARIS_ACCESS_PICTURES", tmp.qpath() + "/pictures");

    WindowAudit audit;
    {
        FakeUi ui;
        gui::Program program(&ui);
        program.startupSteps.registerFileType = nullptr;
        ASSERT_TRUE(program.startUp(home + "/focaris", {}));
        EXPECT_GT(gui::TakeScreenshots(program, pictures), 20);

        // The longest names an office types show whole.
        program.adminWindow().field(QStringLiteral("Localit"))->setText(QStringLiteral("SÂNCRAIU DE MUREŞ"));
        showAndHide(program.adminWindow());
        gui::LoginDialog login(&program.mainWindow());
        showAndHide(login);
        gui::NewPasswordDialog password(&program.mainWindow());
        showAndHide(password);
        gui::TreasuryWindow treasury(ui, &program.mainWindow());
        showAndHide(treasury);
        gui::TreasurySelection letters(&program.mainWindow());
        showAndHide(letters);
        gui::EonSupplierDialog supplier(ui, &program.mainWindow());
        showAndHide(supplier);

        // A real message and a real hint reach assistive technologies.
        gui::GuiUi desktop;
        QTimer::singleShot(0, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        desktop.message(QStringLiteral("Cereri"), QStringLiteral("Cererea NU se incadreaza pentru ajutor!"),
                        MessageKind::Error, MessageButton::OK);
        QLineEdit field;
        field.show();
        desktop.fieldHint(QStringLiteral("Numar incorect!"), &field);
        EXPECT_TRUE(field.hasFocus() || QApplication::focusWidget() == nullptr);
        program.cleanUp();
    }
    const QStringList alerts = audit.alerts();
    EXPECT_TRUE(alerts.filter(QStringLiteral("Cererea NU se incadreaza pentru ajutor!")).size() == 1)
        << alerts.join('|').toStdString();
    EXPECT_TRUE(alerts.filter(QStringLiteral("Numar incorect!")).size() == 1) << alerts.join('|').toStdString();

    std::printf("windows read: %d, controls checked: %d\n", int(audit.windows().size()), audit.controls());
    for (auto it = audit.windows().begin(); it != audit.windows().end(); ++it) {
        EXPECT_TRUE(it->unnamed.isEmpty())
            << it.key().toStdString() << " has controls without a name: " << it->unnamed.join(", ").toStdString();
        EXPECT_TRUE(it->clipped.isEmpty()) << it.key().toStdString() << ": " << it->clipped.join(", ").toStdString();
    }
    if (const QString out = qEnvironmentVariable("FOCARIS_FOCUS_TABLE"); !out.isEmpty()) {
        QFile file(out);
        if (file.open(QIODevice::WriteOnly | QIODevice::Text))
            file.write(audit.chainTable().toUtf8());
    }
    if (!large)
        for (const QString &difference : audit.chainDifferences(QStringLiteral(FOCUS_CHAINS)))
            ADD_FAILURE() << "Tab chain: " << difference.toStdString();
    qunsetenv("FOCARIS_HOME");
    qunsetenv("FOCARIS_MACHINE_DIR");
    ResetMachineSettingsLocation();
}

} // namespace
