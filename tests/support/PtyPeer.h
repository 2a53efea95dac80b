#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// A scripted radio on a pseudo-terminal inside the test process, for replies no real set sends:
// a one-character read, an over-long line, a reply without carriage return, a mangled record.
// Each command (up to its carriage return) is answered with the raw bytes scripted for it, or
// "?\r" when none is; a command scripted with an empty reply gets no answer at all.
class PtyPeer : public QObject
{
    Q_OBJECT
public:
    PtyPeer();
    ~PtyPeer() override;

    bool isOpen() const { return m_master >= 0; }
    QString path() const { return m_path; }

    // Raw reply bytes for `command`, written as they are (carriage returns included).
    void script(const QByteArray &command, const QByteArray &reply);
    // Bytes written to the line unasked, as a radio's late or stray output would be.
    void sendRaw(const QByteArray &bytes);

    QStringList commands; // received so far, in order

private:
    void readMaster();

    int m_master = -1;
    int m_slave = -1; // held open so the line stays up while the program reopens its end
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_input;
    QHash<QByteArray, QByteArray> m_replies;
};
