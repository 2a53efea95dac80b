#include "hamlib/HamlibLink.h"

#include "hamlib/HamlibRig.h"

#include <QMetaObject>

#include <clocale>

HamlibLink::HamlibLink(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<HamlibCapabilities>();
    qRegisterMetaType<HamlibBandState>();
    qRegisterMetaType<HamlibFrequency>();
    qRegisterMetaType<HamlibRequest>();
    m_thread.setObjectName(QStringLiteral("hamlib"));
    // Hamlib sets LC_NUMERIC to "C" around its calls, on its own thread, and then restores the
    // name it read before, which that very switch has freed. With "C" already in place both
    // steps change nothing; the program's texts never take their decimal point from the C locale.
    std::setlocale(LC_NUMERIC, "C");
}

HamlibLink::~HamlibLink()
{
    stop();
}

void HamlibLink::start(int model, const QString &port, int speed)
{
    stop();
    m_wantedTransmit = false;
    m_stopping = false;
    m_rig = new HamlibRig(m_wantedTransmit, m_stopping);
    m_rig->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_rig, &QObject::deleteLater);
    connect(m_rig, &HamlibRig::opened, this, &HamlibLink::opened);
    connect(m_rig, &HamlibRig::bandRead, this, &HamlibLink::bandRead);
    connect(m_rig, &HamlibRig::memoriesRead, this, &HamlibLink::memoriesRead);
    connect(m_rig, &HamlibRig::frequencyRead, this, &HamlibLink::frequencyRead);
    connect(m_rig, &HamlibRig::answered, this, &HamlibLink::answered);
    connect(m_rig, &HamlibRig::failed, this, &HamlibLink::failed);
    connect(m_rig, &HamlibRig::refused, this, &HamlibLink::refused);
    m_thread.start();
    post([model, port, speed](HamlibRig &rig) { rig.open(model, port, speed); });
}

void HamlibLink::stop()
{
    if (m_rig == nullptr)
        return;
    m_wantedTransmit = false;
    // The requests still queued return at once; this one runs after them, so the last keying
    // asked is undone.
    m_stopping = true;
    QMetaObject::invokeMethod(
        m_rig,
        [rig = m_rig] {
            rig->release();
            rig->close();
        },
        Qt::BlockingQueuedConnection);
    // Reports still on their way belong to the radio just closed.
    disconnect(m_rig, nullptr, this, nullptr);
    m_thread.quit();
    m_thread.wait();
    m_rig = nullptr;
    m_outstanding = 0;
}

void HamlibLink::post(std::function<void(HamlibRig &)> request)
{
    if (m_rig == nullptr)
        return;
    ++m_outstanding;
    QMetaObject::invokeMethod(
        m_rig,
        [this, rig = m_rig, request = std::move(request)] {
            if (!m_stopping)
                request(*rig);
            --m_outstanding;
        },
        Qt::QueuedConnection);
}

void HamlibLink::readMemories(int count)
{
    post([count](HamlibRig &rig) { rig.readMemories(count); });
}

void HamlibLink::selectBand(int band)
{
    post([band](HamlibRig &rig) { rig.selectBand(band); });
}

void HamlibLink::setMode(int band, int activeBand, bool memory, int channel)
{
    post([=](HamlibRig &rig) { rig.setMode(band, activeBand, memory, channel); });
}

void HamlibLink::readBand(int band)
{
    post([band](HamlibRig &rig) { rig.readBand(band); });
}

void HamlibLink::setPower(int band, bool activeBand, int position)
{
    post([=](HamlibRig &rig) { rig.setPower(band, activeBand, position); });
}

void HamlibLink::setScan(int band, bool on)
{
    post([=](HamlibRig &rig) { rig.setScan(band, on); });
}

void HamlibLink::setTransmit(bool on)
{
    m_wantedTransmit = on;
    post([](HamlibRig &rig) { rig.applyTransmit(); });
}

void HamlibLink::readFrequency(int band)
{
    post([band](HamlibRig &rig) { rig.readFrequency(band); });
}
