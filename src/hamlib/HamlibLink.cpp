#include "hamlib/HamlibLink.h"

#include "hamlib/HamlibRig.h"
#include "hamlib/HamlibRigBands.h"

#include <QMetaObject>
#include <QThread>

HamlibLink::HamlibLink(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<HamlibCapabilities>();
    qRegisterMetaType<HamlibBandState>();
    qRegisterMetaType<HamlibFrequency>();
    qRegisterMetaType<HamlibRequest>();
    HamlibRig::prepareProcessLocale();
    m_unkeyWatch.setSingleShot(true);
    m_unkeyWatch.setInterval(UnkeyWaitMs);
    connect(&m_unkeyWatch, &QTimer::timeout, this, &HamlibLink::unkeyOverdue);
}

HamlibLink::~HamlibLink()
{
    stop();
}

void HamlibLink::start(int model, const QString &port, int speed)
{
    stop();
    m_wishes = std::make_shared<HamlibWishes>();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("hamlib"));
    m_rig = new HamlibRig(m_wishes);
    m_rig->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_rig, &QObject::deleteLater);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    connect(m_rig, &HamlibRig::opened, this, &HamlibLink::opened);
    connect(m_rig, &HamlibRig::bandRead, this, &HamlibLink::bandRead);
    connect(m_rig, &HamlibRig::memoriesRead, this, &HamlibLink::memoriesRead);
    connect(m_rig, &HamlibRig::frequencyRead, this, &HamlibLink::frequencyRead);
    connect(m_rig, &HamlibRig::answered, this, &HamlibLink::answered);
    connect(m_rig, &HamlibRig::failed, this, &HamlibLink::failed);
    connect(m_rig, &HamlibRig::refused, this, &HamlibLink::refused);
    connect(m_rig, &HamlibRig::powerNotTaken, this, &HamlibLink::powerNotTaken);
    m_thread->start();
    post([model, port, speed](HamlibRig &rig) { rig.open(model, port, speed); });
}

void HamlibLink::stop()
{
    if (m_rig == nullptr)
        return;
    m_unkeyWatch.stop();
    m_wishes->transmit = false;
    // The requests still queued return at once; this one runs after them, so the last keying
    // asked is undone.
    m_wishes->stopping = true;
    // A request under way may wait seconds for a radio whose replies are lost: the unkey does
    // not wait for it, and nothing the call still sends reaches the radio after it.
    if (m_wishes->outstanding.load() > 0 && m_wishes->port.unkeyNow())
        m_wishes->port.cutOff();
    // Reports still on their way belong to the radio being closed.
    disconnect(m_rig, nullptr, this, nullptr);
    QMetaObject::invokeMethod(
        m_rig,
        [rig = m_rig] {
            rig->release();
            rig->close();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    // An abandoned thread deletes itself, with its radio, once its call returns.
    if (m_thread->wait(StopWaitMs))
        delete m_thread;
    m_thread = nullptr;
    m_rig = nullptr;
    m_wishes.reset();
}

int HamlibLink::outstanding() const
{
    return m_wishes ? m_wishes->outstanding.load() : 0;
}

void HamlibLink::post(std::function<void(HamlibRig &)> request)
{
    if (m_rig == nullptr)
        return;
    ++m_wishes->outstanding;
    QMetaObject::invokeMethod(
        m_rig,
        [wishes = m_wishes, rig = m_rig, request = std::move(request)] {
            if (!wishes->stopping)
                request(*rig);
            --wishes->outstanding;
        },
        Qt::QueuedConnection);
}

void HamlibLink::readMemories(int count)
{
    post([count](HamlibRig &rig) { rig.bands().readMemories(count); });
}

void HamlibLink::readInitialState(int band, bool bothBands)
{
    post([=](HamlibRig &rig) { rig.bands().readInitialState(band, bothBands); });
}

void HamlibLink::selectBand(int band)
{
    post([band](HamlibRig &rig) { rig.bands().selectBand(band); });
}

void HamlibLink::setMode(int band, int activeBand, bool memory, int channel)
{
    post([=](HamlibRig &rig) { rig.bands().setMode(band, activeBand, memory, channel); });
}

void HamlibLink::readBand(int band)
{
    post([band](HamlibRig &rig) { rig.bands().readBand(band); });
}

void HamlibLink::setPower(int band, bool activeBand, int position)
{
    post([=](HamlibRig &rig) { rig.bands().setPower(band, activeBand, position); });
}

void HamlibLink::setScan(int band, bool on)
{
    post([=](HamlibRig &rig) { rig.setScan(band, on); });
}

void HamlibLink::setTransmit(bool on)
{
    if (m_wishes) {
        m_wishes->transmit = on;
        if (!on) {
            ++m_wishes->unkeysAsked;
            if (!m_unkeyWatch.isActive())
                m_unkeyWatch.start();
        }
    }
    post([](HamlibRig &rig) { rig.applyTransmit(); });
}

// The worker is held up by a call to a radio that does not reply: the unkey goes on the line
// between two of that call's commands, and the worker's own follows when the call ends.
void HamlibLink::unkeyOverdue()
{
    if (!m_wishes || m_wishes->transmit.load())
        return;
    if (m_wishes->unkeysDone.load() < m_wishes->unkeysAsked.load())
        m_wishes->port.unkeyNow();
}

void HamlibLink::readFrequency(int band)
{
    post([band](HamlibRig &rig) { rig.bands().readFrequency(band); });
}

void HamlibLink::checkLink()
{
    post([](HamlibRig &rig) { rig.checkLink(); });
}
