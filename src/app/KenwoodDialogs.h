#pragma once

#include <QObject>
#include <QString>
#include <functional>

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
};
