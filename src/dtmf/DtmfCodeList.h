#pragma once

#include <QObject>
#include <QStringList>

// The DTMF code table as the DTMF window lists it and DTMF_CODE= stores it: a header line first,
// then one "code : action" entry per line. The window shows it; the interpreter, the editor, the
// configuration and the memory export read it here.
class DtmfCodeList : public QObject
{
    Q_OBJECT
public:
    const QStringList &lines() const { return m_lines; }
    void setLines(const QStringList &lines);
    void append(const QString &line);

signals:
    void changed();

private:
    QStringList m_lines;
};
