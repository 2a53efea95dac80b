#pragma once

#include <QString>

struct StationState;

// Where the station keeps its files: beside the program, or in the user's configuration folder
// when the program's folder cannot be written (a system-wide install).
namespace ProgramFiles {

QString chooseDirectory(const QString &programDirectory);

// Makes `directory` current and notes which of the four files exist there.
void initialise(StationState &state, const QString &directory);

} // namespace ProgramFiles
