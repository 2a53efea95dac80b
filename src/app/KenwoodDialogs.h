#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class Radio;
class Station;

// The Kenwood's side windows and menu items: the memory count dialog, the export of the DTMF
// codes and memories to a text file, and the serial read time-outs.
class KenwoodDialogs : public QObject
{
    Q_OBJECT
public:
    explicit KenwoodDialogs(Station &station);

    void MenuMEMClick();
    void FormMEMShow();
    void SpinEditMEMChange(int value);
    void MenuSaveDTMFClick();
    void MenuTIMEROUTSClick();
    void EditRIChange(const QString &text);
    void EditRMChange(const QString &text);
    void EditRCChange(const QString &text);

    // Asks where to save the DTMF codes and memories; an empty answer cancels. Tests replace
    // the file dialog with their own choice.
    std::function<QString(const QString &defaultName)> chooseSaveFile;

private:
    Station &m_station;
    // The radio whose memories the panel lists: the last one in use that has memories (the
    // generic transmitter's panel has no memory list).
    QPointer<const Radio> m_listedMemories;
};
