#include "app/ProgramFiles.h"

#include "app/StationState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace ProgramFiles {

bool isWritable(const QString &directory)
{
    return ::access(QFile::encodeName(directory).constData(), W_OK) == 0;
}

Location locate(const QString &programDirectory)
{
    if (isWritable(programDirectory))
        return {programDirectory, true};
    const QDir dir(programDirectory);
    const StationState names;
    for (const QString &name : {names.IniFileName, names.IniFileNameTMD700}) {
        if (QFileInfo::exists(dir.filePath(name)))
            return {programDirectory, false};
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return {config, isWritable(config)};
}

void initialise(StationState &state, const QString &directory)
{
    QDir::setCurrent(directory);
    const QDir dir(directory);
    state.IniFileExists = QFileInfo::exists(dir.filePath(state.IniFileName));
    state.LogFileExists = QFileInfo::exists(dir.filePath(state.LogFileName));
    state.IniFileTMD700Exists = QFileInfo::exists(dir.filePath(state.IniFileNameTMD700));
    state.LogFileTMD700Exists = QFileInfo::exists(dir.filePath(state.LogFileNameTMD700));
    state.FolderWritable = isWritable(directory);
}

} // namespace ProgramFiles
