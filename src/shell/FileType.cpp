// Desktop registration of ".T21".
#include "shell/FileType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace focaris::shell {
namespace {

bool writeText(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

QString desktopFile()
{
    return UserDataHome() + QStringLiteral("/applications/focaris.desktop");
}

QString execLine(const QString &executable)
{
    // Desktop entries quote arguments with double quotes and escape \ " ` $ inside them.
    QString quoted = executable;
    for (const char *c : {"\\", "\"", "`", "$"})
        quoted.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return QStringLiteral("Exec=\"") + quoted + QStringLiteral("\" %f");
}

} // namespace

QString UserDataHome()
{
    const QByteArray env = qgetenv("XDG_DATA_HOME");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

bool FileTypeRegistered(const QString &executable)
{
    QFile file(desktopFile());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    return text.contains(execLine(executable)) &&
           QFile::exists(UserDataHome() + QStringLiteral("/mime/packages/focaris-t21.xml"));
}

bool RegisterFileType(const QString &executable, const QString &iconFile)
{
    if (FileTypeRegistered(executable))
        return true;
    const QString home = UserDataHome();
    const QByteArray mime = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                            "  <mime-type type=\"application/x-focaris-save\">\n"
                            "    <comment>Foc aris save archive</comment>\n"
                            "    <comment xml:lang=\"ro\">Salvare Foc aris</comment>\n"
                            "    <glob pattern=\"*.T21\" case-sensitive=\"false\"/>\n"
                            "    <glob pattern=\"*.t21\"/>\n"
                            "  </mime-type>\n"
                            "</mime-info>\n";
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Name=Foc aris\n"
                                   "Comment=Ajutoare pentru incalzire si suplimente pentru energie\n");
    entry += execLine(executable) + QLatin1Char('\n');
    if (!iconFile.isEmpty())
        entry += QStringLiteral("Icon=") + iconFile + QLatin1Char('\n');
    entry += QStringLiteral("MimeType=application/x-focaris-save;\n"
                            "Categories=Office;\n"
                            "Terminal=false\n");
    const bool ok = writeText(home + QStringLiteral("/mime/packages/focaris-t21.xml"), mime) &&
                    writeText(desktopFile(), entry.toUtf8());
    if (!ok)
        return false;
    // The desktop's caches are refreshed in the background; when the tools are missing
    // the entry is still found by desktops that read the folders directly.
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        QProcess::startDetached(QStringLiteral("update-mime-database"), {home + QStringLiteral("/mime")});
    if (!QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
        QProcess::startDetached(QStringLiteral("update-desktop-database"), {home + QStringLiteral("/applications")});
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        QProcess::startDetached(
            QStringLiteral("xdg-mime"),
            {QStringLiteral("default"), QStringLiteral("focaris.desktop"), QString::fromLatin1(kSaveMimeType)});
    return true;
}

} // namespace focaris::shell
