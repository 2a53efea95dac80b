#pragma once

#include "generic_tx/GenericTxSetupForm.h"

class TFormInitTX16;

// The setup dialog's channel grid and closing, for the setup logic.
class GenericTxSetupWindow : public GenericTxSetupForm
{
public:
    // Lays the grid out: three columns, one row per channel.
    explicit GenericTxSetupWindow(TFormInitTX16 &form);

    void setColumnTitles(const QStringList &titles) override;
    QString cell(int row, int column) const override;
    void setCell(int row, int column, const QString &text) override;
    void lockCell(int row, int column) override;
    void focusGrid() override;
    void focusCell(int row, int column) override;
    void close() override;

private:
    TFormInitTX16 &m_form;
};
