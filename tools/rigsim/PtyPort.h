#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

// The radio's end of a pseudo-terminal in raw mode. Incoming bytes are cut into commands at each
// carriage return; outgoing bytes are written at once or, when paced, at the rate a 9600-baud line
// carries them.
class PtyPort : public QObject
{
    Q_OBJECT

public:
    // One character on a 9600 8N1 line: start bit, 8 data bits, stop bit.
    static constexpr qint64 ByteTimeNs = 10 * 1'000'000'000LL / 9600;

    explicit PtyPort(bool paced, QObject *parent = nullptr);
    ~PtyPort() override;

    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }
    // A symbolic link to the slave, removed again when the port goes.
    bool makeLink(const QString &linkPath, QString *error);
    void send(const QByteArray &bytes);

signals:
    void commandReceived(const QByteArray &command);

private:
    void readMaster();
    void writePending();
    void writePacedBytes();

    bool m_paced;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_linkPath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_input;
    QByteArray m_output;
    QTimer m_paceTimer;
    QElapsedTimer m_burstClock;
    qint64 m_burstBytes = 0;
};
