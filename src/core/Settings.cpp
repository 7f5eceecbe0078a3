// The three settings files of the program on top of the INI engine.
#include "core/Settings.h"

#include "core/Context.h"
#include "engines/common/FileNames.h"
#include "engines/settings/IniFile.h"

#include <QDir>

#include <stdexcept>

namespace focaris {
namespace {

std::filesystem::path pathOf(const QString &file)
{
    return std::filesystem::path(file.toStdString());
}

QString resolved(const QString &folder, const char *name)
{
    const auto p = files::resolveCaseInsensitive(pathOf(folder + "/" + name));
    return QString::fromStdString(p.string());
}

QString userConfigFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + "/.config";
    return config + "/focaris";
}

const char *const kMachineFileName = "Focaris.ini";

// The machine file's folder chosen for this run (empty until the first use).
QString &machineFolder()
{
    static QString folder;
    return folder;
}

// True when a test value can be written into (and erased from) the file in `folder`.
bool canWriteMachineFile(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const auto file = pathOf(folder + "/" + kMachineFileName);
    try {
        ini::writeValue(file, "FocarisTest", "Test", "1");
        ini::eraseSection(file, "FocarisTest");
        return true;
    } catch (const ini::ForeignFile &) {
        // A file that is not ours is refused, not passed over for another one.
        throw;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

QString SharedSettingsFile()
{
    return resolved(DataFolder(), "Focaris.set");
}
QString LocalSettingsFile()
{
    return resolved(ProgramFolder(), "Local.set");
}

QString MachineSettingsFile()
{
    QString &folder = machineFolder();
    if (folder.isEmpty()) {
        const QString given = qEnvironmentVariable("FOCARIS_MACHINE_DIR");
        if (!given.isEmpty()) {
            folder = given;
            QDir().mkpath(folder);
        } else if (canWriteMachineFile(QStringLiteral("/etc/focaris"))) {
            folder = QStringLiteral("/etc/focaris");
        } else {
            folder = userConfigFolder();
            QDir().mkpath(folder);
        }
    }
    return resolved(folder, kMachineFileName);
}

void ResetMachineSettingsLocation()
{
    machineFolder().clear();
}

void RequireOwnSettingsFile(const QString &file)
{
    ini::requireSettingsFile(pathOf(file));
}

QString ReadSettingFrom(const QString &file, const QString &section, const QString &key)
{
    return QString::fromStdString(ini::readString(pathOf(file), section.toStdString(), key.toStdString()));
}

bool HasSettingIn(const QString &file, const QString &section, const QString &key)
{
    return ini::readValue(pathOf(file), section.toStdString(), key.toStdString()).has_value();
}

void WriteSettingTo(const QString &file, const QString &section, const QString &key, const QString &value)
{
    ini::writeValue(pathOf(file), section.toStdString(), key.toStdString(), value.toStdString());
}

QString ReadSetting(const QString &section, const QString &key)
{
    return ReadSettingFrom(SharedSettingsFile(), section, key);
}

void WriteSetting(const QString &section, const QString &key, const QString &value)
{
    // A run for viewing only changes nothing the other workstations share: the commands
    // that change data are refused in the windows, and what a window would only remember
    // (a document's last choices) is not kept.
    if (ReadOnlyAccess())
        return;
    WriteSettingTo(SharedSettingsFile(), section, key, value);
}

Amount ReadSettingNumber(const QString &section, const QString &key)
{
    return Amount::parseOrZero(ReadSetting(section, key).toStdString());
}

void WriteSettingNumber(const QString &section, const QString &key, Amount value)
{
    WriteSetting(section, key, QString::fromStdString(value.toString()));
}

Amount UpdateSettingNumber(const QString &section, const QString &key, const std::function<Amount(Amount)> &next)
{
    Amount old;
    ini::updateValue(pathOf(SharedSettingsFile()), section.toStdString(), key.toStdString(),
                     [&](const std::optional<std::string> &value) {
                         // The same reading as ReadSettingNumber: the file holds UTF-8 after
                         // the engine's conversion, and a number is plain ASCII anyway.
                         old = Amount::parseOrZero(value.value_or(std::string()));
                         return next(old).toString();
                     });
    return old;
}

QString ReadMachineSetting(const QString &key)
{
    return ReadSettingFrom(MachineSettingsFile(), kMachineSection, key);
}

void WriteMachineSetting(const QString &key, const QString &value)
{
    try {
        WriteSettingTo(MachineSettingsFile(), kMachineSection, key, value);
    } catch (const ini::ForeignFile &) {
        throw;
    } catch (const std::runtime_error &) {
        // The computer-wide folder cannot be written (any more): the user's own folder
        // takes over for the rest of the run, without a message.
        const QString fallback = userConfigFolder();
        if (!qEnvironmentVariable("FOCARIS_MACHINE_DIR").isEmpty() || machineFolder() == fallback)
            throw;
        machineFolder() = fallback;
        QDir().mkpath(fallback);
        WriteSettingTo(MachineSettingsFile(), kMachineSection, key, value);
    }
}

QString ReadLocalSetting(const QString &section, const QString &key)
{
    return ReadSettingFrom(LocalSettingsFile(), section, key);
}

void WriteLocalSetting(const QString &section, const QString &key, const QString &value)
{
    WriteSettingTo(LocalSettingsFile(), section, key, value);
}

} // namespace focaris
