#pragma once

#include <QString>

struct StationState;

// Where the station keeps its files: beside the program, or in the user's configuration folder
// when the program's folder cannot be written (a system-wide install).
namespace ProgramFiles {

struct Location
{
    QString directory;
    bool writable = true;
};

// The program's folder when it can be written, or when it already holds a configuration: a
// station whose folder became read-only (a file system remounted after an error, a card locked)
// keeps running on its own settings rather than on defaults from elsewhere, only without saving
// them. Otherwise the user's configuration folder.
Location locate(const QString &programDirectory);

bool isWritable(const QString &directory);

// Makes `directory` current and notes which of the four files exist there and whether it can
// be written.
void initialise(StationState &state, const QString &directory);

} // namespace ProgramFiles
