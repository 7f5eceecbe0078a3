// Temporary files and folders of the run, and the "in use" test that stands for the
// Windows refusal to delete a file another program holds open.
#include "core/TempFiles.h"

#include "core/Context.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "engines/common/FileInUse.h"

#include <filesystem>

namespace focaris {

bool FileInUse(const QString &path)
{
    return files::isFileInUse(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

bool TryDeleteFile(const QString &path)
{
    if (QFileInfo(path).isDir())
        return false;
    return files::deleteUnlessInUse(std::filesystem::path(QFile::encodeName(path).toStdString()));
}

QString NewTempFile(const QString &prefix, const QString &extension)
{
    const QString folder = TempFolder() + "/TmpFoc";
    if (!QDir().mkpath(folder))
        return {};
    for (int n = 0; n < 1000; ++n) {
        const QString name = folder + "/" + prefix + QString::number(n) + extension;
        if (TryDeleteFile(name))
            return name;
    }
    return {};
}

QString NewDocumentFile(const QString &base, const QString &extension, int limit)
{
    if (!QDir().mkpath(QFileInfo(base).absolutePath()))
        return {};
    for (int n = 0; n < limit; ++n) {
        const QString name = base + QString::number(n) + extension;
        if (!QFileInfo::exists(name))
            return name;
    }
    for (int n = 0; n < limit; ++n) {
        const QString name = base + QString::number(n) + extension;
        if (TryDeleteFile(name))
            return name;
    }
    return {};
}

// The first `base` + n (n below 100) that is absent or could be deleted, created.
static QString newFolder(const QString &base)
{
    for (int n = 0; n < 100; ++n) {
        const QString folder = base + QString::number(n);
        const QFileInfo info(folder);
        if (info.exists() && !(info.isDir() ? DeleteFolder(folder) : TryDeleteFile(folder)))
            continue;
        return QDir().mkpath(folder) ? folder : QString();
    }
    return {};
}

QString NewTempFolder(const QString &prefix)
{
    return newFolder(TempFolder() + "/" + prefix);
}

QString NewSessionFolder()
{
    return newFolder(ProgramFolder() + "/TMP");
}

bool DeleteFolder(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink())
        return false;
    // Nothing is deleted while a file below is held by another program, so that a
    // document open in the word processor never loses its folder half-way.
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!file.contains("/.~lock.") && FileInUse(file))
            return false;
    }
    return QDir(path).removeRecursively();
}

} // namespace focaris
