#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class DtmfCodeList;
class Notifier;
class Radio;
class RadioSelector;
class TForm1;
class TFormMEM;
struct SerialPortSettings;
struct StationState;

// The Kenwood's side windows and menu items: the memory count dialog, the export of the DTMF
// codes and memories to a text file, and the serial read time-outs.
class KenwoodDialogs : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        TForm1 &mainWindow;
        TFormMEM &memoryWindow;
        StationState &state;
        SerialPortSettings &port;
        const DtmfCodeList &dtmfCodes;
        RadioSelector &radios;
        Notifier &notifier;
        QString directory; // where the export is offered
    };
    explicit KenwoodDialogs(const Parts &parts);

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
    Parts m_parts;
    // The radio whose memories the panel lists: the last one in use that has memories (the
    // generic transmitter's panel has no memory list).
    QPointer<const Radio> m_listedMemories;
};
