// Saving the data folder into a ".T21" archive and restoring it, as the backup window, the
// automatic save at program close, the remote copy and the start-up (an archive opened
// for work) use them. Every operation works on the folders of the working context and
// talks to the person only through the Ui it is given.
#pragma once

#include "core/Ui.h"

#include <QDate>
#include <QString>

#include <functional>

namespace focaris {

// Writes the data folder into `archivePath` (an existing file there is deleted first):
// the non-empty files are copied to a scratch folder, every ".DBF" of the copy loses its
// index flag (and its ".mdx"), and the copy is archived. An empty data folder, a scratch
// folder that cannot be made, or a file that could not be copied (so that the archive
// would be short) shows "Nu pot scrie pe harddisk!!" and gives false.
// A write failure removes the scratch copy and the half-written archive and throws
// std::runtime_error.
bool SaveArchive(Ui &ui, const QString &archivePath);

// Called before each file of the data folder is copied into the scratch copy of a save;
// tests use it to take a file away at that moment. Empty in the program.
extern std::function<void(const QString &file)> BeforeScratchCopy;

// The refusals of every restore, shown under `title`: a person without the password
// ("Nu aveti dreptul sa modificati datele!") and a run on an opened save archive, whose
// files are thrown away at the end. True when the restore must not go on.
bool RestoreRefused(Ui &ui, const QString &title);

// Replaces the data folder with the files of `archivePath` (after RestoreRefused). A damaged or empty archive
// shows "Restaurare esuata!", an archive without the program's tables "Arhiva nu contine
// datele programului!", and both leave the data untouched. The replaced files are kept in
// ProgramFolder/DataBAK. The swap (SwapDataFiles) leaves the old data or the new data
// whatever moment the process ends at; the previous DataBAK stays until the new files
// are in place. True when the data folder was replaced.
bool RestoreArchive(Ui &ui, const QString &archivePath);

// The button "Incarca o salvare anterioara": the warning question, the open dialog, then
// RestoreArchive. True when the data folder was replaced (the program must then end).
bool RestoreFromBackupWindow(Ui &ui);

// What a save ended with; `sendToServer` is the answer "Da" to "Doriti sa transmiteti
// salvarea si pe Server?", which hands `file` to the remote copy.
struct SaveOutcome {
    bool saved = false;
    QString file;
    bool sendToServer = false;
};

// The button "Salveaza o copie a datelor": the save dialog, then SaveCopyTo.
SaveOutcome ManualSave(Ui &ui);
// The save into `file` (".T21" added when it has no extension): refused with "Nu puteti
// salva aici!" in the data folder, the temporary folder or DataBAK; an existing file is
// replaced only after "Da"; the archive is written to a scratch file and moved over the
// chosen one; then the success message and the question about the server.
SaveOutcome SaveCopyTo(Ui &ui, QString file);

// The dated name of the automatic save in `folder`: "ddMMyyyy_n.T21" for the smallest n
// from 0 whose file does not exist.
QString AutoSaveTarget(const QString &folder, const QDate &day);

// The dated automatic save into the automatic save folder (the machine setting
// CALESALVARI; "-" or empty means none, and nothing happens). A folder inside the data
// folder, the temporary folder or DataBAK is refused with "Nu puteti salva aici!".
SaveOutcome AutomaticSaveToFolder(Ui &ui, const QDate &day = QDate::currentDate());

// The automatic save when the main window closes: into the opened archive itself when
// one is open, otherwise AutomaticSaveToFolder. When the opened archive cannot be written
// back, the finished scratch archive is offered another place ("Unde salvam datele ?")
// before the temporary folder, and with it the work of the run, is deleted.
SaveOutcome AutomaticSave(Ui &ui, const QDate &day = QDate::currentDate());

// Before an operation that destroys many rows (a month deleted, an import replacing the
// previous one, the applications also in another month removed): the data folder is
// saved into the dated file "ddMMyyyy_n.T21" of the automatic save folder, or of the
// temporary folder when none is set, so that a wrong click can be undone with a restore.
// Returns the archive written, or the empty text when the save failed (the caller then
// does not go on; the failure was already shown).
QString SaveBeforeDestroying(Ui &ui, const QDate &day = QDate::currentDate());

// Start-up with a ".T21" given on the command line: a fresh folder "SAV<n>" in the
// temporary folder becomes the program folder, its "Data" folder the data folder (local
// and shared), the archive is unpacked there and the process's current folder becomes the
// new program folder. The real data folder is not touched. The run goes on with whatever
// was unpacked; false when the archive could not be unpacked completely, and then the
// automatic save at close writes a dated copy instead of overwriting the damaged archive
// with the partial data. When no scratch folder can be made, the context is left on the
// real data folder, nothing is unpacked, an error is shown and the result is false.
bool OpenSaveForWork(Ui &ui, const QString &archivePath);

} // namespace focaris
