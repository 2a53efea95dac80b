#include "ui/StationWindows.h"

#include "ui/UnitDTMF.h"
#include "ui/UnitFreq.h"
#include "ui/UnitIP.h"
#include "ui/UnitInfo.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

StationWindows::StationWindows()
    : Form1(std::make_unique<TForm1>()), FormDTMF(std::make_unique<TFormDTMF>()),
      FormIP(std::make_unique<TFormIP>()), FormSimuFreq(std::make_unique<TFormSimuFreq>()),
      FormInfo(std::make_unique<TFormInfo>()), FormWarning(std::make_unique<TFormWarning>()),
      FormMEM(std::make_unique<TFormMEM>()), FormInitTX16(std::make_unique<TFormInitTX16>())
{
}

StationWindows::~StationWindows() = default;
