#pragma once

#include <QCoroTask>
#include <QObject>
#include <memory>

#include <functional>

class DtmfCodeList;
class DtmfEditor;
class DtmfInterpreter;
class EventLog;
class Notifier;
class RadioRequests;
class RadioSelector;
struct StationState;
struct StationWindows;

// DTMF code table editor and interpreter: wires its handlers to the station's windows.
class DtmfWiring : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        StationWindows &windows;
        StationState &state;
        EventLog &log;
        Notifier &notifier;
        RadioSelector &radios;
        RadioRequests &requests;
        DtmfCodeList &codes;
        // Saves the configuration, as the code that asks for it does.
        std::function<void()> save;
    };
    explicit DtmfWiring(const Parts &parts);
    ~DtmfWiring() override;

    void MenuDTMFClick();
    void ButtonSimuDTMFClick();
    void MenuSimuDTMFClick();
    // The action list of the current language.
    void refillActions();
    // DTMF characters heard on the air (reported by the server), within the request that
    // carries them.
    QCoro::Task<> receiveDtmf(const QString &chars);

    DtmfInterpreter &interpreter() { return *m_interpreter; }
    DtmfEditor &editor() { return *m_editor; }

private:
    StationWindows &m_windows;
    StationState &m_state;
    RadioRequests &m_requests;
    std::unique_ptr<DtmfEditor> m_editor;
    std::unique_ptr<DtmfInterpreter> m_interpreter;
};
