#pragma once

#include <memory>

class TForm1;
class TFormDTMF;
class TFormIP;
class TFormSimuFreq;
class TFormInfo;
class TFormWarning;
class TFormMEM;
class TFormInitTX16;

// The program's windows, made once at start: the main window, which shows the station, and
// those its menus open. The wiring connects them to the station's parts.
struct StationWindows
{
    StationWindows();
    ~StationWindows();
    StationWindows(const StationWindows &) = delete;
    StationWindows &operator=(const StationWindows &) = delete;

    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TFormDTMF> FormDTMF;
    std::unique_ptr<TFormIP> FormIP;
    std::unique_ptr<TFormSimuFreq> FormSimuFreq;
    std::unique_ptr<TFormInfo> FormInfo;
    std::unique_ptr<TFormWarning> FormWarning;
    std::unique_ptr<TFormMEM> FormMEM;
    std::unique_ptr<TFormInitTX16> FormInitTX16;
};
