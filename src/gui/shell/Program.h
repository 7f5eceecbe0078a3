// The desktop program put together: the Ui, the start window, the main window, the
// administration window and the log viewer, the start-up sequence run one second after
// the start window shows, the main window session and the clean-up at the end. Each
// window is created once and reused.
#pragma once

#include "gui/admin/AdminWindow.h"
#include "gui/shell/AboutWindow.h"
#include "gui/shell/GuiUi.h"
#include "gui/shell/LogViewer.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/StartWindow.h"
#include "gui/shell/SuggestionWindow.h"
#include "shell/Session.h"
#include "shell/Startup.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace focaris::gui {

class Program : public QObject {
    Q_OBJECT
public:
    // `ui` replaces the desktop dialogs (tests answer from a script); null for the real ones.
    explicit Program(Ui *ui = nullptr, QObject *parent = nullptr);

    // Runs the start-up sequence, the session and the clean-up; returns when the program
    // should end. `arguments` is the command line after the program's name.
    void runAll(const QString &executable, const QStringList &arguments);

    // The start-up alone (the tests and the screenshots use it). False when the process
    // must end at once (an update installer took over).
    bool startUp(const QString &executable, const QStringList &arguments);
    // Clean-up after the session, also after a failure.
    void cleanUp();

    // The window to raise when a second start asks for it.
    QWidget *frontWindow();

    Ui &ui() { return ui_; }
    StartWindow &startWindow() { return start_; }
    MainWindow &mainWindow() { return main_; }
    AdminWindow &adminWindow() { return admin_; }
    LogViewer &logViewer() { return log_; }
    AboutWindow &aboutWindow() { return about_; }
    SuggestionWindow &suggestionWindow() { return suggestion_; }

    // The operations of the start-up and the session; replaceable in tests.
    shell::StartupSteps startupSteps;
    shell::SessionSteps sessionSteps;
    // Reads the rows of the change log for the viewer, oldest first.
    std::function<QVector<LogRow>()> readLog;

    // The administrator button, the log viewer and the legislation documents.
    void clickAdmin();
    void showLog();
    void openLegislation(const QString &resourceName);

private:
    void wireMainWindow();
    void wireAdminWindow();

    GuiUi desktopUi_;
    Ui &ui_;
    StartWindow start_;
    MainWindow main_;
    AdminWindow admin_;
    LogViewer log_;
    AboutWindow about_;
    SuggestionWindow suggestion_;
    shell::SaveDecision decision_;
    QString sessionFolder_;
};

} // namespace focaris::gui
