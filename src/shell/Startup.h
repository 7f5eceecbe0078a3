// The start-up sequence: from the launch to the opened main window. It settles the folders
// of the working context, decides between local work, a network data folder and work
// inside a save archive given on the command line, hands over to a waiting update
// installer, registers the ".T21" file type, prepares the tables and templates, and
// reports the work mode for the main window's status bar.
//
// The operations of other parts of the program (tables, log, packing, keys, templates,
// archives) are called through StartupSteps, so that each can be replaced in tests; the
// defaults call the program's own operations.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace focaris {
class Ui;
}

namespace focaris::shell {

inline constexpr const char *kVersionText = "1.0029";
inline constexpr const char *kProductNumber = "94";
inline constexpr const char *kApplicationTitle = "Foc_aris";
inline constexpr const char *kUpdateInstaller = "UpFocaris";

// The operations the sequence runs, in its order. An empty function is skipped.
struct StartupSteps {
    std::function<void(const QString &sessionFolder)> useSessionFolder;
    // Work inside a save archive: a fresh folder under TempFolder becomes the program
    // folder, the archive is unpacked into its "Data" and the context points there; false
    // when it could not be unpacked completely (the run goes on with what was unpacked).
    std::function<bool(Ui &ui, const QString &archive)> openSave;
    // Finishes an interrupted restore and removes the scratch files of interrupted writes.
    std::function<void()> removeLeftovers;
    std::function<void()> loadAdminSettings;
    std::function<void()> createTables;
    std::function<void()> purgeLog;
    std::function<void(Ui &ui)> upgradeData;
    // The weekly packing; reports its three steps through `step`.
    std::function<void(const std::function<void(int)> &step)> weeklyPacking;
    std::function<void()> resetKeys;
    std::function<void()> installMissingFiles;
    // Registers ".T21" with the desktop; failures are ignored.
    std::function<void(const QString &executable)> registerFileType;

    // The program's own operations.
    static StartupSteps defaults();
};

// Where the sequence shows its progress: the start window's status line and bar.
struct StartupFeedback {
    std::function<void(const QString &)> status;
    std::function<void(int)> barMaximum;
    std::function<void(int)> barPosition;
};

struct StartupOptions {
    QString executable;    // full path of the running program
    QStringList arguments; // the command line after the program's name
    QString programFolder; // empty: DefaultProgramFolder()
};

struct StartupResult {
    bool handedOver = false; // an update installer was started: end the process now
    QString workMode;        // second status-bar panel of the main window
    QString caption;         // the main window's caption
    QString sessionFolder;   // the database engine's folder, removed at the end
};

// A settings file that is not the program's own (another encoding, no INI text) ends the
// sequence with a std::runtime_error naming the file, before anything is written into it.
StartupResult RunStartup(Ui &ui, const StartupOptions &options, const StartupSteps &steps,
                         const StartupFeedback &feedback = {});

// The hand-over to an update installer "UpFocaris" waiting in the program folder.
// Returns true when the installer was started and this process must end.
bool HandOverToInstaller(const QString &executable);

// The network data folder of the machine settings file, when it holds the three
// tables; otherwise the message about it (and empty).
QString CheckNetworkFolder(Ui &ui);

// The work-mode text of the status bar.
QString WorkModeText();

} // namespace focaris::shell
