#pragma once

#include "RigState.h"

#include <QByteArray>
#include <QList>

// The command set of the simulated transceiver: takes one command (without its carriage return)
// and gives the reply text, after changing the radio's state as the set would.
// "?" answers an unknown command, "N" a known one with bad parameters or nothing to report.
class RigModel
{
public:
    RigModel(RigKind kind, int channelCount, QByteArray idText = QByteArray(), bool garble = false);
    // Another set answers from now on: "ID" gets "ID TEXT".
    void setIdText(const QByteArray &idText) { m_idText = idText; }

    QByteArray answer(const QByteArray &command);
    const RigState &state() const { return m_state; }

private:
    using Args = QList<QByteArray>;

    QByteArray common(const QByteArray &name, const Args &args, bool &known);
    QByteArray tmd700(const QByteArray &name, const Args &args, bool &known);
    QByteArray tmd710(const QByteArray &name, const Args &args, bool &known);

    QByteArray bandControl(const Args &args);
    QByteArray power(const Args &args);
    QByteArray modeQuery(const QByteArray &name, const Args &args, int memoryCode);
    QByteArray channelSelect(const QByteArray &name, const Args &args);
    QByteArray memoryRead(int channel);
    QByteArray memoryName(int channel);
    QByteArray vfoRead(int band);
    QByteArray garbled(QByteArray record, int key, int shiftPos) const;

    RigState m_state;
    QByteArray m_idText;
    bool m_garble = false;
};
