// The folders of a focaris-tool command, taken as the desktop program takes them on the
// same computer, so that "Motive.lst", "DataBAK", the temporary folder and the refusals of
// saves and exports into the program's own Data and Temp are the same for both.
#pragma once

#include "core/Context.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>
#include <string>

namespace focaris::tool {

// The program folder: FOCARIS_HOME when it is set, as for the program; otherwise the
// folder above the data folder FOLDER (an installation's ProgramFolder/Data).
inline QString ToolProgramFolder(const QString &dataFolder)
{
    const QString home = qEnvironmentVariable("FOCARIS_HOME");
    if (!home.isEmpty())
        return DefaultProgramFolder();
    return QFileInfo(dataFolder).absolutePath();
}

// Works on FOLDER as the data folder: the program folder above, its local data folder
// ProgramFolder/Data, and a temporary folder of this run inside ProgramFolder/Temp (a
// folder of its own, removed with `scratch`, so that a program running at the same time
// keeps its scratch files).
inline QString UseToolFolders(const std::string &folder, std::unique_ptr<QTemporaryDir> &scratch)
{
    const QString data = QDir(QString::fromStdString(folder)).absolutePath();
    if (!QFileInfo(data).isDir())
        throw std::runtime_error("folder does not exist: " + folder);
    InitContext(ToolProgramFolder(data));
    WorkingContext &ctx = Context();
    ctx.dataFolder = data;
    const QString programTemp = ctx.programFolder + QStringLiteral("/Temp");
    QDir().mkpath(programTemp);
    scratch = std::make_unique<QTemporaryDir>(programTemp + QStringLiteral("/tool-XXXXXX"));
    if (!scratch->isValid())
        scratch = std::make_unique<QTemporaryDir>();
    ctx.tempFolder = scratch->path();
    return data;
}

} // namespace focaris::tool
