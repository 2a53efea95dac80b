#include "ui/GenericTxWindowSettings.h"

#include "ui/UnitInitTX16.h"

namespace {

// A radio button of an exclusive group cannot be cleared directly.
void uncheck(QRadioButton *button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

QSpinBox *pulseEdit(Ui::TFormInitTX16 &ui, TxLine pulsed)
{
    switch (pulsed) {
    case TxLine::Down:
        return ui.SpinEditPin1;
    case TxLine::Reset:
        return ui.SpinEditPin16;
    default:
        return ui.SpinEditPin14;
    }
}

// The buttons for the active level of an output: high (positive) and low (negative).
std::pair<QRadioButton *, QRadioButton *> polarityChoices(Ui::TFormInitTX16 &ui, TxLine line)
{
    switch (line) {
    case TxLine::Up:
        return {ui.RadioButtonPin14pos, ui.RadioButtonPin14Neg};
    case TxLine::Down:
        return {ui.RadioButtonPin1Pos, ui.RadioButtonPin1Neg};
    case TxLine::Reset:
        return {ui.RadioButtonPin16Pos, ui.RadioButtonPin16Neg};
    case TxLine::Ptt:
        break;
    }
    return {ui.RadioButtonPin17H, ui.RadioButtonPin17L};
}

QRadioButton *portChoice(Ui::TFormInitTX16 &ui, GenericTxSettings::Port port)
{
    using Port = GenericTxSettings::Port;
    switch (port) {
    case Port::Lpt378:
        return ui.RadioButtonH378;
    case Port::Lpt278:
        return ui.RadioButtonH278;
    case Port::Lpt3BC:
        return ui.RadioButtonH3BC;
    case Port::User:
        return ui.RadioButtonH000;
    case Port::None:
        break;
    }
    return nullptr;
}

} // namespace

int GenericTxWindowSettings::channelCount() const
{
    return m_ui.SpinEditCanalNombre->value();
}

void GenericTxWindowSettings::setChannelCount(int count)
{
    m_ui.SpinEditCanalNombre->setValue(count);
}

int GenericTxWindowSettings::baseChannel() const
{
    return m_ui.SpinEditCanalReset->value();
}

void GenericTxWindowSettings::setBaseChannel(int channel)
{
    m_ui.SpinEditCanalReset->setValue(channel);
}

void GenericTxWindowSettings::keepBaseChannelWithin(int count)
{
    m_ui.SpinEditCanalReset->setMaximum(count);
}

int GenericTxWindowSettings::period() const
{
    return m_ui.SpinEditTempoTX16->value();
}

void GenericTxWindowSettings::setPeriod(int ms)
{
    m_ui.SpinEditTempoTX16->setValue(ms);
}

int GenericTxWindowSettings::pulseLength(TxLine pulsed) const
{
    return pulseEdit(m_ui, pulsed)->value();
}

void GenericTxWindowSettings::setPulseLength(TxLine pulsed, int ms)
{
    pulseEdit(m_ui, pulsed)->setValue(ms);
}

LinePolarity GenericTxWindowSettings::polarity(TxLine line) const
{
    return polarityChoices(m_ui, line).second->isChecked() ? LinePolarity::Negative
                                                           : LinePolarity::Positive;
}

void GenericTxWindowSettings::setPolarity(TxLine line, LinePolarity polarity)
{
    const auto [high, low] = polarityChoices(m_ui, line);
    (polarity == LinePolarity::Negative ? low : high)->setChecked(true);
}

LinePolarity GenericTxWindowSettings::squelchPolarity() const
{
    return m_ui.RadioButtonPin11L->isChecked() ? LinePolarity::Negative : LinePolarity::Positive;
}

void GenericTxWindowSettings::setSquelchPolarity(LinePolarity polarity)
{
    (polarity == LinePolarity::Negative ? m_ui.RadioButtonPin11L : m_ui.RadioButtonPin11H)
        ->setChecked(true);
}

bool GenericTxWindowSettings::circularScan() const
{
    return m_ui.CheckBoxOptiTX16->isChecked();
}

void GenericTxWindowSettings::setCircularScan(bool circular)
{
    m_ui.CheckBoxOptiTX16->setChecked(circular);
}

GenericTxWindowSettings::Port GenericTxWindowSettings::port() const
{
    for (Port choice : {Port::Lpt378, Port::Lpt278, Port::Lpt3BC, Port::User}) {
        if (portChoice(m_ui, choice)->isChecked())
            return choice;
    }
    return Port::None;
}

void GenericTxWindowSettings::markPort(Port port, bool chosen)
{
    QRadioButton *choice = portChoice(m_ui, port);
    if (choice == nullptr)
        return;
    if (chosen)
        choice->setChecked(true);
    else
        uncheck(choice);
}

void GenericTxWindowSettings::setPortCaption(Port port, const QString &caption)
{
    if (port != Port::User && port != Port::None)
        portChoice(m_ui, port)->setText(caption);
}

QString GenericTxWindowSettings::typedAddress() const
{
    return m_ui.EditH000->text();
}

void GenericTxWindowSettings::setTypedAddress(const QString &address)
{
    m_ui.EditH000->setText(address);
}

LinesKind GenericTxWindowSettings::linesKind() const
{
    if (m_ui.RadioButtonLinesCM108->isChecked())
        return LinesKind::UsbAudio;
    if (m_ui.RadioButtonLinesGPIO->isChecked())
        return LinesKind::GpioChip;
    return LinesKind::ParallelPort;
}

void GenericTxWindowSettings::setLinesKind(LinesKind kind)
{
    QRadioButton *choice = m_ui.RadioButtonLinesLPT;
    if (kind == LinesKind::UsbAudio)
        choice = m_ui.RadioButtonLinesCM108;
    else if (kind == LinesKind::GpioChip)
        choice = m_ui.RadioButtonLinesGPIO;
    choice->setChecked(true);
}

void GenericTxWindowSettings::listDevices(const QList<LinesDiscovery::Device> &found)
{
    QComboBox *list = m_ui.ComboBoxLinesDevice;
    list->clear();
    for (const LinesDiscovery::Device &device : found)
        list->addItem(device.path + QStringLiteral("   ") + device.description, device.path);
}

QString GenericTxWindowSettings::deviceText() const
{
    return m_ui.ComboBoxLinesDevice->currentText();
}

void GenericTxWindowSettings::setDeviceText(const QString &text)
{
    m_ui.ComboBoxLinesDevice->setEditText(text);
}

QString GenericTxWindowSettings::device() const
{
    // An entry of the list carries its description; a typed path is taken as typed.
    const QComboBox *list = m_ui.ComboBoxLinesDevice;
    const int index = list->findText(list->currentText());
    if (index >= 0 && list->itemData(index).isValid())
        return list->itemData(index).toString();
    return list->currentText();
}

void GenericTxWindowSettings::chooseFirstDevice()
{
    if (m_ui.ComboBoxLinesDevice->count() > 0)
        m_ui.ComboBoxLinesDevice->setCurrentIndex(0);
}

QString GenericTxWindowSettings::linesMap() const
{
    return m_ui.EditLinesMap->text();
}

void GenericTxWindowSettings::setLinesMap(const QString &map)
{
    m_ui.EditLinesMap->setText(map);
}

void GenericTxWindowSettings::offerParallelPort(bool parallelPort)
{
    m_ui.GroupBoxLPT->setEnabled(parallelPort);
    m_ui.ComboBoxLinesDevice->setEnabled(!parallelPort);
    m_ui.EditLinesMap->setEnabled(!parallelPort);
}

void GenericTxWindowSettings::focusDevice()
{
    m_ui.ComboBoxLinesDevice->setFocus();
}

void GenericTxWindowSettings::focusMap()
{
    m_ui.EditLinesMap->setFocus();
}
