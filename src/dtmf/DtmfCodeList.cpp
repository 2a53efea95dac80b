#include "dtmf/DtmfCodeList.h"

void DtmfCodeList::setLines(const QStringList &lines)
{
    m_lines = lines;
    emit changed();
}

void DtmfCodeList::append(const QString &line)
{
    m_lines.append(line);
    emit changed();
}
