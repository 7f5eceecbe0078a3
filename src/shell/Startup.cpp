// The start-up sequence.
#include "shell/Startup.h"

#include "admin/AidParameters.h"
#include "applications/AidCalculation.h"
#include "core/Context.h"
#include "core/Keys.h"
#include "core/Settings.h"
#include "core/TableLock.h"
#include "core/Tables.h"
#include "core/TempFiles.h"
#include "core/Ui.h"
#include "documents/TemplateStore.h"
#include "engines/dbase/DbfTable.h"
#include "safety/Backup.h"
#include "safety/FolderSwap.h"
#include "shell/FileType.h"
#include "shell/Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

namespace focaris::shell {
namespace {

void say(const StartupFeedback &f, const QString &text)
{
    if (f.status)
        f.status(text);
}

void bar(const StartupFeedback &f, int position)
{
    if (f.barPosition)
        f.barPosition(position);
}

void barMaximum(const StartupFeedback &f, int maximum)
{
    if (f.barMaximum)
        f.barMaximum(maximum);
}

// True when the applications table already has the columns the upgrade adds, read from
// the table's header alone: the upgrade itself looks at every record, which a city-sized
// table makes slow, and a current table is the rule at every start but the first.
bool ApplicationsTableCurrent()
{
    try {
        const dbf::DbfTable table((DataFolder() + QStringLiteral("/Cereri.dbf")).toStdString(), true);
        for (const char *column : {"TARIF", "TITT", "VALMAX"})
            if (table.fieldIndex(column) < 0)
                return false;
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

bool HandOverToInstaller(const QString &executable)
{
    const QString launched = ReadSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"));
    const bool wasLaunched = launched == QLatin1String("DA");
    const QString installer = ProgramFolder() + QLatin1Char('/') + QLatin1String(kUpdateInstaller);
    if (QFileInfo(installer).isFile()) {
        QFile probe(installer);
        // An installer still being written or held by another program is left for a later start.
        if (!probe.open(QIODevice::ReadOnly) || FileInUse(installer))
            return false;
        probe.close();
        if (!wasLaunched) {
            WriteSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"), QStringLiteral("DA"));
            if (QProcess::startDetached(installer, {executable}, ProgramFolder()))
                return true;
            // The installer could not be started: it has not run, so it must not be taken
            // for installed (and deleted) at the next start.
            WriteSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"), QStringLiteral("NU"));
            return false;
        }
        QFile::remove(installer);
        return false;
    }
    if (wasLaunched)
        WriteSetting(QStringLiteral("CONST"), QStringLiteral("Lansat"), QStringLiteral("NU"));
    return false;
}

QString CheckNetworkFolder(Ui &ui)
{
    const QString server = ReadMachineSetting(QStringLiteral("SERVER"));
    if (server.isEmpty())
        return {};
    if (HoldsTables(server)) {
        // Several computers write this folder: without working locks on its file system
        // they would hand out the same keys and overwrite each other's saves.
        const QString folder = QDir::fromNativeSeparators(server);
        QString why;
        if (LocksWorkIn(folder, &why))
            return folder;
        ui.message(
            QStringLiteral("Conectare server"),
            QStringLiteral("Baza de date ") + server +
                QStringLiteral("\rNU permite blocarea fisierelor intre calculatoare (") + why +
                QStringLiteral(").\rLucrul in retea pe acest folder nu este sigur si nu este pornit.\r"
                               "Verificati optiunile de montare ale folderului (fara nobrl) si reporniti programul!"),
            MessageKind::Error, MessageButton::OK);
        return {};
    }
    ui.message(QStringLiteral("Conectare server"),
               QStringLiteral("Baza de date ") + server +
                   QStringLiteral("\rNU este accesibila sau este incompleta!\r"
                                  "Verificati conexiunea si baza si reporniti programul!"),
               MessageKind::Error, MessageButton::OK);
    return {};
}

QString WorkModeText()
{
    if (NetworkMode())
        return QStringLiteral("Lucru in retea: ") + DataFolder();
    if (!OpenedSave().isEmpty())
        return QStringLiteral("Lucru in salvarea: ") + QFileInfo(OpenedSave()).fileName().toUpper() + QLatin1Char('.');
    return QStringLiteral("Lucru local.");
}

StartupResult RunStartup(Ui &ui, const StartupOptions &options, const StartupSteps &steps,
                         const StartupFeedback &feedback)
{
    StartupResult result;
    // Fixed number and date formats, whatever the computer's regional settings.
    QLocale::setDefault(QLocale::c());

    // The working context: operator, nothing unlocked, the folders of the program.
    barMaximum(feedback, 100);
    InitContext(options.programFolder.isEmpty() ? DefaultProgramFolder() : options.programFolder);
    // The temporary folder goes when the program ends; after a run that was cut short its
    // scratch copies are still there and are of no use to anyone.
    if (QFileInfo(TempFolder()).isDir())
        DeleteFolder(TempFolder());
    QDir().mkpath(TempFolder());

    // A private folder for the database engine's temporary files.
    const QString session = NewSessionFolder();
    result.sessionFolder = session;
    if (steps.useSessionFolder && !session.isEmpty())
        steps.useSessionFolder(session);

    // The data folder, and who last started here. Settings files that are not the
    // program's own stop the start before anything is read from them or written to them.
    QDir().mkpath(DataFolder());
    RequireOwnSettingsFile(MachineSettingsFile());
    RequireOwnSettingsFile(SharedSettingsFile());
    RequireOwnSettingsFile(LocalSettingsFile());
    WriteMachineSetting(QStringLiteral("CALE"), ProgramFolder());
    WriteMachineSetting(QStringLiteral("VER"), QString::fromLatin1(kVersionText));
    WriteSettingNumber(QString::fromLatin1(kProductNumber), QStringLiteral("VER"), Amount::parseOrZero(kVersionText));

    // A waiting update installer takes over.
    if (HandOverToInstaller(options.executable)) {
        result.handedOver = true;
        return result;
    }

    // A save archive named on the command line; otherwise the file type is registered.
    WorkingContext &ctx = Context();
    ctx.openedSave.clear();
    if (!options.arguments.isEmpty() && QFileInfo(options.arguments.first()).isFile())
        ctx.openedSave = QFileInfo(options.arguments.first()).absoluteFilePath();
    else if (steps.registerFileType)
        steps.registerFileType(options.executable);

    // Work inside the save: unpacked into a fresh folder under TempFolder, which takes
    //     the place of the program folder for this run.
    if (!ctx.openedSave.isEmpty() && QFileInfo(ctx.openedSave).suffix().toUpper() == QLatin1String("T21")) {
        if (steps.openSave)
            steps.openSave(ui, ctx.openedSave);
    } else {
        // Network mode when the machine's SERVER folder holds the three tables.
        ctx.openedSave.clear();
        const QString server = CheckNetworkFolder(ui);
        if (!server.isEmpty())
            ctx.dataFolder = server;
    }

    // What a write cut short by a crash or a power cut left behind, before anything reads
    // the folder: an interrupted restore is finished, scratch files are removed.
    if (steps.removeLeftovers)
        steps.removeLeftovers();
    // The settings file of the data folder now in force (a network folder or the save).
    RequireOwnSettingsFile(SharedSettingsFile());

    // The administration window's fields from the settings now in force.
    if (steps.loadAdminSettings)
        steps.loadAdminSettings();

    // Tables, log and upgrade; the weekly packing.
    say(feedback, QStringLiteral("Verific baza de date ..."));
    bar(feedback, 0);
    if (steps.createTables)
        steps.createTables();
    if (steps.purgeLog)
        steps.purgeLog();
    if (steps.upgradeData)
        steps.upgradeData(ui);
    barMaximum(feedback, 6);
    if (steps.weeklyPacking)
        steps.weeklyPacking([&feedback](int position) { bar(feedback, position); });

    // The work mode, the keys.
    result.workMode = WorkModeText();
    if (steps.resetKeys)
        steps.resetKeys();

    // Templates and support files missing from the folders.
    if (steps.installMissingFiles)
        steps.installMissingFiles();

    // The caption. (No update checker is started: packages update the program.)
    result.caption = QStringLiteral("Foc aris  ver.") + QString::fromLatin1(kVersionText);

    // The keys once more, after everything the start-up wrote.
    if (steps.resetKeys)
        steps.resetKeys();
    bar(feedback, 6);
    return result;
}

StartupSteps StartupSteps::defaults()
{
    StartupSteps steps;
    steps.openSave = [](Ui &ui, const QString &archive) { return OpenSaveForWork(ui, archive); };
    steps.removeLeftovers = [] { RemoveLeftovers(); };
    steps.createTables = [] {
        CreateTables();
        DropMembersWithoutApplication();
    };
    steps.purgeLog = [] { PurgeLog(); };
    steps.upgradeData = [](Ui &) {
        // The templates by the data folder's version first, then the applications table.
        UpgradeTemplates();
        if (ApplicationsTableCurrent())
            return;
        const AidParameters params = LoadAidParameters();
        UpgradeApplicationsTable([&params](int rooms) { return AverageConsumption(rooms, params); });
    };
    steps.weeklyPacking = [](const std::function<void(int)> &step) {
        int position = 0;
        WeeklyPack([&] { step(++position); });
    };
    steps.resetKeys = [] { ResetKeys(); };
    steps.installMissingFiles = [] { InstallMissingFiles(DataFolder(), ProgramFolder()); };
    steps.registerFileType = [](const QString &executable) {
        RegisterFileType(executable, ProgramFolder() + QStringLiteral("/ico1.ico"));
    };
    return steps;
}

} // namespace focaris::shell
