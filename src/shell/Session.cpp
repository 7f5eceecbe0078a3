// Closing decisions of the main window.
#include "shell/Session.h"

#include "core/Ui.h"
#include "engines/common/FileNames.h"

#include "core/ChangeLog.h"
#include "core/Context.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "safety/Backup.h"
#include "shell/Access.h"

#include <QFile>

namespace focaris::shell {

SaveDecision DecideSave(Ui &ui, const CloseState &state)
{
    SaveDecision decision;
    if (!state.periodShown)
        return decision;
    if (state.openedSave) {
        if (ui.message(QStringLiteral("Salvare modificari"), QStringLiteral("\rDoriti sa salvati modificarile ?"),
                       MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu) == MessageResult::Da) {
            decision.save = true;
            decision.intoOpenedSave = true;
            return decision;
        }
    }
    if (!state.networkMode && state.autoSaveFolder.trimmed() != QLatin1String("-") &&
        !state.autoSaveFolder.trimmed().isEmpty()) {
        if (ui.message(QStringLiteral("Salvare Automata"),
                       QStringLiteral("\rDoriti sa facem o copie la datele de azi?"), MessageKind::Confirmation,
                       MessageButton::Da | MessageButton::Nu) == MessageResult::Da)
            decision.save = true;
    }
    return decision;
}

CloseState CurrentCloseState(bool periodShown)
{
    CloseState state;
    state.openedSave = !OpenedSave().isEmpty();
    state.periodShown = periodShown;
    state.networkMode = NetworkMode();
    state.autoSaveFolder = ReadMachineSetting(QStringLiteral("CALESALVARI"));
    if (state.autoSaveFolder.trimmed().isEmpty())
        state.autoSaveFolder = QStringLiteral("-");
    return state;
}

void SaveAtClose(Ui &ui, const SaveDecision &decision,
                 const std::function<void(Ui &, const QString &file)> &sendToServer)
{
    if (!decision.save)
        return;
    SaveOutcome outcome;
    if (OpenedSave().isEmpty() || decision.intoOpenedSave) {
        outcome = AutomaticSave(ui);
    } else {
        // The person declined to save into the opened archive but wants the day's copy:
        // the copy goes to the automatic save folder and the archive stays as it was.
        outcome = AutomaticSaveToFolder(ui, QDate::currentDate());
    }
    if (outcome.saved && outcome.sendToServer && sendToServer)
        sendToServer(ui, outcome.file);
    // The unpacked copy of an opened save goes once it is saved. Only a folder inside the
    // temporary folder is removed: should the copy have been unpacked elsewhere, the program
    // folder holds the real installation and must stay.
    if (outcome.saved && !OpenedSave().isEmpty() && ProgramFolder().startsWith(TempFolder() + QLatin1Char('/')))
        DeleteFolder(ProgramFolder());
}

SessionSteps SessionSteps::defaults()
{
    SessionSteps steps;
    steps.writeLog = [](const QString &action) { WriteLog(action); };
    steps.save = [](Ui &ui, const SaveDecision &decision) {
        // Without windows there is nobody to log into the remote account: say so rather
        // than drop the request silently. The desktop program replaces this step with one
        // that opens the remote copy window on the archive.
        SaveAtClose(ui, decision,
                    [](Ui &u, const QString &) { NotAvailable(u, QStringLiteral("Transmitere pe Server")); });
    };
    return steps;
}

void RunSession(Ui &ui, const SessionSteps &steps, const std::function<SaveDecision()> &showMainWindow)
{
    if (steps.writeLog)
        steps.writeLog(QStringLiteral("Pornire program"));
    SetWorkingMonth(ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU")));
    const SaveDecision decision = showMainWindow();
    if (steps.writeLog)
        steps.writeLog(QStringLiteral("Inchidere Program."));
    if (decision.save && steps.save)
        steps.save(ui, decision);
    DeleteViewerLeftovers(ProgramFolder());
}

void DeleteViewerLeftovers(const QString &programFolder)
{
    QStringList names{QStringLiteral("Manual.pdf")};
    for (int i = 1; i <= 7; ++i)
        names << QStringLiteral("Pop%1.pdf").arg(i);
    for (const QString &name : names) {
        const auto found =
            focaris::files::resolveCaseInsensitive((programFolder + QLatin1Char('/') + name).toStdString());
        QFile::remove(QString::fromStdString(found.string()));
    }
}

} // namespace focaris::shell
