#pragma once

#include "kenwood/KenwoodModel.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

class RadioRequests;
class RadioState;
class RigLink;

// Reads the memory list again while the radio is in service, a few channels per request, so that
// a keying or a server request never waits behind the whole read (200 channels take about 13 s at
// 9600 baud). The list on show is kept until the read is complete, then replaced; a read that
// gets no reply leaves it as it is.
class MemoryRefresh : public QObject
{
    Q_OBJECT
public:
    static constexpr int ChannelsPerRequest = 4;

    MemoryRefresh(RigLink &link, RadioRequests &requests, RadioState &radio,
                  QObject *parent = nullptr);

    // Reads channels 1..count of `model`, starting over when a read is under way.
    void start(Kenwood::Model model, int count);
    // Another initialisation, the port closed or lost, another model: the read is abandoned.
    void stop();
    bool isRunning() const { return m_running; }

private:
    void submitSlice();
    QCoro::Task<> readSlice(int generation);

    RigLink &m_link;
    RadioRequests &m_requests;
    RadioState &m_radio;
    Kenwood::Model m_model = Kenwood::Model::TMD710;
    int m_count = 0;
    int m_next = 1;
    int m_generation = 0;
    bool m_running = false;
    QString m_replies;
};
