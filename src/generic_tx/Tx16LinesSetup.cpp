#include "generic_tx/Tx16LinesSetup.h"

#include "core/Notifier.h"
#include "generic_tx/LinesDiscovery.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <utility>

Tx16LinesSetup::Tx16LinesSetup(LineSettings &settings, Notifier &notifier,
                               std::function<Language()> language, const Tx16LinesWidgets &widgets,
                               QObject *parent)
    : QObject(parent), m_settings(settings), m_notifier(notifier), m_language(std::move(language)),
      m_w(widgets)
{
    for (QRadioButton *choice :
         {m_w.RadioButtonLinesLPT, m_w.RadioButtonLinesCM108, m_w.RadioButtonLinesGPIO})
        connect(choice, &QRadioButton::clicked, this, &Tx16LinesSetup::kindChosen);
}

void Tx16LinesSetup::FormShow()
{
    QRadioButton *choice = m_w.RadioButtonLinesLPT;
    if (m_settings.kind == LinesKind::UsbAudio)
        choice = m_w.RadioButtonLinesCM108;
    else if (m_settings.kind == LinesKind::GpioChip)
        choice = m_w.RadioButtonLinesGPIO;
    choice->setChecked(true);
    listDevices(m_settings.kind);
    m_w.ComboBoxLinesDevice->setEditText(m_settings.device);
    m_w.EditLinesMap->setText(m_settings.map);
    m_shownKind = m_settings.kind;
    kindChosen();
}

LinesKind Tx16LinesSetup::chosenKind() const
{
    if (m_w.RadioButtonLinesCM108->isChecked())
        return LinesKind::UsbAudio;
    if (m_w.RadioButtonLinesGPIO->isChecked())
        return LinesKind::GpioChip;
    return LinesKind::ParallelPort;
}

bool Tx16LinesSetup::confirm()
{
    const LinesKind kind = chosenKind();
    const std::optional<QString> device = LineConfig::deviceSetting(chosenDevice());
    if (!device) {
        m_notifier.warning(messageText(m_language(), MessageId::LinesDeviceMissing));
        m_w.ComboBoxLinesDevice->setFocus();
        return false;
    }
    const QString map = m_w.EditLinesMap->text().trimmed();
    if (!LineConfig::parseMap(kind, map)) {
        m_notifier.warning(messageText(m_language(), MessageId::LinesMapError));
        m_w.EditLinesMap->setFocus();
        return false;
    }
    m_settings = LineSettings{kind, *device, map};
    return true;
}

bool Tx16LinesSetup::confirmParallelPort()
{
    return std::exchange(m_settings.kind, LinesKind::ParallelPort) != LinesKind::ParallelPort;
}

void Tx16LinesSetup::kindChosen()
{
    const LinesKind kind = chosenKind();
    const bool parallelPort = kind == LinesKind::ParallelPort;
    m_w.GroupBoxLPT->setEnabled(parallelPort);
    m_w.ComboBoxLinesDevice->setEnabled(!parallelPort);
    m_w.EditLinesMap->setEnabled(!parallelPort);
    if (parallelPort) {
        m_shownKind = kind;
        return;
    }
    // A device of the other kind means nothing here.
    const QString typed = kind == m_shownKind ? m_w.ComboBoxLinesDevice->currentText() : QString();
    m_shownKind = kind;
    listDevices(kind);
    m_w.ComboBoxLinesDevice->setEditText(typed);
    // A map written for the other kind of device means nothing on this one.
    if (!LineConfig::parseMap(kind, m_w.EditLinesMap->text().trimmed()))
        m_w.EditLinesMap->setText(LineConfig::defaultMap(kind));
    if (typed.isEmpty() && m_w.ComboBoxLinesDevice->count() > 0)
        m_w.ComboBoxLinesDevice->setCurrentIndex(0);
}

void Tx16LinesSetup::listDevices(LinesKind kind)
{
    QComboBox *list = m_w.ComboBoxLinesDevice;
    list->clear();
    QList<LinesDiscovery::Device> found;
    if (kind == LinesKind::UsbAudio)
        found = LinesDiscovery::usbAudioInterfaces(hidrawRoot, devRoot);
    else if (kind == LinesKind::GpioChip)
        found = LinesDiscovery::gpioChips(devRoot);
    for (const LinesDiscovery::Device &device : found)
        list->addItem(device.path + QStringLiteral("   ") + device.description, device.path);
}

QString Tx16LinesSetup::chosenDevice() const
{
    // An entry of the list carries its description; a typed path is taken as typed.
    const QComboBox *list = m_w.ComboBoxLinesDevice;
    const int index = list->findText(list->currentText());
    if (index >= 0 && list->itemData(index).isValid())
        return list->itemData(index).toString();
    return list->currentText();
}
