#include "app/TransmitTimeout.h"

#include "app/StatusLines.h"
#include "core/EventLog.h"
#include "core/StationState.h"

#include <QAbstractButton>

TransmitTimeout::TransmitTimeout(StationState &state, EventLog &log,
                                 const QList<QAbstractButton *> &transmitToggles,
                                 QLineEdit *labelTMD, QObject *parent)
    : QObject(parent), m_state(state), m_log(log), m_labelTMD(labelTMD)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TransmitTimeout::expire);
    for (QAbstractButton *toggle : transmitToggles) {
        connect(toggle, &QAbstractButton::toggled, this,
                [this, toggle](bool keyed) { keyingChanged(toggle, keyed); });
    }
}

void TransmitTimeout::keyingChanged(QAbstractButton *toggle, bool keyed)
{
    if (keyed) {
        // The server's keying is refused while locked out: this one came from someone else.
        m_state.TxLockedOut = false;
        m_keyed = toggle;
        if (m_state.TxTimeoutSeconds > 0)
            m_timer.start(m_state.TxTimeoutSeconds * 1000);
        else
            m_timer.stop();
    } else if (toggle == m_keyed) {
        m_keyed = nullptr;
        m_timer.stop();
    }
}

void TransmitTimeout::expire()
{
    QAbstractButton *toggle = m_keyed;
    if (toggle == nullptr || !toggle->isChecked())
        return;
    // Locked out before the unkeying: a Kenwood's exchange lets a server TRANSMIT run meanwhile.
    m_state.TxLockedOut = true;
    toggle->click();
    m_log.append(QStringLiteral("TX time-out"));
    StatusLines::setColouredText(m_labelTMD, QStringLiteral("TX time-out"),
                                 StatusLines::Colour::Red);
}
