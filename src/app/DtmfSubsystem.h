#pragma once

#include <QObject>
#include <memory>

class Station;
class DtmfEditor;
class DtmfInterpreter;

// DTMF code table editor and interpreter: wires its handlers to the station's windows.
class DtmfSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit DtmfSubsystem(Station &station);
    ~DtmfSubsystem() override;

    void MenuDTMFClick();
    void ButtonSimuDTMFClick();
    void MenuSimuDTMFClick();

    DtmfInterpreter &interpreter() { return *m_interpreter; }
    DtmfEditor &editor() { return *m_editor; }

private:
    Station &m_station;
    std::unique_ptr<DtmfEditor> m_editor;
    std::unique_ptr<DtmfInterpreter> m_interpreter;
};
