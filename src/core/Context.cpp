// The working context of the run and the places of the installation's folders.
#include "core/Context.h"

#include "core/Months.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace focaris {

WorkingContext &Context()
{
    static WorkingContext context;
    return context;
}

QString ProgramFolder()
{
    return Context().programFolder;
}
QString DataFolder()
{
    return Context().dataFolder;
}
QString LocalDataFolder()
{
    return Context().localDataFolder;
}
QString TempFolder()
{
    return Context().tempFolder;
}
QString OpenedSave()
{
    return Context().openedSave;
}
QString OperatorName()
{
    return Context().operatorName;
}
bool AdminUnlocked()
{
    return Context().adminUnlocked;
}
bool ReadOnlyAccess()
{
    return Context().readOnly;
}
QString WorkingMonth()
{
    return Context().workingMonth;
}
int WorkingMonthCode()
{
    return MonthCode(Context().workingMonth);
}

bool NetworkMode()
{
    return QDir::cleanPath(Context().dataFolder) != QDir::cleanPath(Context().localDataFolder);
}

void SetAdminUnlocked(bool unlocked)
{
    Context().adminUnlocked = unlocked;
}
void SetReadOnlyAccess(bool readOnly)
{
    Context().readOnly = readOnly;
}
void SetWorkingMonth(const QString &monthText)
{
    Context().workingMonth = monthText;
}

static QString withoutTrailingSlash(QString path)
{
    path = QDir::fromNativeSeparators(path);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

QString DefaultProgramFolder()
{
    const QString home = qEnvironmentVariable("FOCARIS_HOME");
    if (!home.isEmpty())
        return withoutTrailingSlash(QDir(home).absolutePath());
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        // An installed program (/usr/bin) keeps its folders per user, even for root, who
        // could write there.
        const bool installed = exeDir.startsWith(QStringLiteral("/usr/")) || exeDir == QStringLiteral("/usr");
        if (!installed && QFileInfo(exeDir).isWritable())
            return withoutTrailingSlash(exeDir);
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + "/.local/share";
    return withoutTrailingSlash(data) + "/focaris";
}

QString ReadOperatorName()
{
    char host[256] = {};
    QString computer;
    if (::gethostname(host, sizeof host - 1) == 0)
        computer = QString::fromLocal8Bit(host).left(15);
    QString user;
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        user = QString::fromLocal8Bit(pw->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("Necunoscut");
    return computer + " - " + user;
}

void InitContext(const QString &programFolder)
{
    WorkingContext &c = Context();
    c = WorkingContext{};
    c.programFolder = withoutTrailingSlash(programFolder);
    c.dataFolder = c.programFolder + "/Data";
    c.localDataFolder = c.dataFolder;
    c.tempFolder = c.programFolder + "/Temp";
    c.operatorName = ReadOperatorName();
}

void InitContextForTests(const QString &folder)
{
    InitContext(folder);
    QDir().mkpath(DataFolder());
    QDir().mkpath(TempFolder());
    const QString machine = ProgramFolder() + "/machine";
    QDir().mkpath(machine);
    qputenv("FOCARIS_MACHINE_DIR", machine.toLocal8Bit());
    ResetMachineSettingsLocation();
}

} // namespace focaris
