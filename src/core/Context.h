// The working context of one run of the program: its folders, the mode of work (local,
// network folder, opened save archive), who is at the keyboard, whether the administrator
// unlocked the program and the working month. Filled once by the start-up sequence; read
// by every operation. Paths use '/' and carry no trailing separator.
#pragma once

#include <QString>

namespace focaris {

struct WorkingContext {
    QString programFolder;   // the installation's folder (or an unpacked save archive's)
    QString dataFolder;      // the tables and the shared settings file
    QString localDataFolder; // programFolder + "/Data"; differs from dataFolder in network mode
    QString tempFolder;      // programFolder + "/Temp", deleted when the program ends
    QString openedSave;      // the save archive given on the command line, else empty
    QString operatorName;    // "computer - user", written into the change log
    bool adminUnlocked = false;
    // Set when the login was accepted with an empty password: the person may look but not
    // change the data.
    bool readOnly = false;
    QString workingMonth; // "MM.YYYY", empty when none is chosen yet
};

// The one context of the run.
WorkingContext &Context();

QString ProgramFolder();
QString DataFolder();
QString LocalDataFolder();
QString TempFolder();
QString OpenedSave();
QString OperatorName();
bool AdminUnlocked();
bool ReadOnlyAccess();
QString WorkingMonth();
// MonthCode of the working month (0 when none is chosen).
int WorkingMonthCode();
// True when the data folder is a network folder (it differs from the local one).
bool NetworkMode();

void SetAdminUnlocked(bool unlocked);
void SetReadOnlyAccess(bool readOnly);
void SetWorkingMonth(const QString &monthText);

// The folder of the installation: FOCARIS_HOME when set; else the executable's folder
// when it can be written and is not under /usr (an installed program); else
// $XDG_DATA_HOME/focaris (~/.local/share/focaris).
QString DefaultProgramFolder();
// "computer - user": the host name cut to 15 characters, and the login name or
// "Necunoscut" when it cannot be read.
QString ReadOperatorName();

// Fills the context for local work in `programFolder`: Data and Temp below it, the
// operator's name, nothing unlocked, no working month. Creates no folder.
void InitContext(const QString &programFolder);

// For tests: a complete context on a scratch folder. Creates `folder`/Data and
// `folder`/Temp, points the machine settings file to `folder`/machine (through
// FOCARIS_MACHINE_DIR) and forgets any earlier choice of that file's place.
void InitContextForTests(const QString &folder);

} // namespace focaris
