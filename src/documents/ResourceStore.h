// The program's built-in files (templates, icon, legislation), carried as Qt resources
// and found by name and type without regard to case: "Referat"/"Model" and
// "REFERAT"/"MODEL" are the same resource. Where a file must go to become a resource is
// described in docs/resources.md.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace focaris {

struct ResourceInfo {
    QString type;   // as the file is spelled: "MODEL"
    QString name;   // "Referat"
    QString suffix; // "rtf" (the extension is not part of the name)
    qint64 size = 0;
    bool placeholder = false; // a stand-in, not the real built-in file
    QString path;             // inside Qt's resource file system
};

// Every embedded file, sorted by type and name.
QList<ResourceInfo> ListResources();
// The resource of that name and type, if the program carries one.
std::optional<ResourceInfo> FindResource(const QString &name, const QString &type);
std::optional<QByteArray> ResourceBytes(const QString &name, const QString &type);

// Writes the resource's bytes unchanged to `file` and returns true. The file is deleted
// first; when it cannot be (open in another program, read-only) nothing is written and
// the result is false. False too, with the file left alone, when no such resource
// exists, and when writing fails (nothing half-written stays).
bool ExtractResource(const QString &name, const QString &type, const QString &file);

} // namespace focaris
