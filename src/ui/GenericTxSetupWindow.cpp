#include "ui/GenericTxSetupWindow.h"

#include "generic_tx/ChannelList.h"
#include "ui/UnitInitTX16.h"

#include <QHeaderView>

GenericTxSetupWindow::GenericTxSetupWindow(TFormInitTX16 &form) : m_form(form)
{
    QTableWidget *grid = m_form.ui.StringGridTX16MEM;
    grid->setColumnCount(3);
    grid->setRowCount(ChannelList::EntryCount);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->setColumnWidth(0, 34);
    grid->setColumnWidth(1, 150);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
}

void GenericTxSetupWindow::setColumnTitles(const QStringList &titles)
{
    m_form.ui.StringGridTX16MEM->setHorizontalHeaderLabels(titles);
}

QString GenericTxSetupWindow::cell(int row, int column) const
{
    const QTableWidgetItem *item = m_form.ui.StringGridTX16MEM->item(row - 1, column);
    return item ? item->text() : QString();
}

void GenericTxSetupWindow::setCell(int row, int column, const QString &text)
{
    QTableWidget *grid = m_form.ui.StringGridTX16MEM;
    if (QTableWidgetItem *item = grid->item(row - 1, column))
        item->setText(text);
    else
        grid->setItem(row - 1, column, new QTableWidgetItem(text));
}

void GenericTxSetupWindow::lockCell(int row, int column)
{
    if (QTableWidgetItem *item = m_form.ui.StringGridTX16MEM->item(row - 1, column))
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
}

void GenericTxSetupWindow::focusGrid()
{
    m_form.ui.StringGridTX16MEM->setFocus();
}

void GenericTxSetupWindow::focusCell(int row, int column)
{
    m_form.ui.StringGridTX16MEM->setCurrentCell(row - 1, column);
}

void GenericTxSetupWindow::close()
{
    m_form.hide();
}
