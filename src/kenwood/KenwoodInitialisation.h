#pragma once

#include "kenwood/KenwoodModel.h"

#include <QCoroTask>
#include <QString>
#include <functional>
#include <optional>

class KenwoodOperations;
class Notifier;
class RadioState;
class RigLink;
class TrafficLine;
struct StationState;

// The initialisation sequence run by the hidden INIT button: model check, set-up commands,
// memory list, band selection, mode read-back, current frequency and powers. One runs at a time:
// the station's request queue sees to it.
class KenwoodInitialisation
{
public:
    KenwoodInitialisation(StationState &state, RadioState &radio, RigLink &link,
                          KenwoodOperations &operations, TrafficLine &traffic, Notifier &notifier,
                          std::function<std::optional<Kenwood::Model>()> model,
                          std::function<QString()> portName);

    // How an initialisation ended.
    struct Outcome
    {
        enum Kind { Ready, NotRun, NoAnswer, WrongModel } kind = NotRun;
        // For WrongModel: the set that answered, when its reply names one.
        std::optional<Kenwood::Model> found;
    };

    // `readMemories` false keeps the memory list already read (a recovery after a glitch).
    QCoro::Task<Outcome> ButtoninitClick(bool readMemories = true);

    // Runs at the end of every initialisation that went through.
    std::function<void()> completed;

private:
    bool stopOnTimeout(const QString &reply);
    QCoro::Task<Outcome> setUp(Kenwood::Model model, bool readMemories);
    QCoro::Task<> selectBands();
    QCoro::Task<> readModes(Kenwood::Model model);
    void takeCurrentFrequency();
    QCoro::Task<> setPower(int band, int configured);

    StationState &m_state;
    RigLink &m_link;
    KenwoodOperations &m_operations;
    TrafficLine &m_traffic;
    RadioState &m_radio;
    Notifier &m_notifier;
    std::function<std::optional<Kenwood::Model>()> m_model;
    std::function<QString()> m_portName;
};
