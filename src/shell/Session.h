// The decisions taken when the main window closes: whether the data folder is saved,
// asked in the order the office expects, and the removal of the documents opened from
// the program folder during the run.
#pragma once

#include <QString>

#include <functional>

namespace focaris {
class Ui;
}

namespace focaris::shell {

// What the closing decision depends on.
struct CloseState {
    bool openedSave = false;  // a ".T21" archive given on the command line is worked on
    bool periodShown = false; // "Perioada" is shown, i.e. somebody logged in
    bool networkMode = false; // the data folder is a shared network folder
    QString autoSaveFolder;   // the automatic save folder; "-" when switched off
};

struct SaveDecision {
    bool save = false;
    // True only when the person agreed to save the changes back into the opened archive;
    // "Nu" there followed by "Da" to the day's copy saves the copy but leaves the opened
    // archive as it was.
    bool intoOpenedSave = false;
};

// Asks the closing questions and returns what was decided. Nobody logged in, network
// mode or the automatic save switched off: nothing is asked and nothing is saved.
SaveDecision DecideSave(Ui &ui, const CloseState &state);

// The closing state of this run: the working context and the machine's automatic save
// folder, with whether "Perioada" is shown.
CloseState CurrentCloseState(bool periodShown);

// The saving decided at closing: into the opened archive when the person agreed to save
// its changes, else a dated copy in the automatic save folder. A save the person asked to
// send to the backup server is handed to `sendToServer`.
void SaveAtClose(Ui &ui, const SaveDecision &decision,
                 const std::function<void(Ui &, const QString &file)> &sendToServer);

// The operations of the session, replaceable in tests. The defaults write the change log
// and save with SaveAtClose.
struct SessionSteps {
    std::function<void(const QString &action)> writeLog;
    std::function<void(Ui &ui, const SaveDecision &decision)> save;
    static SessionSteps defaults();
};

// The main window session: "Pornire program" in the log, the working month from the
// settings, the window shown by `showMainWindow` until it closes (it returns the closing
// decision), "Inchidere Program." in the log, then the save when one was decided and the
// removal of the documents left in the program folder.
void RunSession(Ui &ui, const SessionSteps &steps, const std::function<SaveDecision()> &showMainWindow);

// Deletes "Manual.pdf" and "Pop1.pdf" .. "Pop7.pdf" from the program folder when present.
void DeleteViewerLeftovers(const QString &programFolder);

} // namespace focaris::shell
