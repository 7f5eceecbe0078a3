// The data-folder half of the start-up sequence, on its own.
#include "shell/DataFolderSetup.h"

#include "core/Context.h"
#include "documents/TemplateStore.h"
#include "engines/common/FileNames.h"

#include <QDir>

#include <filesystem>

namespace focaris::shell {
namespace {

int missingTemplates(const QString &folder)
{
    int missing = 0;
    for (const DataTemplate &t : kDataTemplates) {
        std::error_code ec;
        const auto path =
            files::resolveCaseInsensitive(QDir(folder).filePath(QString::fromLatin1(t.file)).toStdString());
        missing += !std::filesystem::exists(path, ec);
    }
    return missing;
}

} // namespace

int PrepareDataFolder(Ui &ui, const StartupSteps &steps)
{
    if (steps.removeLeftovers)
        steps.removeLeftovers();
    const int missingBefore = missingTemplates(DataFolder());
    if (steps.createTables)
        steps.createTables();
    if (steps.purgeLog)
        steps.purgeLog();
    // A new folder gets its templates here already (the upgrade from "no version").
    if (steps.upgradeData)
        steps.upgradeData(ui);
    if (steps.resetKeys)
        steps.resetKeys();
    // Only the data folder's templates: the program folder belongs to an installation.
    InstallMissingFiles(DataFolder());
    return missingBefore - missingTemplates(DataFolder());
}

} // namespace focaris::shell
