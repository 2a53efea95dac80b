#include "ui/RadioPanelView.h"

#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"
#include "ui/UnitTMD700.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>

RadioPanelControls RadioPanelControls::fromForm(TForm1 &window)
{
    Ui::TForm1 &m = window.ui;
    return RadioPanelControls{
        &window,           m.GroupBoxTX,        m.GroupBoxTX16UD,   m.SpeedButtonTXA,
        m.SpeedButtonTXB,  m.SpeedButtonVFOA,   m.SpeedButtonVFOB,  m.SpeedButtonMEMA,
        m.SpeedButtonMEMB, m.SpeedButtonScanA,  m.SpeedButtonScanB, m.SpeedButtonTX,
        m.SpeedButtonInit, m.TrackBarPWRA,      m.TrackBarPWRB,     m.ComboBoxMEM,
        m.EditVFOA,        m.EditVFOB,          m.EditMEMA,         m.EditMEMB,
        m.ImageTXA,        m.ImageTXB,          m.ImageVFOA,        m.ImageVFOB,
        m.ImageMEMA,       m.ImageMEMB,         m.ImageLEDvert,     m.ImageLEDrouge,
        m.ImageLEDOFF,     m.SpeedButtonTX16TX, m.SpeedButtonTX16SC};
}

RadioPanelView::RadioPanelView(const RadioPanelControls &controls, const StationState &station,
                               RadioSelector &radios, RadioRequests &requests, QObject *parent)
    : QObject(parent), m_c(controls), m_station(station), m_radios(radios), m_requests(requests)
{
    // The band, VFO and MEM buttons act on the radio in use when the click's turn comes.
    const std::array<QAbstractButton *, 2> bandButtons{m_c.SpeedButtonTXA, m_c.SpeedButtonTXB};
    const std::array<QAbstractButton *, 2> vfoButtons{m_c.SpeedButtonVFOA, m_c.SpeedButtonVFOB};
    const std::array<QAbstractButton *, 2> memoryButtons{m_c.SpeedButtonMEMA, m_c.SpeedButtonMEMB};
    for (int band : {0, 1}) {
        connect(bandButtons[band], &QAbstractButton::clicked, this,
                [this, band] { bandButtonClicked(&Radio::selectBand, band); });
        connect(vfoButtons[band], &QAbstractButton::clicked, this,
                [this, band] { bandButtonClicked(&Radio::vfoMode, band); });
        connect(memoryButtons[band], &QAbstractButton::clicked, this,
                [this, band] { bandButtonClicked(&Radio::memoryMode, band); });
    }
    // INIT is the radio's own: its wiring runs it; the window keeps the keyboard.
    connect(m_c.SpeedButtonInit, &QAbstractButton::clicked, this, &RadioPanelView::takeKeyboard);
    // Choosing a memory sends nothing; the window takes the keyboard back for the space bar.
    connect(m_c.ComboBoxMEM, &QComboBox::activated, this, &RadioPanelView::takeKeyboard);
    connect(m_c.SpeedButtonTX, &QAbstractButton::clicked, this,
            &RadioPanelView::SpeedButtonTXClick);
    connect(m_c.SpeedButtonScanA, &QAbstractButton::clicked, this, [this] { scanClicked(0); });
    connect(m_c.SpeedButtonScanB, &QAbstractButton::clicked, this, [this] { scanClicked(1); });
    connect(m_c.SpeedButtonTX16TX, &QAbstractButton::clicked, this,
            &RadioPanelView::SpeedButtonTX16TXClick);
    connect(m_c.SpeedButtonTX16SC, &QAbstractButton::clicked, this,
            &RadioPanelView::SpeedButtonTX16SCClick);
    connect(m_c.ComboBoxMEM, &QComboBox::currentIndexChanged, this, &RadioPanelView::memoryChosen);
    connect(m_c.TrackBarPWRA, &QSlider::valueChanged, this, [this](int v) { powerMoved(0, v); });
    connect(m_c.TrackBarPWRB, &QSlider::valueChanged, this, [this](int v) { powerMoved(1, v); });
}

namespace {

// Rewritten only when it changes, so that a repaint leaves the display's cursor alone.
void showText(QLineEdit *display, const QString &text)
{
    if (display->text() != text)
        display->setText(text);
}

void showLamp(QLabel *lamp, const QLabel *picture)
{
    if (lamp->pixmap().cacheKey() != picture->pixmap().cacheKey())
        lamp->setPixmap(picture->pixmap());
}

} // namespace

void RadioPanelView::follow()
{
    if (m_state)
        disconnect(m_state, nullptr, this, nullptr);
    Radio *radio = m_radios.current();
    m_state = radio ? &radio->state() : nullptr;
    m_channels = radio && radio->capabilities().panel == Capabilities::Panel::Channels;
    for (PowerAsked &asked : m_powerAsked)
        asked.position = -1;
    if (m_state) {
        m_operated = operated(*m_state);
        connect(m_state, &RadioState::changed, this, &RadioPanelView::paint);
        paintPanelChoice();
    }
    paint();
}

// The window's title names the model; the radio's panel is shown in the other's place.
void RadioPanelView::paintPanelChoice()
{
    const Radio *radio = m_radios.current();
    m_c.window->setWindowTitle(QStringLiteral("Ivrelane") +
                               (m_channels ? QStringLiteral(" ") : QString()) +
                               m_state->modelLabel() + QLatin1Char('V') + m_station.VersionText);
    if (m_channels) {
        m_c.GroupBoxTX16UD->setGeometry(m_c.GroupBoxTX->geometry());
        m_c.GroupBoxTX->hide();
        m_c.GroupBoxTX16UD->show();
        return;
    }
    const bool scans = radio->capabilities().scanOnCommand;
    m_c.SpeedButtonScanA->setVisible(scans);
    m_c.SpeedButtonScanB->setVisible(scans);
    m_c.GroupBoxTX16UD->hide();
    m_c.GroupBoxTX->show();
}

void RadioPanelView::paint()
{
    if (!m_state)
        return;
    const RadioState &s = *m_state;
    if (m_channels) {
        m_c.SpeedButtonTX16TX->setChecked(s.keyed());
        m_c.SpeedButtonTX16SC->setChecked(s.band(0).scanning);
        return;
    }
    paintTransceiver(s);
    // An operation ran (a click, a DTMF code, the server, the initialisation): as after a
    // click, the window has the keyboard again.
    if (const Operated now = operated(s); now != m_operated) {
        m_operated = now;
        takeKeyboard();
    }
}

RadioPanelView::Operated RadioPanelView::operated(const RadioState &s)
{
    Operated o;
    o.keyed = s.keyed();
    o.panelEnabled = s.panelEnabled();
    o.transmitBand = s.transmitBand();
    for (int band : {0, 1}) {
        o.scanning[band] = s.band(band).scanning;
        o.power[band] = s.band(band).power;
        o.mode[band] = int(s.band(band).mode);
    }
    return o;
}

void RadioPanelView::takeKeyboard()
{
    m_c.window->setFocus(Qt::OtherFocusReason);
}

void RadioPanelView::bandButtonClicked(QCoro::Task<> (Radio::*operation)(int), int band)
{
    m_requests.submit([this, operation, band]() -> QCoro::Task<> {
        if (Radio *radio = m_radios.current())
            co_await (radio->*operation)(band);
        takeKeyboard();
    });
}

void RadioPanelView::paintTransceiver(const RadioState &s)
{
    m_c.GroupBoxTX->setEnabled(s.panelEnabled());
    if (!s.title().isEmpty())
        m_c.GroupBoxTX->setTitle(s.title());
    m_c.ComboBoxMEM->setEnabled(s.memoryListAvailable());
    showMemories(s);
    const std::array<QAbstractButton *, 2> bandButtons{m_c.SpeedButtonTXA, m_c.SpeedButtonTXB};
    const std::array<QAbstractButton *, 2> vfoButtons{m_c.SpeedButtonVFOA, m_c.SpeedButtonVFOB};
    const std::array<QAbstractButton *, 2> memoryButtons{m_c.SpeedButtonMEMA, m_c.SpeedButtonMEMB};
    const std::array<QAbstractButton *, 2> scanButtons{m_c.SpeedButtonScanA, m_c.SpeedButtonScanB};
    const std::array<QSlider *, 2> sliders{m_c.TrackBarPWRA, m_c.TrackBarPWRB};
    const std::array<QLineEdit *, 2> vfoDisplays{m_c.EditVFOA, m_c.EditVFOB};
    const std::array<QLineEdit *, 2> memoryDisplays{m_c.EditMEMA, m_c.EditMEMB};
    for (int band : {0, 1}) {
        const RadioState::Band &b = s.band(band);
        bandButtons[band]->setEnabled(b.selectable);
        vfoButtons[band]->setEnabled(b.selectable);
        memoryButtons[band]->setEnabled(b.selectable && b.memoryAvailable);
        scanButtons[band]->setChecked(b.scanning);
        scanButtons[band]->setEnabled(b.scanAvailable);
        sliders[band]->setEnabled(b.powerAvailable);
        // A position that waits for its turn stays where the operator put it.
        const int power = m_powerAsked[band].position >= 0 ? m_powerAsked[band].position : b.power;
        if (sliders[band]->value() != power) {
            const QSignalBlocker blocker(sliders[band]);
            sliders[band]->setValue(power);
            m_powerShown[band] = true;
        }
        showText(vfoDisplays[band], b.vfoText);
        showText(memoryDisplays[band], b.memoryText);
        using Mode = RadioState::Mode;
        const std::array<QLabel *, 2> transmitLamps{m_c.ImageTXA, m_c.ImageTXB};
        const std::array<QLabel *, 2> vfoLamps{m_c.ImageVFOA, m_c.ImageVFOB};
        const std::array<QLabel *, 2> memoryLamps{m_c.ImageMEMA, m_c.ImageMEMB};
        showLamp(transmitLamps[band],
                 s.transmitBand() == band ? m_c.ImageLEDrouge : m_c.ImageLEDOFF);
        showLamp(vfoLamps[band], b.mode == Mode::Vfo ? m_c.ImageLEDvert : m_c.ImageLEDOFF);
        showLamp(memoryLamps[band], b.mode == Mode::Memory ? m_c.ImageLEDvert : m_c.ImageLEDOFF);
    }
    m_c.SpeedButtonTX->setChecked(s.keyed());
    m_c.SpeedButtonTX->setEnabled(s.transmitAvailable());
}

void RadioPanelView::showMemories(const RadioState &s)
{
    const QScopedValueRollback painting(m_painting, true);
    showEntries(m_c.ComboBoxMEM, s);
}

void RadioPanelView::showEntries(QComboBox *list, const RadioState &s)
{
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    if (shown != s.memories()) {
        list->clear();
        list->addItems(s.memories());
    }
    if (list->currentIndex() != s.currentMemory())
        list->setCurrentIndex(s.currentMemory());
}

std::optional<int> RadioPanelView::shownPower(int band) const
{
    if (!m_powerShown[band])
        return std::nullopt;
    return (band == 0 ? m_c.TrackBarPWRA : m_c.TrackBarPWRB)->value();
}

void RadioPanelView::powerMoved(int band, int position)
{
    m_powerShown[band] = true;
    if (Radio *radio = m_radios.current()) {
        PowerAsked &asked = m_powerAsked[band];
        asked.position = position;
        const int number = ++asked.number;
        m_requests.submit([this, radio, band, position, number] {
            // The radio's state shows it from now on, a refusal included.
            if (m_powerAsked[band].number == number) {
                m_powerAsked[band].position = -1;
                paint();
            }
            return radio->setPower(band, position);
        });
    }
    paint();
}

void RadioPanelView::memoryChosen(int index)
{
    if (m_painting || !m_state)
        return;
    m_state->setCurrentMemory(index);
}

void RadioPanelView::SpeedButtonTXClick()
{
    transmitClicked(m_c.SpeedButtonTX->isChecked());
    takeKeyboard();
}

void RadioPanelView::scanClicked(int band)
{
    QAbstractButton *button = band == 1 ? m_c.SpeedButtonScanB : m_c.SpeedButtonScanA;
    scanAsked(band, button->isChecked());
    takeKeyboard();
}

void RadioPanelView::SpeedButtonTX16TXClick()
{
    transmitClicked(m_c.SpeedButtonTX16TX->isChecked());
}

void RadioPanelView::SpeedButtonTX16SCClick()
{
    scanAsked(0, m_c.SpeedButtonTX16SC->isChecked());
}

// The toggle shows the radio's keying again at once: a keying that waits for its turn shows once
// it is done.
void RadioPanelView::transmitClicked(bool on)
{
    if (Radio *radio = m_radios.current()) {
        auto request = [radio, on] { return radio->setTransmit(on); };
        if (on)
            m_requests.submitKey(request);
        else
            m_requests.submitUnkey(request);
    }
    paint();
}

void RadioPanelView::scanAsked(int band, bool on)
{
    if (Radio *radio = m_radios.current())
        m_requests.submit([radio, band, on] { return radio->setScan(band, on); });
    paint();
}
