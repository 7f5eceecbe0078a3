// The person at the keyboard of the month and import commands of focaris-tool: messages
// printed as "TITLE: TEXT" lines (errors and warnings on standard error, the rest on
// standard output), every question answered "&Da" with --yes and "&Nu" without, file
// dialogs cancelled (the commands take their files as arguments), and the data folder of
// a command set up as the program's own.
#pragma once

#include "core/Context.h"
#include "core/NullUi.h"
#include "core/Settings.h"
#include "tool/ToolFolders.h"
#include "tool/ToolMonths.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace focaris::tool {

class PeriodsConsole : public NullUi {
public:
    explicit PeriodsConsole(bool yes) : yes_(yes) {}

    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        QString flat = text;
        flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString line = title + QStringLiteral(": ") + flat.simplified();
        const bool toErr = kind == MessageKind::Error || kind == MessageKind::Warning;
        std::fprintf(toErr ? stderr : stdout, "%s\n", qPrintable(line));
        if (buttons & MessageButton::Da)
            return yes_ ? MessageResult::Da : MessageResult::Nu;
        return MessageResult::OK;
    }
    void fieldHint(const QString &text, QObject *) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }

private:
    bool yes_;
};

// Works on `folder` as the data folder in the program's folders (ToolFolders.h): the
// program folder is FOCARIS_HOME when set, else the folder above `folder`, and holds the
// temporary folder and the local data folder (ProgramFolder/Temp, ProgramFolder/Data).
// The working month is the folder's own ("LUNA_LUCRU") unless `month` is given.
inline void UsePeriodsFolder(const std::string &folder, const std::string &month)
{
    const QString data = QDir(QString::fromStdString(folder)).absolutePath();
    if (!QDir(data).exists())
        throw std::runtime_error("folder does not exist: " + folder);
    InitContext(ToolProgramFolder(data));
    Context().dataFolder = data;
    if (!month.empty())
        ListedMonthCode(month);
    SetWorkingMonth(month.empty() ? ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU"))
                                  : QString::fromStdString(month));
}

// A refused entry, as the windows would show it at `field`.
inline int Refused(const QString &field, const QString &message)
{
    std::fprintf(stderr, "refused: %s: %s\n", qPrintable(field), qPrintable(message));
    return 1;
}

} // namespace focaris::tool
