#pragma once

#include <QString>

// Where the station keeps its files: beside the program, or in the user's configuration folder
// when the program's folder cannot be written or belongs to an installed copy.
namespace ProgramFiles {

// The station's files, and the names an earlier version gave them.
constexpr const char *ConfigurationFile = "Ivrelane.ini";
constexpr const char *EarlierConfigurationFile = "IvrelaneTMD700.ini";
constexpr const char *LogFile = "Ivrelane.log";
constexpr const char *EarlierLogFile = "IvrelaneTMD700.log";

struct Location
{
    QString directory;
    bool writable = true;
};

// An installed copy: under /usr (a package, or `cmake --install` there), or in the install
// layout's <prefix>/lib.../ivrelane folder of any other prefix.
bool isInstalled(const QString &programDirectory);

// The program's folder when it can be written, or when it already holds a configuration: a
// station whose folder became read-only (a file system remounted after an error, a card locked)
// keeps running on its own settings rather than on defaults from elsewhere, only without saving
// them. Otherwise, and always for an installed copy, the user's configuration folder; files an
// earlier version left beside an installed program (root could write there) are moved there
// when it has none of its own.
Location locate(const QString &programDirectory);

bool isWritable(const QString &directory);

// Without XDG_RUNTIME_DIR (a headless start, a service, su), points it at a private folder of
// the user's, so that Qt does not warn about it on every start. To be called before the
// application object exists.
void provideRuntimeDirectory();

} // namespace ProgramFiles
