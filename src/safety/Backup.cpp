// Save, restore and automatic save of the data folder.
#include "safety/Backup.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "core/TempFiles.h"
#include "engines/archive/Archive.h"
#include "engines/archive/FolderFiles.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileChanges.h"
#include "engines/common/FileNames.h"
#include "engines/dbase/DbfTable.h"
#include "safety/FolderSwap.h"
#include "safety/SavePlace.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <stdexcept>

namespace focaris {
namespace fs = std::filesystem;

namespace {

const QString kBreak = QStringLiteral("\n");

// The zlib level of the saves. Every level gives a stream any zlib reader opens (the older
// installations' too). On a city's folder level 3 compresses twelve times faster than
// level 9 for an archive a quarter larger; at 9 the closing save made the clerk wait
// some ten seconds every evening.
constexpr int kSaveLevel = 3;
const char *const kBlockCacheName = ".block-cache";

fs::path toPath(const QString &p)
{
    return fs::path(p.toStdString());
}
QString fromPath(const fs::path &p)
{
    return QString::fromStdString(p.string());
}

// Set when the archive opened for work could not be unpacked completely.
bool g_openedSaveIncomplete = false;

archive::Progress stepper(Ui &ui, const QString &text = {})
{
    // A member's position given again (a large table written in parts) only repaints the
    // window, with its text, so that it does not look frozen while the table is packed.
    return [&ui, text, last = -1](int position, int) mutable {
        if (position == last) {
            if (!text.isEmpty())
                ui.progressText(text);
            return;
        }
        last = position;
        if (position > 0)
            ui.progressStep();
    };
}

// Steps 1-4 of the save: the scratch copy of the data folder without index flags. Empty
// when the copy could not be made whole (the message has been shown then): a file that
// could not be copied would otherwise be missing from an archive reported as complete.
QString prepareCopy(Ui &ui, bool leadingBreak)
{
    ui.progressShow(QStringLiteral("Pregatesc datele..."), 0);
    const QString copy = NewTempFolder(QStringLiteral("SaveRA"));
    bool whole = !copy.isEmpty();
    int copied = 0;
    if (whole) {
        for (const auto &file : archive::listFiles(toPath(DataFolder()))) {
            // The scratch files of a write cut short are not data: they stay out of saves.
            if (IsScratchFileName(fromPath(file.filename())))
                continue;
            if (BeforeScratchCopy)
                BeforeScratchCopy(fromPath(file));
            std::error_code ec;
            fs::copy_file(file, toPath(copy) / file.filename(), fs::copy_options::overwrite_existing, ec);
            if (ec) {
                whole = false;
                break;
            }
            ++copied;
        }
    }
    ui.progressHide();
    if (!whole || copied == 0) {
        if (!copy.isEmpty())
            DeleteFolder(copy);
        ui.message(QStringLiteral("Salvare"),
                   (leadingBreak ? kBreak : QString()) + QStringLiteral("Nu pot scrie pe harddisk!!"),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    for (const auto &file : archive::listFiles(toPath(copy)))
        if (text::asciiUpper(file.extension().string()) == ".DBF")
            dbf::dropIndexFlag(file);
    return copy;
}

// The folder where the saves keep the compressed blocks of the large tables for the next
// save of the same data: hidden inside the automatic save folder, beside the archives.
// Empty when no automatic save folder is set (or it is refused), and then every save
// compresses everything.
fs::path blockCacheFolder()
{
    const QString folder = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
    if (folder.isEmpty() || folder == QStringLiteral("-") || ForbiddenSavePlace(folder))
        return {};
    return toPath(folder) / kBlockCacheName;
}

// Step 5: the copy archived into `target`; the copy is removed whatever happens. `sync`
// false leaves the flush to the disk to the caller's copy of the archive.
void archiveCopy(Ui &ui, const QString &copy, const QString &target, int level = kSaveLevel, bool sync = true)
{
    const int count = int(archive::listFiles(toPath(copy)).size());
    const QString text = QStringLiteral("Salvez datele...");
    ui.progressShow(text, count);
    archive::WriteOptions options;
    options.level = level;
    options.sync = sync;
    // The quick copy before a destroying operation has its own level; its blocks would
    // push the regular saves' blocks out of the cache.
    if (level == kSaveLevel)
        options.blockCache = blockCacheFolder();
    try {
        archive::writeArchive(toPath(copy), toPath(target), stepper(ui, text), options);
    } catch (const std::exception &e) {
        DeleteFolder(copy);
        ui.progressHide();
        throw std::runtime_error(e.what());
    }
    DeleteFolder(copy);
    ui.progressHide();
}

// Moves a finished archive over `target`: a rename when both lie on one file system,
// otherwise a copy beside the target renamed over it, so that an existing archive is
// never left half-overwritten.
bool moveOver(const QString &source, const QString &target)
{
    if (files::commitRename(toPath(source), toPath(target)))
        return true;
    return archive::copyAndErase(toPath(source), toPath(target));
}

void refusePlace(Ui &ui, const QString &title)
{
    ui.message(title, kBreak + QStringLiteral("Nu puteti salva aici!"), MessageKind::Error, MessageButton::OK);
}

bool askSendToServer(Ui &ui)
{
    return ui.message(QStringLiteral("Copie la Distanta"),
                      kBreak + QStringLiteral("Doriti sa transmiteti salvarea si pe Server?"),
                      MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu) == MessageResult::Da;
}

} // namespace

std::function<void(const QString &file)> BeforeScratchCopy;

bool RestoreRefused(Ui &ui, const QString &title)
{
    if (ReadOnlyAccess()) {
        ui.message(title, QStringLiteral("Nu aveti dreptul sa modificati datele!"), MessageKind::Warning,
                   MessageButton::OK);
        return true;
    }
    if (!OpenedSave().isEmpty()) {
        // The files of an opened save are thrown away at the end of the run: a restore
        // there would look done and be lost.
        ui.message(title, kBreak + QStringLiteral("Lucrati intr-o salvare deschisa: datele nu pot fi inlocuite acum!"),
                   MessageKind::Error, MessageButton::OK);
        return true;
    }
    return false;
}

// SaveArchive at a chosen zlib level, the archive synced to the disk or not.
static bool saveArchiveAt(Ui &ui, const QString &archivePath, int level, bool sync = true)
{
    QFile::remove(archivePath);
    const QString copy = prepareCopy(ui, false);
    if (copy.isEmpty())
        return false;
    archiveCopy(ui, copy, archivePath, level, sync);
    return true;
}

bool SaveArchive(Ui &ui, const QString &archivePath)
{
    return saveArchiveAt(ui, archivePath, kSaveLevel);
}

bool RestoreArchive(Ui &ui, const QString &archivePath)
{
    if (RestoreRefused(ui, QStringLiteral("Incarcare date")))
        return false;
    const QString unpacked = NewTempFolder(QStringLiteral("Restaurare"));
    if (unpacked.isEmpty()) {
        ui.message(QStringLiteral("Incarcare date"), kBreak + QStringLiteral("Nu pot scrie pe harddisk!"),
                   MessageKind::Error, MessageButton::OK);
        return false;
    }
    ui.progressShow(QStringLiteral("Desfac baza de date..."), 0);
    const auto result = archive::extractArchive(toPath(archivePath), toPath(unpacked), stepper(ui));
    bool done = false;
    if (result.failed || archive::listFiles(toPath(unpacked)).empty()) {
        ui.message(QStringLiteral("Restaurare date"), QStringLiteral("Restaurare esuata!"), MessageKind::Error,
                   MessageButton::OK);
    } else if (!HoldsProgramTables(unpacked)) {
        // A readable archive of other files would otherwise replace the whole data folder.
        ui.message(QStringLiteral("Restaurare date"), QStringLiteral("Arhiva nu contine datele programului!"),
                   MessageKind::Error, MessageButton::OK);
    } else {
        const fs::path bak = files::resolveCaseInsensitive(toPath(ProgramFolder()) / "DataBAK");
        done = SwapDataFiles(unpacked, DataFolder(), fromPath(bak));
        if (done)
            ui.message(QStringLiteral("Informatie"),
                       QStringLiteral("Restaurare incheiata cu succes !") + kBreak +
                           QStringLiteral("Va rog sa porniti programul din nou !"),
                       MessageKind::Information, MessageButton::OK);
        else
            ui.message(QStringLiteral("Restaurare date"), QStringLiteral("Restaurare esuata!"), MessageKind::Error,
                       MessageButton::OK);
    }
    ui.progressHide();
    DeleteFolder(unpacked);
    return done;
}

bool RestoreFromBackupWindow(Ui &ui)
{
    if (RestoreRefused(ui, QStringLiteral("Incarcare date")))
        return false;
    const MessageResult answer =
        ui.message(QStringLiteral("Incarcare date"),
                   QStringLiteral("Prin preluarea datelor dintr-o salvare anterioara,") + kBreak +
                       QStringLiteral("se sterg datele curente si sunt inlocuite cu cele din salvare!") + kBreak +
                       QStringLiteral("Continuam operatiunea?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu);
    if (answer != MessageResult::Da)
        return false;
    const QString file =
        ui.openFileName(QStringLiteral("Indicati o salvare Foc - aris"), QString(), QStringLiteral("*.T21"));
    if (file.isEmpty())
        return false;
    return RestoreArchive(ui, file);
}

SaveOutcome ManualSave(Ui &ui)
{
    const QString file = ui.saveFileName(QStringLiteral("Unde salvam datele ?"), QString(), QStringLiteral("*.T21"));
    if (file.isEmpty())
        return {};
    return SaveCopyTo(ui, file);
}

SaveOutcome SaveCopyTo(Ui &ui, QString file)
{
    SaveOutcome out;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".T21");
    file = QFileInfo(file).absoluteFilePath();
    if (ForbiddenSavePlace(QFileInfo(file).absolutePath())) {
        refusePlace(ui, QStringLiteral("Salvare date"));
        return out;
    }
    if (QFileInfo::exists(file) &&
        ui.message(QStringLiteral("Atentionare"),
                   kBreak + QStringLiteral("Vreti sa inlocuiti salvarea ") + file + QStringLiteral("?"),
                   MessageKind::Warning, MessageButton::Da | MessageButton::Nu) != MessageResult::Da)
        return out;
    const QString copy = prepareCopy(ui, true);
    if (copy.isEmpty())
        return out;
    const QString scratch = NewTempFile(QStringLiteral("SaveTmp"), QStringLiteral(".tmp"));
    // The archive cannot be written, or not moved to the chosen place (a stick pulled
    // out, a folder gone or read-only): the clerk reads the save's own message.
    bool written = false;
    try {
        archiveCopy(ui, copy, scratch);
        written = moveOver(scratch, file);
    } catch (const std::exception &) {
        written = false;
    }
    if (!written) {
        QFile::remove(scratch);
        ui.message(QStringLiteral("Salvare"), kBreak + QStringLiteral("Nu pot scrie pe harddisk!!"), MessageKind::Error,
                   MessageButton::OK);
        return out;
    }
    out.saved = true;
    out.file = file;
    ui.message(QStringLiteral("Informatie"), kBreak + QStringLiteral("Salvare incheiata cu succes !"),
               MessageKind::Information, MessageButton::OK);
    out.sendToServer = askSendToServer(ui);
    return out;
}

QString AutoSaveTarget(const QString &folder, const QDate &day)
{
    const QString base = folder + QLatin1Char('/') + day.toString(QStringLiteral("ddMMyyyy"));
    for (int n = 0;; ++n) {
        const QString candidate = base + QLatin1Char('_') + QString::number(n) + QStringLiteral(".T21");
        if (!QFileInfo::exists(candidate) &&
            !QFileInfo::exists(fromPath(files::resolveCaseInsensitive(toPath(candidate)))))
            return candidate;
    }
}

namespace {

// The archive of the data folder into the scratch file, then moved onto `target`. False
// when either step failed; `archived` tells whether the scratch archive was made whole.
bool saveThroughScratch(Ui &ui, const QString &scratch, const QString &target, bool &archived)
{
    archived = false;
    try {
        // The scratch archive is not synced: copyAndErase syncs its copy at the target
        // (and fails the save when that sync fails), then removes the scratch.
        archived = !scratch.isEmpty() && saveArchiveAt(ui, scratch, kSaveLevel, false);
        return archived && archive::copyAndErase(toPath(scratch), toPath(target));
    } catch (const std::exception &) {
        return false;
    }
}

void saveError(Ui &ui)
{
    ui.message(QStringLiteral("Salvare automata"), kBreak + QStringLiteral("Eroare la salvare!"), MessageKind::Error,
               MessageButton::OK);
}

// The opened archive could not be written back: the work of the run exists only in the
// scratch archive, so the person is offered another place for it before the temporary
// folder goes. Asked again after a refused or failed place; empty when cancelled.
QString offerOtherPlace(Ui &ui, const QString &scratch, const QString &opened)
{
    for (;;) {
        QString file = ui.saveFileName(QStringLiteral("Unde salvam datele ?"), QFileInfo(opened).fileName(),
                                       QStringLiteral("*.T21"));
        if (file.isEmpty())
            return {};
        if (QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".T21");
        if (ForbiddenSavePlace(QFileInfo(file).absolutePath())) {
            refusePlace(ui, QStringLiteral("Salvare automata"));
            continue;
        }
        if (moveOver(scratch, file))
            return file;
        saveError(ui);
    }
}

} // namespace

SaveOutcome AutomaticSaveToFolder(Ui &ui, const QDate &day)
{
    SaveOutcome out;
    const QString folder = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
    if (folder.isEmpty() || folder == QStringLiteral("-"))
        return out;
    if (ForbiddenSavePlace(folder)) {
        refusePlace(ui, QStringLiteral("Salvare automata"));
        return out;
    }
    QDir().mkpath(folder);
    const QString target = AutoSaveTarget(folder, day);
    const QString scratch = NewTempFile(QStringLiteral("TmpSv"), QStringLiteral(".sav"));
    bool archived = false;
    if (!saveThroughScratch(ui, scratch, target, archived)) {
        QFile::remove(scratch);
        saveError(ui);
        return out;
    }
    out.saved = true;
    out.file = target;
    out.sendToServer = askSendToServer(ui);
    return out;
}

SaveOutcome AutomaticSave(Ui &ui, const QDate &day)
{
    if (OpenedSave().isEmpty() || g_openedSaveIncomplete)
        return AutomaticSaveToFolder(ui, day);
    SaveOutcome out;
    const QString target = OpenedSave();
    const QString scratch = NewTempFile(QStringLiteral("TmpSv"), QStringLiteral(".sav"));
    bool archived = false;
    if (saveThroughScratch(ui, scratch, target, archived)) {
        out.saved = true;
        out.file = target;
    } else {
        saveError(ui);
        if (archived && QFileInfo::exists(scratch))
            out.file = offerOtherPlace(ui, scratch, target);
        QFile::remove(scratch);
        out.saved = !out.file.isEmpty();
        if (!out.saved)
            return out;
    }
    out.sendToServer = askSendToServer(ui);
    return out;
}

QString SaveBeforeDestroying(Ui &ui, const QDate &day)
{
    QString folder = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
    // A folder inside the data folder would put the archive among the files it saves.
    if (folder.isEmpty() || folder == QStringLiteral("-") || ForbiddenSavePlace(folder))
        folder = TempFolder();
    const QString target = QDir().mkpath(folder) ? AutoSaveTarget(folder, day) : QString();
    const QString scratch = NewTempFile(QStringLiteral("TmpSv"), QStringLiteral(".sav"));
    bool ok = false;
    try {
        // The fastest zlib level: this copy exists to undo a wrong click, and on a city's
        // folder the format's level 9 made the clerk wait minutes before the operation.
        ok = !target.isEmpty() && !scratch.isEmpty() && saveArchiveAt(ui, scratch, 1) && moveOver(scratch, target);
    } catch (const std::exception &) {
        ok = false;
    }
    if (!ok) {
        QFile::remove(scratch);
        ui.message(QStringLiteral("Salvare de siguranta"),
                   kBreak + QStringLiteral("Nu pot salva datele inainte de stergere! Operatia nu se face."),
                   MessageKind::Error, MessageButton::OK);
        return {};
    }
    return target;
}

bool OpenSaveForWork(Ui &ui, const QString &archivePath)
{
    const QString folder = NewTempFolder(QStringLiteral("SAV"));
    WorkingContext &ctx = Context();
    if (folder.isEmpty() || !QDir().mkpath(folder + QStringLiteral("/Data"))) {
        // Without a scratch folder the archive would be unpacked over the real data
        // folder; the run goes on with the real data, untouched, and says so.
        ctx.openedSave.clear();
        ui.message(QStringLiteral("Deschidere arhiva"),
                   QStringLiteral("\rArhiva nu poate fi deschisa: nu s-a putut crea un dosar temporar.\r"
                                  "Programul lucreaza pe datele obisnuite."),
                   MessageKind::Error, MessageButton::OK);
        return false;
    }
    ctx.openedSave = archivePath;
    ctx.programFolder = folder;
    ctx.dataFolder = ctx.localDataFolder = folder + QStringLiteral("/Data");
    ui.progressShow(QStringLiteral("Deschid baza de date..."), 0);
    const auto result = archive::extractArchive(toPath(archivePath), toPath(ctx.dataFolder), stepper(ui));
    ui.progressHide();
    QDir::setCurrent(ctx.programFolder);
    g_openedSaveIncomplete = result.failed;
    return !result.failed;
}

} // namespace focaris
