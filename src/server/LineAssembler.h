#pragma once

#include <QByteArray>
#include <QList>

// Puts the server's lines back together across reads: TCP may deliver one line in two pieces
// ("FREQ", then "UENCY" CR LF). Complete lines are handed on at once; the unfinished tail of a
// read waits for the rest of its line, and is handed on as it stands when the caller decides no
// continuation is coming. The tail is bounded: past ServerMessages::MaxMessageBytes it is handed on
// in pieces of that size, so a stream without line ends cannot make the process grow.
class LineAssembler
{
public:
    // The complete messages that `chunk` finishes, each with its CR LF, in order.
    QList<QByteArray> take(const QByteArray &chunk);
    // The waiting tail as one message (nothing when none waits); the tail is then empty.
    QList<QByteArray> flush();
    bool hasTail() const { return !m_tail.isEmpty(); }
    void clear() { m_tail.clear(); }

private:
    QByteArray m_tail;
};
