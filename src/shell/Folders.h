// The four folder commands of the administration window: choose or leave the network data
// folder (SERVER) and choose or switch off the automatic save folder (CALESALVARI), both
// kept in the machine settings file. A change of the network folder takes effect at the
// next start, so the program ends right after it.
#pragma once

#include <QString>

class QObject;

namespace focaris {
class Ui;
}

namespace focaris::shell {

enum class FolderResult {
    Unchanged,  // cancelled, refused or failed: the window stays open
    Changed,    // the label and the machine settings file were updated
    EndProgram, // the network folder changed: close the window and end the program
};

// `label` is the text shown beside the command, updated on success; `control` is the
// label's widget, for the field hints.
FolderResult ChangeServerFolder(Ui &ui, QString &label);
FolderResult LeaveServerFolder(Ui &ui, QString &label, QObject *control);
FolderResult ChangeSaveFolder(Ui &ui, QString &label);
FolderResult SwitchOffSaveFolder(Ui &ui, QString &label, QObject *control);

// True when `folder` holds "Cereri.dbf", "Oameni.dbf" and "Log.dbf" (names in any case).
bool HoldsTables(const QString &folder);

} // namespace focaris::shell
