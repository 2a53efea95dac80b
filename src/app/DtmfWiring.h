#pragma once

#include <QCoroTask>
#include <QObject>
#include <memory>

class Station;
class DtmfEditor;
class DtmfInterpreter;

// DTMF code table editor and interpreter: wires its handlers to the station's windows.
class DtmfWiring : public QObject
{
    Q_OBJECT
public:
    explicit DtmfWiring(Station &station);
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
    Station &m_station;
    std::unique_ptr<DtmfEditor> m_editor;
    std::unique_ptr<DtmfInterpreter> m_interpreter;
};
