#include "server/LineAssembler.h"

#include "server/ServerMessages.h"

QList<QByteArray> LineAssembler::take(const QByteArray &chunk)
{
    m_tail += chunk;
    QList<QByteArray> messages;
    const qsizetype lastLineEnd = m_tail.lastIndexOf("\r\n");
    if (lastLineEnd >= 0) {
        messages = ServerMessages::split(m_tail.left(lastLineEnd + 2));
        m_tail.remove(0, lastLineEnd + 2);
    }
    qsizetype cut = 0;
    while (m_tail.size() - cut > ServerMessages::MaxMessageBytes) {
        messages.append(m_tail.mid(cut, ServerMessages::MaxMessageBytes));
        cut += ServerMessages::MaxMessageBytes;
    }
    m_tail.remove(0, cut);
    return messages;
}

QList<QByteArray> LineAssembler::flush()
{
    QList<QByteArray> messages = ServerMessages::split(m_tail);
    m_tail.clear();
    return messages;
}
