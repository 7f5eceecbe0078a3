// Installing and refreshing the data folder's templates; see TemplateStore.h.
#include "documents/TemplateStore.h"

#include "core/Context.h"
#include "core/Settings.h"
#include "documents/ResourceStore.h"
#include "engines/common/FileInUse.h"
#include "engines/common/FileNames.h"

#include <QDir>

#include <filesystem>
#include <initializer_list>

namespace focaris {
namespace {

std::filesystem::path inFolder(const QString &folder, const char *file)
{
    return files::resolveCaseInsensitive(QDir(folder).filePath(QString::fromLatin1(file)).toStdString());
}

bool installIfMissing(const QString &folder, const char *file, const char *resource, const char *type)
{
    std::error_code ec;
    if (std::filesystem::exists(inFolder(folder, file), ec))
        return false;
    return ExtractResource(QString::fromLatin1(resource), QString::fromLatin1(type),
                           QDir(folder).filePath(QString::fromLatin1(file)));
}

void deleteTemplates(const QString &dataFolder, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        files::deleteUnlessInUse(inFolder(dataFolder, name));
}

} // namespace

int InstallMissingFiles(const QString &dataFolder, const QString &programFolder)
{
    int written = 0;
    if (!programFolder.isEmpty())
        written += installIfMissing(programFolder, "ico1.ico", "ICO", "POZA");
    for (const DataTemplate &t : kDataTemplates)
        written += installIfMissing(dataFolder, t.file, t.resource, kTemplateType);
    return written;
}

void RefreshTemplates(const QString &dataFolder, Amount storedVersion)
{
    if (storedVersion < Amount::fromUnits(10011)) {
        deleteTemplates(dataFolder, {"Anexa14.xls", "Anexa15.xls", "Anexa16.xls", "Anexa17.xls"});
        InstallMissingFiles(dataFolder);
    }
    if (storedVersion < Amount::fromUnits(10014)) {
        deleteTemplates(dataFolder, {"Referat.rtf", "Stabilire.rtf", "StabilireU.xls"});
        InstallMissingFiles(dataFolder);
    }
    if (storedVersion < Amount::fromUnits(10026)) {
        deleteTemplates(dataFolder, {"Anexa14.xls"});
        InstallMissingFiles(dataFolder);
    }
}

void UpgradeTemplates()
{
    const Amount stored = ReadSettingNumber(QStringLiteral("SERVER"), QStringLiteral("Versiune"));
    WriteSettingNumber(QStringLiteral("SERVER"), QStringLiteral("Versiune"), kTemplatesVersion);
    RefreshTemplates(DataFolder(), stored);
}

} // namespace focaris
