// The places a save archive is refused.
#include "safety/SavePlace.h"

#include "core/Context.h"
#include "engines/common/FileNames.h"

#include <QDir>

#include <filesystem>

namespace focaris {
namespace fs = std::filesystem;

QString RealPath(const QString &path)
{
    if (path.trimmed().isEmpty())
        return {};
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(QDir::fromNativeSeparators(path).toStdString()), ec);
    fs::path real = fs::weakly_canonical(absolute, ec);
    if (ec)
        real = absolute.lexically_normal();
    QString out = QDir::cleanPath(QString::fromStdString(real.string()));
    while (out.size() > 1 && out.endsWith(QLatin1Char('/')))
        out.chop(1);
    return out;
}

namespace {

bool inside(const QString &folder, const QString &root)
{
    if (root.isEmpty())
        return false;
    const QString f = RealPath(folder).toUpper();
    const QString r = RealPath(root).toUpper();
    return f == r || f.startsWith(r == QStringLiteral("/") ? r : r + QLatin1Char('/'));
}

} // namespace

bool ForbiddenSavePlace(const QString &folder)
{
    const QString bak =
        ProgramFolder().isEmpty()
            ? QString()
            : QString::fromStdString(
                  files::resolveCaseInsensitive(fs::path(ProgramFolder().toStdString()) / "DataBAK").string());
    // The program's own Temp as well: focaris-tool works in a folder of its own inside it,
    // and whatever is there is deleted when the program ends.
    const QString programTemp = ProgramFolder().isEmpty() ? QString() : ProgramFolder() + QStringLiteral("/Temp");
    for (const QString &root : {DataFolder(), LocalDataFolder(), TempFolder(), bak, programTemp})
        if (inside(folder, root))
            return true;
    return false;
}

} // namespace focaris
