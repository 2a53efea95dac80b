#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// One row of the setup dialog's channel grid: frequency and comment cells.
struct ChannelGridCells
{
    // Cells to write; nullopt leaves the cell as it was.
    std::optional<QString> frequency;
    std::optional<QString> comment;
};

// Entries of the generic transmitter's channel list, laid out by character position:
// "001=145.225000 [Relais]", or "001= [Relais]" for a channel without a frequency.
namespace ChannelList {
constexpr int EntryCount = 40;
constexpr int FrequencyLength = 10;

// "001= []": the entry of a channel with nothing recorded.
QString emptyEntry(int channel);
// Appends the empty entries of the channels after the last one listed, up to `count`.
void padWithEmptyEntries(QStringList &entries, int count);
// Whether the entry records a frequency or a comment (characters 5 to 7 are not " []").
bool hasContent(const QString &entry);
// Channel number from the first three characters; nullopt when they are not a number.
std::optional<int> channelOf(const QString &entry);
// Index of the first entry numbered channel, -1 when there is none.
int indexOfChannel(const QStringList &entries, int channel);

// Ten characters: three digits, "." or ",", six digits.
bool isValidFrequency(const QString &text);
// Entry text made from a grid row, or nullopt when a cell is malformed: a frequency that is
// not empty, a single blank or valid, or a comment holding a square bracket.
std::optional<QString> entryFromGrid(int channel, const QString &frequencyCell,
                                     const QString &commentCell);
// Cells that an entry puts into row channel of the grid. An entry of another channel or of
// another shape, and an empty comment, leave the cells as they were.
ChannelGridCells gridCellsFromEntry(int channel, const QString &entry);
} // namespace ChannelList
