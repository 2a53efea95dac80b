#pragma once

#include <QString>

struct StationState;

// Where the station keeps its files: beside the program, or in the user's configuration folder
// when the program's folder cannot be written or belongs to an installed copy.
namespace ProgramFiles {

// An installed copy: under /usr (a package, or `cmake --install` there), or in the install
// layout's <prefix>/lib.../ivrelane folder of any other prefix.
bool isInstalled(const QString &programDirectory);

// For an installed copy, files an earlier version left beside the program (root could write
// there) are moved to the configuration folder when it has none of its own.
QString chooseDirectory(const QString &programDirectory);

// Makes `directory` current and notes which of the four files exist there.
void initialise(StationState &state, const QString &directory);

// Without XDG_RUNTIME_DIR (a headless start, a service, su), points it at a private folder of
// the user's, so that Qt does not warn about it on every start. To be called before the
// application object exists.
void provideRuntimeDirectory();

} // namespace ProgramFiles
