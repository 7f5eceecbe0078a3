// The desktop program's wiring.
#include "gui/shell/Program.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/TempFiles.h"
#include "documents/ResourceStore.h"
#include "documents/TemplateMenu.h"
#include "gui/shell/ApplicationsWiring.h"
#include "gui/shell/GuideWindow.h"
#include "gui/shell/PeriodsWiring.h"
#include "gui/shell/ReportsWiring.h"
#include "gui/shell/SafetyWiring.h"
#include "gui/widgets/WindowAccess.h"
#include "shell/Access.h"
#include "shell/Passwords.h"

#include <QApplication>
#include <QDir>

namespace focaris::gui {

Program::Program(Ui *ui, QObject *parent)
    : QObject(parent),
      ui_(ui ? *ui : static_cast<Ui &>(desktopUi_)),
      start_(QString::fromLatin1(shell::kVersionText)),
      main_(ui_),
      admin_(ui_),
      suggestion_(ui_)
{
    // Every window of the program gets its labels, names and Tab order when first shown.
    InstallWindowAccess();
    startupSteps = shell::StartupSteps::defaults();
    startupSteps.loadAdminSettings = [this] { admin_.loadSettings(); };
    sessionSteps = shell::SessionSteps::defaults();
    readLog = [] { return shell::ReadLog(); };
    wireMainWindow();
    wireAdminWindow();
    AttachSafetyWindows(*this);
}

QWidget *Program::frontWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return main_.isVisible() ? static_cast<QWidget *>(&main_) : static_cast<QWidget *>(&start_);
}

void Program::wireMainWindow()
{
    main_.setAction(MainWindow::Command::Admin, [this] { clickAdmin(); });
    // "Perioada" and the working-month label.
    WirePeriods(main_, ui_);
    main_.setAction(MainWindow::Command::Applications, [this] {
        if (!SettingsReady(ui_))
            return;
        OpenApplicationsList(ui_, main_);
    });
    main_.setAction(MainWindow::Command::ChangeLog, [this] { showLog(); });
    main_.setAction(MainWindow::Command::Suggestions, [this] { suggestion_.exec(); });
    main_.setAction(MainWindow::Command::Guide, [this] { ShowGuide(&main_); });
    main_.setAction(MainWindow::Command::About, [this] { about_.exec(); });
    main_.setAction(MainWindow::Command::Law226, [this] { openLegislation(QStringLiteral("L226")); });
    main_.setAction(MainWindow::Command::Norms1073, [this] { openLegislation(QStringLiteral("HG1073")); });
    main_.setAction(MainWindow::Command::ApplicationAnnex, [this] { openLegislation(QStringLiteral("CEREREPDF")); });
    // The county agency's report and the supplier reports of "Liste / Formulare".
    WireAgencyReports(main_, ui_);
    // The exports of the "Liste / Formulare" menu (national agency, tax agency, treasury,
    // the office's lists).
    WireExportsMenu(main_, ui_, [this] { clickAdmin(); });
    main_.onClosing = [this](bool periodShown) {
        decision_ = shell::DecideSave(ui_, shell::CurrentCloseState(periodShown));
    };
}

void Program::wireAdminWindow()
{
    admin_.onEndProgram = [this] {
        decision_ = {};
        main_.closeWithoutQuestions();
    };
    admin_.onRecalculate = [this] {
        if (shell::RefuseReadOnly(ui_, QStringLiteral("Recalculare")))
            return;
        RecalculateFromAdmin(ui_, admin_);
    };
    admin_.onTemplate = [this](const TemplateMenuItem &item, bool reset) {
        // Editing or resetting a template changes what every document prints.
        if (shell::RefuseReadOnly(ui_,
                                  reset ? QStringLiteral("Refacere model") : QStringLiteral("Modificare formulare")))
            return;
        if (reset)
            ResetTemplate(ui_, DataFolder(), item);
        else
            EditTemplate(ui_, DataFolder(), item);
    };
}

void Program::clickAdmin()
{
    switch (shell::ClickAdmin(ui_)) {
    case shell::AdminClick::OpenWindow:
        if (shell::RefuseReadOnly(ui_, QStringLiteral("Administrare")))
            return;
        admin_.exec();
        break;
    case shell::AdminClick::Unlocked:
    case shell::AdminClick::UnlockedReadOnly: main_.unlockAdmin(); break;
    case shell::AdminClick::WrongPassword:
    case shell::AdminClick::Cancelled: break;
    }
}

void Program::showLog()
{
    log_.setRows(readLog ? readLog() : QVector<LogRow>{});
    log_.exec();
}

void Program::openLegislation(const QString &resourceName)
{
    // Written to a fresh temporary file and handed to the desktop's viewer; the program
    // does not wait for it.
    const QString file = NewTempFile(QStringLiteral("Lege"), QStringLiteral(".pdf"));
    if (!file.isEmpty() && ExtractResource(resourceName, QStringLiteral("LEGE"), file))
        ui_.openDocument(file);
}

bool Program::startUp(const QString &executable, const QStringList &arguments)
{
    shell::StartupOptions options;
    options.executable = executable;
    options.arguments = arguments;
    shell::StartupFeedback feedback;
    feedback.status = [this](const QString &text) { start_.setStatus(text); };
    feedback.barMaximum = [this](int max) { start_.setBarMaximum(max); };
    feedback.barPosition = [this](int pos) { start_.setBarPosition(pos); };
    const shell::StartupResult result = shell::RunStartup(ui_, options, startupSteps, feedback);
    if (result.handedOver)
        return false;
    sessionFolder_ = result.sessionFolder;
    main_.setWorkMode(result.workMode);
    main_.setWindowTitle(result.caption);
    start_.unsetCursor();
    return true;
}

void Program::runAll(const QString &executable, const QStringList &arguments)
{
    try {
        if (!startUp(executable, arguments)) {
            cleanUp();
            return;
        }
        start_.hide();
        shell::RunSession(ui_, sessionSteps, [this] {
            decision_ = {};
            main_.setMonth(WorkingMonth());
            main_.exec();
            return decision_;
        });
    } catch (const std::exception &e) {
        ui_.message(QStringLiteral("Eroare"), QString::fromUtf8(e.what()), MessageKind::Error, MessageButton::OK);
    }
    cleanUp();
}

void Program::cleanUp()
{
    // The temporary folder (with any unpacked save) and the engine's session folder go
    // at the end of every run.
    if (!TempFolder().isEmpty())
        DeleteFolder(TempFolder());
    if (!sessionFolder_.isEmpty())
        DeleteFolder(sessionFolder_);
}

} // namespace focaris::gui
