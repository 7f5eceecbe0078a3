// focaris-tool backup: the save, the restore and the automatic save of a data folder,
// through the same operations as the backup window and the closing of the program.
//   backup save FOLDER FILE.T21 [--yes]     the data folder saved into FILE
//   backup restore FOLDER FILE.T21 --yes    the data folder replaced by FILE ("DataBAK"
//                                           of the program folder keeps the replaced files)
// The program folder is FOCARIS_HOME when set, else the folder above FOLDER.
//   backup auto FOLDER [--yes]              the dated save in the automatic save folder
// Messages are printed as "TITLE: TEXT" lines (errors and warnings on standard error);
// --yes answers every question with "Da", without it every question gets "Nu". The files
// saved or restored are printed as "NAME<TAB>SIZE" lines; exit 1 when nothing was done.
#include "tool/Command.h"

#include "core/Context.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "engines/archive/Archive.h"
#include "safety/Backup.h"
#include "tool/ToolFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace focaris::tool {
namespace {

const char *kUsage = "backup save FOLDER FILE.T21 [--yes] | backup restore FOLDER FILE.T21 --yes | "
                     "backup auto FOLDER [--yes]";

// The terminal as the person at the keyboard: messages printed, questions answered from
// --yes, the file dialogs answered with the file of the command line.
class BackupConsole : public NullUi {
public:
    bool yes = false;
    QString file;
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        const QString line = title + QStringLiteral(": ") +
                             QString(text)
                                 .replace(QLatin1Char('\n'), QLatin1Char(' '))
                                 .replace(QLatin1Char('\r'), QLatin1Char(' '))
                                 .trimmed();
        const bool toError = kind == MessageKind::Error || kind == MessageKind::Warning;
        std::fprintf(toError ? stderr : stdout, "%s\n", qPrintable(line));
        if (buttons & MessageButton::Da)
            return yes ? MessageResult::Da : MessageResult::Nu;
        return MessageResult::OK;
    }
    void fieldHint(const QString &text, QObject *) override { std::fprintf(stderr, "refused: %s\n", qPrintable(text)); }
    QString openFileName(const QString &, const QString &, const QString &) override { return file; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return file; }
};

// The data folder FOLDER as the working context, in the program's folders (ToolFolders.h).
void useDataFolder(const std::string &folder, std::unique_ptr<QTemporaryDir> &scratch)
{
    UseToolFolders(folder, scratch);
}

void printMembers(const QString &archivePath)
{
    for (const auto &m : archive::listArchive(archivePath.toStdString()))
        std::printf("%s\t%u\n", m.name.c_str(), unsigned(m.size));
}

int backupCommand(const Args &all)
{
    Args args = all;
    BackupConsole ui;
    ui.yes = takeFlag(args, "--yes");
    if (args.empty())
        throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
    const std::string verb = args[0];
    args.erase(args.begin());
    std::unique_ptr<QTemporaryDir> scratch;
    if (verb == "save") {
        expectCount(args, 2, "backup save FOLDER FILE.T21 [--yes]");
        useDataFolder(args[0], scratch);
        ui.file = QString::fromStdString(args[1]);
        const SaveOutcome out = ManualSave(ui);
        if (!out.saved)
            return 1;
        printMembers(out.file);
        return 0;
    }
    if (verb == "restore") {
        expectCount(args, 2, "backup restore FOLDER FILE.T21 --yes");
        useDataFolder(args[0], scratch);
        ui.file = QFileInfo(QString::fromStdString(args[1])).absoluteFilePath();
        if (!QFileInfo(ui.file).isFile())
            throw std::runtime_error("no such file: " + args[1]);
        if (!RestoreFromBackupWindow(ui))
            return 1;
        printMembers(ui.file);
        return 0;
    }
    if (verb == "auto") {
        expectCount(args, 1, "backup auto FOLDER [--yes]");
        useDataFolder(args[0], scratch);
        const QString folder = ReadMachineSetting(QStringLiteral("CALESALVARI")).trimmed();
        if (folder.isEmpty() || folder == QStringLiteral("-"))
            throw std::runtime_error("no automatic save folder: the machine setting CALESALVARI is empty or \"-\"");
        const SaveOutcome out = AutomaticSaveToFolder(ui);
        if (!out.saved)
            return 1;
        std::printf("archive=%s\n", qPrintable(out.file));
        printMembers(out.file);
        return 0;
    }
    throw std::runtime_error(std::string("usage: focaris-tool ") + kUsage);
}

Registration r("backup", kUsage, backupCommand);

} // namespace
} // namespace focaris::tool
