// The application editor on a real X desktop with a window manager: after a message box of
// the editor, keys sent to the applications list behind it and a click on the main
// window's "Perioada" followed by Alt+A reach neither window: no other application is
// opened in the editor nor a new one started in it (what was typed stays, the fields that
// these keys cannot change are checked), and no other window opens. The clerk's keys and clicks go through the X server
// (xdotool); every step waits for the state it needs, within one overall bound.
#include "PrivateDesktop.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/shell/ApplicationSetup.h"
#include "gui/shell/ApplicationsWiring.h"
#include "gui/shell/GuiUi.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/PeriodsWiring.h"
#include "gui/widgets/MessageDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace focaris;
using namespace focaris::test;

namespace {

bool shown(QWidget *w)
{
    return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
}

// Runs xdotool; its last command asks the server something, so that every key and click
// before it has been delivered when it returns.
bool xdotool(const QString &commands)
{
    return run("xdotool " + commands.toStdString() + " getwindowfocus >/dev/null") == 0;
}

QString id(QWidget *w)
{
    return QString::number(w->winId());
}

// A valid CNP from its first 12 digits.
QString Cnp(const QString &first12)
{
    static const int weights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i].unicode() - '0') * weights[i];
    return first12 + QString::number(sum % 11 == 10 ? 1 : sum % 11);
}

TEST(Modality, TheEditorKeepsTheKeyboardAndWhatWasTyped)
{
    TempDir tmp;
    qputenv("FOCARIS_SAVE_ROOTS", "");
    InitContextForTests(tmp.qpath() + "/prog");
    CreateTables();
    SetWorkingMonth("11.2025");
    WriteSetting("VARIABILE", "LUNA_LUCRU", "11.2025");
    const int month = MonthCode("11.2025");
    // Two applications in the list: Down and Enter there would open the second one.
    for (int k = 1; k <= 2; ++k)
        ExecSql(QString("INSERT INTO %1 (NRCRT, LUNACRT, LUNADEC, CNP, SUBSEMN, TITT, LOCALIT, FURNT, NR_MEMBRI,"
                        " TVENIT, NR_CERE, DATACERE, STATUT, CUAJUT, TARIF, NRCAM, NR_LUNI) VALUES (%2, %3, %3,"
                        " \"%4\", \"ALTUL %2\", \"ALTUL %2\", \"ORAS\", \"TERMO SA\", 2, 900, %2, \"05.11.2025\","
                        " \"APROBAT\", \"X\", 300, 2, 5)")
                    .arg(Quoted(TablePath("Cereri.dbf")))
                    .arg(k)
                    .arg(month)
                    .arg(Cnp(QString("15001011234%1").arg(k))));

    gui::GuiUi ui;
    gui::MainWindow main(ui);
    gui::WirePeriods(main, ui);
    main.unlockAdmin();
    gui::ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
    auto *editor = list.findChild<gui::ApplicationEditorWindow *>();
    ASSERT_NE(editor, nullptr);
    const QString cnp = Cnp("180010112345");
    auto text = [editor](const char *name) { return static_cast<QLineEdit *>(editor->field(name))->text(); };

    // The road, one step at a time; a step runs once the state it needs is there. Steps
    // that open a window waiting in exec() are posted, so that the poller keeps running.
    enum Step { ShowList, OpenEditor, TypeAndSave, CloseMessage, KeysToList, ClickMain, Check, CleanUp, Done };
    int step = ShowList;
    bool reached = false;
    QString editorTitle, typedCnp, typedNumber, typedIncome;
    QStringList others;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poller;
    auto post = [](std::function<void()> f) { QTimer::singleShot(0, std::move(f)); };
    QObject::connect(&poller, &QTimer::timeout, [&] {
        if (step != CleanUp && clock.elapsed() > 120000) {
            ADD_FAILURE() << "the road stopped at step " << step;
            step = CleanUp;
        }
        auto *message = qobject_cast<gui::MessageDialog *>(QApplication::activeModalWidget());
        switch (step) {
        case ShowList:
            if (shown(&main)) {
                step = OpenEditor;
                post([&] { list.showMonth(month); });
            }
            break;
        case OpenEditor:
            if (shown(&list) && list.model().rowCount() == 2) {
                step = TypeAndSave;
                post([&] { list.trigger(gui::ApplicationsListWindow::Command::AddApplication); });
            }
            break;
        case TypeAndSave:
            if (shown(editor)) {
                step = CloseMessage;
                post([&] {
                    QTest::keyClicks(editor->field("CNPSol"), cnp);
                    QTest::keyClicks(editor->field("SubSemn"), "POPESCU ION");
                    static_cast<QLineEdit *>(editor->field("Nr_Cere"))->setText("50");
                    QTest::keyClicks(static_cast<QComboBox *>(editor->field("Localit"))->lineEdit(), "ORAS");
                    QTest::keyClicks(static_cast<QComboBox *>(editor->field("Furnizor"))->lineEdit(), "TERMO SA");
                    static_cast<QLineEdit *>(editor->field("Tarif"))->setText("300");
                    static_cast<QLineEdit *>(editor->field("NrMembri"))->setText("1");
                    static_cast<QLineEdit *>(editor->field("NrCam"))->setText("1");
                    static_cast<QLineEdit *>(editor->field("VenitTotal"))->setText("99999");
                    // Too much income for an approval: "Cererea NU se incadreaza pentru ajutor!"
                    editor->button("Save")->click();
                });
            }
            break;
        case CloseMessage:
            if (message && shown(message)) {
                step = KeysToList;
                post([message] { QTest::keyClick(message, Qt::Key_Return); });
            }
            break;
        case KeysToList:
            if (!QApplication::activeModalWidget() ||
                !qobject_cast<gui::MessageDialog *>(QApplication::activeModalWidget())) {
                step = ClickMain;
                // The window manager brings the list to the front and gives it the keyboard.
                // The keyboard is put on the list at the server itself, before the keys, so
                // that they reach it whatever the window manager then does.
                post([&] {
                    xdotool("windowactivate " + id(&list) + " windowfocus " + id(&list) + " key Down Return");
                    QGuiApplication::sync();
                });
            }
            break;
        case ClickMain:
            step = Check;
            post([&] {
                QToolButton *perioada = main.button(QStringLiteral("PeriodsButton"));
                const QPoint at = perioada->mapToGlobal(perioada->rect().center());
                xdotool(QString("mousemove %1 %2 click 1 key alt+a").arg(at.x()).arg(at.y()));
                QGuiApplication::sync();
                reached = true;
            });
            break;
        case Check:
            if (reached) {
                editorTitle = editor->isVisible() ? editor->windowTitle() : QString();
                typedCnp = text("CNPSol");
                typedNumber = text("Nr_Cere");
                typedIncome = text("VenitTotal");
                if (const QString shots = qEnvironmentVariable("FOCARIS_SCREENSHOTS"); !shots.isEmpty())
                    editor->grab().save(shots + "/editor-modal.png");
                for (QWidget *w : QApplication::topLevelWidgets())
                    if (w->isVisible() && w != &main && w != &list && w != editor && w->windowType() != Qt::ToolTip &&
                        !w->inherits("focaris::gui::FieldHint"))
                        others << w->metaObject()->className() + QString(" ") + w->windowTitle();
                step = CleanUp;
            }
            break;
        case CleanUp:
            // Whatever opened is closed, the modal windows from the top down and then the
            // editor (which waits in exec() whether or not it was modal); then the loop ends.
            if (QWidget *top = QApplication::activeModalWidget()) {
                if (auto *dialog = qobject_cast<QDialog *>(top))
                    dialog->reject();
                else
                    top->hide();
            } else if (editor->isVisible()) {
                editor->reject();
            } else {
                // The loop returns once every window's own loop has; one shown again
                // meanwhile is closed on a later turn.
                main.hide();
                loop.quit();
            }
            break;
        case Done: break;
        }
    });
    main.show();
    poller.start(20);
    loop.exec();
    poller.stop();

    EXPECT_EQ(editorTitle.toStdString(), "Adaugare Cerere");
    EXPECT_EQ(typedCnp.toStdString(), cnp.toStdString());
    EXPECT_EQ(typedNumber.toStdString(), "50");
    EXPECT_EQ(typedIncome.toStdString(), "99999");
    EXPECT_TRUE(others.isEmpty()) << others.join(", ").toStdString();
}

} // namespace

int main(int argc, char **argv)
{
    PrivateDesktop desktop;
    if (!desktop.start(true)) {
        std::fprintf(stderr, "modality_tests: Xvfb or openbox could not be started\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    gui::SetUpApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
