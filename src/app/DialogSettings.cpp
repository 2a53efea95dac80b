#include "app/DialogSettings.h"

#include "generic_tx/ChannelList.h"
#include "ui/Captions.h"
#include "ui/UnitIP.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitWarning.h"

#include <QHeaderView>

#include <array>

namespace {

// A radio button of an exclusive group cannot be cleared directly.
void uncheck(QRadioButton *button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

} // namespace

bool ServerWindowSettings::connectAtStart() const
{
    return m_form.ui.CheckBoxConnect->isChecked();
}

void ServerWindowSettings::setConnectAtStart(bool on)
{
    m_form.ui.CheckBoxConnect->setChecked(on);
}

bool ServerWindowSettings::reconnect() const
{
    return m_form.ui.CheckBoxReconnect->isChecked();
}

void ServerWindowSettings::setReconnect(bool on)
{
    m_form.ui.CheckBoxReconnect->setChecked(on);
}

AudioChannel ServerWindowSettings::audioChannel() const
{
    if (m_form.ui.RadioButtonLeft->isChecked())
        return AudioChannel::Left;
    return m_form.ui.RadioButtonBoth->isChecked() ? AudioChannel::Both : AudioChannel::Right;
}

void ServerWindowSettings::setAudioChannel(AudioChannel channel)
{
    switch (channel) {
    case AudioChannel::Left:
        m_form.ui.RadioButtonLeft->setChecked(true);
        break;
    case AudioChannel::Right:
        m_form.ui.RadioButtonRight->setChecked(true);
        break;
    case AudioChannel::Both:
        m_form.ui.RadioButtonBoth->setChecked(true);
        break;
    }
}

QStringList ServerWindowSettings::hostParts() const
{
    const Ui::TFormIP &ui = m_form.ui;
    return {ui.EditIP1->text(), ui.EditIP2->text(), ui.EditIP3->text(), ui.EditIP4->text()};
}

void ServerWindowSettings::setHostParts(const QStringList &parts)
{
    const Ui::TFormIP &ui = m_form.ui;
    const std::array<QLineEdit *, 4> edits{ui.EditIP1, ui.EditIP2, ui.EditIP3, ui.EditIP4};
    for (std::size_t n = 0; n < edits.size(); ++n)
        edits[n]->setText(parts.value(qsizetype(n)));
}

QString ServerWindowSettings::portText() const
{
    return m_form.ui.EditPort->text();
}

void ServerWindowSettings::setPortText(const QString &port)
{
    m_form.ui.EditPort->setText(port);
}

int ServerWindowSettings::txTimeoutSeconds() const
{
    return m_form.ui.SpinEditTxTimeout->value();
}

void ServerWindowSettings::setTxTimeoutSeconds(int seconds)
{
    m_form.ui.SpinEditTxTimeout->setValue(seconds);
}

void ServerWindowSettings::showError(const QString &message)
{
    m_form.ui.LabelErreur->setText(message);
}

void ServerWindowSettings::relabel(Language language)
{
    applyCaptions(&m_form, language);
}

bool WarningWindowSettings::accepted() const
{
    return m_ui.CheckBoxWarning->isChecked();
}

void WarningWindowSettings::setAccepted(bool accepted)
{
    m_ui.CheckBoxWarning->setChecked(accepted);
}

namespace {

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

GenericTxSetupWindow::GenericTxSetupWindow(TFormInitTX16 &form) : m_form(form)
{
    QTableWidget *grid = m_form.ui.StringGridTX16MEM;
    grid->setColumnCount(3);
    grid->setRowCount(ChannelList::EntryCount);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->setColumnWidth(0, 34);
    grid->setColumnWidth(1, 150);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
}

void GenericTxSetupWindow::setColumnTitles(const QStringList &titles)
{
    m_form.ui.StringGridTX16MEM->setHorizontalHeaderLabels(titles);
}

QString GenericTxSetupWindow::cell(int row, int column) const
{
    const QTableWidgetItem *item = m_form.ui.StringGridTX16MEM->item(row - 1, column);
    return item ? item->text() : QString();
}

void GenericTxSetupWindow::setCell(int row, int column, const QString &text)
{
    QTableWidget *grid = m_form.ui.StringGridTX16MEM;
    if (QTableWidgetItem *item = grid->item(row - 1, column))
        item->setText(text);
    else
        grid->setItem(row - 1, column, new QTableWidgetItem(text));
}

void GenericTxSetupWindow::lockCell(int row, int column)
{
    if (QTableWidgetItem *item = m_form.ui.StringGridTX16MEM->item(row - 1, column))
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
}

void GenericTxSetupWindow::focusGrid()
{
    m_form.ui.StringGridTX16MEM->setFocus();
}

void GenericTxSetupWindow::focusCell(int row, int column)
{
    m_form.ui.StringGridTX16MEM->setCurrentCell(row - 1, column);
}

void GenericTxSetupWindow::close()
{
    m_form.hide();
}
