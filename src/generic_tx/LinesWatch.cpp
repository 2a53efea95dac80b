#include "generic_tx/LinesWatch.h"

#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/ControlLines.h"

LinesWatch::LinesWatch(ControlLineDriver &driver, QObject *parent)
    : QObject(parent), m_driver(driver)
{
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &LinesWatch::retry);
}

void LinesWatch::watch(ControlLines *lines)
{
    if (m_lines)
        disconnect(m_lines, nullptr, this, nullptr);
    m_retry.stop();
    m_lines = lines;
    if (m_lines)
        connect(m_lines, &ControlLines::lost, this, &LinesWatch::linesLost);
}

void LinesWatch::keepLooking()
{
    if (m_lines)
        m_retry.start();
}

void LinesWatch::retry()
{
    if (!m_lines || !m_driver.openLines())
        return;
    m_retry.stop();
    emit back(m_lines->deviceName());
}

void LinesWatch::linesLost(const QString &reason)
{
    // Said once: the writes that fail while it is away do not say it again.
    if (m_retry.isActive())
        return;
    m_retry.start();
    emit lost(m_lines->deviceName(), reason);
}
