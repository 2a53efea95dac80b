#pragma once

#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodOperations.h"
#include "radio/PanelRadio.h"

// A TM-D700, TM-D710 or TM-V71 behind the Radio seam.
class KenwoodRadio : public PanelRadio<KenwoodOperations>
{
public:
    using PanelRadio::PanelRadio;

    void setModel(Kenwood::Model model) { m_model = model; }
    Kenwood::Model model() const { return m_model; }
    Capabilities capabilities() const override;

private:
    Kenwood::Model m_model = Kenwood::Model::TMD700;
};
