#include "app/ProgramFiles.h"

#include "app/StationState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace ProgramFiles {

QString chooseDirectory(const QString &programDirectory)
{
    if (::access(QFile::encodeName(programDirectory).constData(), W_OK) == 0)
        return programDirectory;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

void initialise(StationState &state, const QString &directory)
{
    QDir::setCurrent(directory);
    const QDir dir(directory);
    state.IniFileExists = QFileInfo::exists(dir.filePath(state.IniFileName));
    state.LogFileExists = QFileInfo::exists(dir.filePath(state.LogFileName));
    state.IniFileTMD700Exists = QFileInfo::exists(dir.filePath(state.IniFileNameTMD700));
    state.LogFileTMD700Exists = QFileInfo::exists(dir.filePath(state.LogFileNameTMD700));
}

} // namespace ProgramFiles
