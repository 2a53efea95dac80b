#pragma once

#include <QString>
#include <QStringList>

// The setup dialog's channel grid, as the setup logic fills and reads it, and the dialog's
// closing. Rows run from 1 to ChannelList::EntryCount; column 0 holds the channel's number,
// 1 its frequency and 2 its comment.
class GenericTxSetupForm
{
public:
    virtual ~GenericTxSetupForm() = default;

    virtual void setColumnTitles(const QStringList &titles) = 0;
    virtual QString cell(int row, int column) const = 0;
    virtual void setCell(int row, int column, const QString &text) = 0;
    // The operator cannot change the cell.
    virtual void lockCell(int row, int column) = 0;
    // Where the operator goes on: the grid, or one of its cells.
    virtual void focusGrid() = 0;
    virtual void focusCell(int row, int column) = 0;
    virtual void close() = 0;
};
