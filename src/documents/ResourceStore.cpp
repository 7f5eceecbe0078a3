// Look-up and extraction of the embedded files; see ResourceStore.h.
#include "documents/ResourceStore.h"

#include "engines/common/FileInUse.h"
#include "engines/common/FileNames.h"
#include "resources/EmbeddedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <filesystem>

namespace focaris {
namespace {

QString lookupKey(const QString &type, const QString &name)
{
    // Resource names are ASCII; toUpper is enough for "without regard to case".
    return type.toUpper() + QLatin1Char('/') + name.toUpper();
}

QList<ResourceInfo> scanResources()
{
    resources::ensureRegistered();
    QSet<QString> placeholders;
    QFile list(QString::fromLatin1(resources::kPlaceholderList));
    if (list.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : list.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                placeholders.insert(QString::fromUtf8(line.trimmed()).toUpper());
    }
    QList<ResourceInfo> found;
    QDir root(QString::fromLatin1(resources::kRoot));
    for (const QString &type : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QDir dir(root.filePath(type));
        for (const QFileInfo &fi : dir.entryInfoList(QDir::Files, QDir::Name)) {
            ResourceInfo info;
            info.type = type;
            info.name = fi.completeBaseName();
            info.suffix = fi.suffix();
            info.size = fi.size();
            info.path = fi.filePath();
            info.placeholder = placeholders.contains((type + QLatin1Char('/') + fi.fileName()).toUpper());
            found.append(info);
        }
    }
    return found;
}

const QList<ResourceInfo> &allResources()
{
    static const QList<ResourceInfo> all = scanResources();
    return all;
}

} // namespace

QList<ResourceInfo> ListResources()
{
    return allResources();
}

std::optional<ResourceInfo> FindResource(const QString &name, const QString &type)
{
    const QString key = lookupKey(type, name);
    for (const ResourceInfo &info : allResources())
        if (lookupKey(info.type, info.name) == key)
            return info;
    return std::nullopt;
}

std::optional<QByteArray> ResourceBytes(const QString &name, const QString &type)
{
    auto info = FindResource(name, type);
    if (!info)
        return std::nullopt;
    QFile f(info->path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

bool ExtractResource(const QString &name, const QString &type, const QString &file)
{
    auto bytes = ResourceBytes(name, type);
    if (!bytes)
        return false;
    // A file of the same name in another case is the same file to the Windows program.
    std::filesystem::path target = files::resolveCaseInsensitive(file.toStdString());
    if (!files::deleteUnlessInUse(target))
        return false;
    QSaveFile out(QString::fromStdString(target.string()));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(*bytes) != bytes->size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace focaris
